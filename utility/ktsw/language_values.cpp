#include "language_values.h"

#include <algorithm>
#include <span>
#include <utility>

#include "protocol/encoders.h"
#include "protocol/language_lists.h"
#include "protocol/reply_rules.h"
#include "protocol/text_rules.h"

namespace kt::ktsw {
namespace {

using protocol::Query;
using protocol::Setting;

// The index of the item whose number field (its first `width` characters,
// blanks trimmed) is `number`.
std::optional<std::size_t> itemIndex(std::span<const std::string_view> items, std::size_t width,
                                     int number)
{
    const std::string wanted = std::to_string(number);
    for (std::size_t i = 0; i < items.size(); ++i)
        if (protocol::trimBlanks(protocol::leftChars(items[i], width)) == wanted)
            return i;
    return std::nullopt;
}

std::string numbers(std::span<const std::string_view> items, std::size_t width)
{
    std::string out;
    for (std::string_view item : items)
        out += (out.empty() ? "" : ", ")
            + std::string(protocol::trimBlanks(protocol::leftChars(item, width)));
    return out;
}

std::string textOf(const protocol::Bytes &bytes)
{
    std::string s(bytes.begin(), bytes.end());
    return s.substr(0, s.find('\0'));
}

// A read-back passes when its value, padding trimmed, is exactly `wanted`.
std::function<bool(const std::string &)> equalTo(std::string wanted)
{
    return [wanted = std::move(wanted)](const std::string &value) {
        return protocol::trimPadding(value) == wanted;
    };
}

} // namespace

std::string allowedCodePages() { return numbers(protocol::kCodePageItems, 3); }
std::string allowedCharsets() { return numbers(protocol::kInterCharsItems, 2); }

Result<std::vector<LanguageWrite>> planLanguageWrites(const LanguageChoice &c)
{
    std::vector<LanguageWrite> writes;
    if (c.codePage) {
        const auto i = itemIndex(protocol::kCodePageItems, 3, *c.codePage);
        if (!i)
            return Failure{kExitUsage,
                           "code page " + std::to_string(*c.codePage) + " is not one of "
                               + allowedCodePages()};
        const std::string_view page = protocol::kCodePageItems[*i];
        const std::string_view name = protocol::kCodePageNameItems[*i];
        const protocol::Bytes pageData = protocol::encodeCodePage(page);
        const protocol::Bytes nameData = protocol::encodeCodePageName(name);
        writes.push_back({"code page", Query::Language3,
                          protocol::writeCommand(Setting::CodePage, pageData), textOf(pageData),
                          equalTo(textOf(pageData))});
        writes.push_back({"code page name", Query::Language1,
                          protocol::writeCommand(Setting::CodePageName, nameData), textOf(nameData),
                          equalTo(textOf(nameData)), protocol::kCodePageNamePauseMs});
    }
    if (c.charset) {
        const auto i = itemIndex(protocol::kInterCharsItems, 2, *c.charset);
        if (!i)
            return Failure{kExitUsage,
                           "character set " + std::to_string(*c.charset) + " is not one of "
                               + allowedCharsets()};
        const protocol::Bytes data = protocol::encodeInterChars(protocol::kInterCharsItems[*i]);
        writes.push_back({"character set", Query::Language4,
                          protocol::writeCommand(Setting::InterChars, data), textOf(data),
                          equalTo(textOf(data))});
    }
    if (c.density) {
        const auto i = itemIndex(protocol::kDensityItems, 2, *c.density);
        if (!i)
            return Failure{kExitUsage,
                           "density " + std::to_string(*c.density) + " is not one of 0, 1, 2"};
        const protocol::Bytes data = protocol::encodeDensity(protocol::kDensityItems[*i]);
        writes.push_back({"density", Query::Language5,
                          protocol::writeCommand(Setting::Density, data), textOf(data),
                          equalTo(textOf(data))});
    }
    if (c.font8x16) {
        const bool on = *c.font8x16;
        const protocol::Bytes data = protocol::encodeNew8x16(protocol::kNew8x16Items[on ? 1 : 0]);
        writes.push_back(
            {"new 8x16 font", Query::Language6, protocol::writeCommand(Setting::New8x16, data),
             on ? "ON" : "OFF",
             [on](const std::string &value) { return protocol::new8x16On(value) == on; }});
    }
    if (c.thaiPass) {
        if (*c.thaiPass != 1 && *c.thaiPass != 3)
            return Failure{kExitUsage,
                           "Thai pass " + std::to_string(*c.thaiPass) + " is not 1 or 3"};
        const std::string_view item = protocol::kThaiItems[*c.thaiPass == 1 ? 0 : 1];
        const protocol::Bytes data = protocol::encodeThaiPass(item);
        const std::string caption = *c.thaiPass == 1 ? "1 Pass" : "3 Pass";
        writes.push_back({"Thai pass", Query::Language7,
                          protocol::writeCommand(Setting::ThaiPass, data), caption,
                          [caption](const std::string &value) {
                              return protocol::thaiPassCaption(value) == caption;
                          },
                          0,
                          [](const std::string &value) {
                              return std::string(protocol::thaiPassCaption(value).value_or(value));
                          }});
    }
    return writes;
}

} // namespace kt::ktsw
