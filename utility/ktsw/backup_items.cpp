#include "backup_items.h"

#include <span>

#include "catalogue/availability.h"
#include "catalogue/models.h"
#include "protocol/encoders.h"
#include "protocol/language_lists.h"
#include "protocol/reply_rules.h"
#include "protocol/text_rules.h"

namespace kt::ktsw {
namespace {

using protocol::Query;
using protocol::Setting;

// A number setting's reply: a plain decimal number of at most three digits.
std::optional<int> plainNumber(std::string_view reply)
{
    const std::string_view text = protocol::trimPadding(reply);
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != text.npos)
        return std::nullopt;
    return std::stoi(std::string(text));
}

// The list item whose number field (its first `width` characters, blanks
// trimmed) is the value; the number itself when none is.
std::string listItem(std::span<const std::string_view> items, std::size_t width, int value)
{
    std::string number = std::to_string(value);
    for (std::string_view item : items)
        if (protocol::trimBlanks(protocol::leftChars(item, width)) == number)
            return std::string(item);
    return number;
}

protocol::Bytes digits(int value) { return protocol::fixedField(std::to_string(value), 3); }

} // namespace

const std::vector<BackupItem> &backupItems()
{
    static const std::vector<BackupItem> items{
        {"switch_1", "soft switch 1", Query::SW1, Setting::SW1, 1},
        {"switch_2", "soft switch 2", Query::SW2, Setting::SW2, 2},
        {"switch_3", "soft switch 3", Query::SW3, Setting::SW3, 3},
        {"switch_4", "soft switch 4", Query::SW4, Setting::SW4, 4},
        {"code_page", "code page", Query::Language3, Setting::CodePage},
        {"code_page_name", "code page name", Query::Language1, Setting::CodePageName},
        {"charset", "character set", Query::Language4, Setting::InterChars},
        {"density", "density", Query::Language5, Setting::Density},
        {"font_8x16", "new 8x16 font", Query::Language6, Setting::New8x16},
        {"thai_pass", "Thai pass", Query::Language7, Setting::ThaiPass},
    };
    return items;
}

const BackupItem *findBackupItem(std::string_view key)
{
    for (const BackupItem &item : backupItems())
        if (item.key == key)
            return &item;
    return nullptr;
}

bool modelHas(const BackupItem &item, std::string_view model)
{
    if (item.switchNo > 0)
        return catalogue::switchChangeable(item.switchNo, model);
    if (item.setting == Setting::Density)
        return catalogue::queriesDensity(model);
    if (item.setting == Setting::ThaiPass)
        return catalogue::hasThaiFontPass(model);
    return true;
}

std::optional<SettingValue> valueOfReply(const BackupItem &item, std::string_view reply)
{
    if (item.switchNo > 0) {
        const auto value = protocol::switchValue(reply);
        return value ? std::optional<SettingValue>(*value) : std::nullopt;
    }
    switch (item.setting) {
    case Setting::CodePageName: return std::string(protocol::trimPadding(reply));
    case Setting::New8x16: return protocol::new8x16On(reply);
    default: break;
    }
    const auto value = plainNumber(reply);
    return value ? std::optional<SettingValue>(*value) : std::nullopt;
}

protocol::Command writeFor(const BackupItem &item, const SettingValue &value)
{
    if (item.switchNo > 0)
        return protocol::writeCommand(item.setting,
                                      protocol::encodeSwitchByte(std::get<int>(value)));
    switch (item.setting) {
    case Setting::CodePageName: {
        const std::string &name = std::get<std::string>(value);
        return protocol::writeCommand(item.setting, protocol::fixedField(name, name.size()));
    }
    case Setting::New8x16:
        return protocol::writeCommand(
            item.setting, protocol::encodeNew8x16(protocol::kNew8x16Items[std::get<bool>(value)]));
    default: return protocol::writeCommand(item.setting, digits(std::get<int>(value)));
    }
}

std::string shownValue(const BackupItem &item, const SettingValue &value)
{
    if (const bool *on = std::get_if<bool>(&value))
        return *on ? "ON" : "OFF";
    if (const std::string *text = std::get_if<std::string>(&value))
        return displayText(*text);
    const int n = std::get<int>(value);
    switch (item.setting) {
    case Setting::CodePage: return listItem(protocol::kCodePageItems, 3, n);
    case Setting::InterChars: return listItem(protocol::kInterCharsItems, 2, n);
    case Setting::Density: return listItem(protocol::kDensityItems, 2, n);
    case Setting::ThaiPass:
        return std::string(
            protocol::thaiPassCaption(std::to_string(n)).value_or(std::to_string(n)));
    default: return std::to_string(n);
    }
}

Json jsonOf(const SettingValue &value)
{
    return std::visit([](const auto &v) { return Json(v); }, value);
}

} // namespace kt::ktsw
