// A model condition as a value: exact-name and fixed-length prefix tests on
// the model key, combined with any-of, all-of and not. The caption tables
// and the availability lists are written with these, so every model
// decision reads as data and is evaluated by one function.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kt::catalogue {

class ModelCondition {
public:
    // The key equals name in full (case-sensitive, no trimming).
    static ModelCondition exact(std::string_view name);
    // The first name.size() characters of the key equal name; a shorter
    // key fails.
    static ModelCondition prefix(std::string_view name);
    static ModelCondition anyOf(std::initializer_list<ModelCondition> parts);
    static ModelCondition allOf(std::initializer_list<ModelCondition> parts);
    // Holds for every key: the fallback row of a decision list.
    static ModelCondition always();

    bool matches(std::string_view modelKey) const;

    ModelCondition operator!() const;
    friend ModelCondition operator||(const ModelCondition &a, const ModelCondition &b);
    friend ModelCondition operator&&(const ModelCondition &a, const ModelCondition &b);

private:
    enum class Kind { Exact, Prefix, AnyOf, AllOf, Not, Always };
    ModelCondition(Kind kind, std::string name, std::vector<ModelCondition> parts);

    Kind kind_;
    std::string name_;
    std::vector<ModelCondition> parts_;
};

// Short forms for the tables.
inline ModelCondition exact(std::string_view name) { return ModelCondition::exact(name); }
inline ModelCondition prefix(std::string_view name) { return ModelCondition::prefix(name); }
inline ModelCondition anyOf(std::initializer_list<ModelCondition> parts)
{
    return ModelCondition::anyOf(parts);
}
// None of the parts holds.
inline ModelCondition noneOf(std::initializer_list<ModelCondition> parts)
{
    return !ModelCondition::anyOf(parts);
}
inline ModelCondition anyOtherModel() { return ModelCondition::always(); }

} // namespace kt::catalogue
