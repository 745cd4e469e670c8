#include "catalogue/model_condition.h"

#include <algorithm>
#include <utility>

namespace kt::catalogue {

ModelCondition::ModelCondition(Kind kind, std::string name, std::vector<ModelCondition> parts)
    : kind_(kind), name_(std::move(name)), parts_(std::move(parts))
{ }

ModelCondition ModelCondition::exact(std::string_view name)
{
    return {Kind::Exact, std::string(name), {}};
}

ModelCondition ModelCondition::prefix(std::string_view name)
{
    return {Kind::Prefix, std::string(name), {}};
}

ModelCondition ModelCondition::anyOf(std::initializer_list<ModelCondition> parts)
{
    return {Kind::AnyOf, {}, std::vector<ModelCondition>(parts)};
}

ModelCondition ModelCondition::allOf(std::initializer_list<ModelCondition> parts)
{
    return {Kind::AllOf, {}, std::vector<ModelCondition>(parts)};
}

ModelCondition ModelCondition::always() { return {Kind::Always, {}, {}}; }

ModelCondition ModelCondition::operator!() const { return {Kind::Not, {}, {*this}}; }

ModelCondition operator||(const ModelCondition &a, const ModelCondition &b)
{
    return ModelCondition::anyOf({a, b});
}

ModelCondition operator&&(const ModelCondition &a, const ModelCondition &b)
{
    return ModelCondition::allOf({a, b});
}

bool ModelCondition::matches(std::string_view modelKey) const
{
    const auto holds = [modelKey](const ModelCondition &c) { return c.matches(modelKey); };
    switch (kind_) {
    case Kind::Exact: return modelKey == name_;
    case Kind::Prefix: return modelKey.starts_with(name_);
    case Kind::AnyOf: return std::any_of(parts_.begin(), parts_.end(), holds);
    case Kind::AllOf: return std::all_of(parts_.begin(), parts_.end(), holds);
    case Kind::Not: return !parts_.front().matches(modelKey);
    case Kind::Always: return true;
    }
    return false;
}

} // namespace kt::catalogue
