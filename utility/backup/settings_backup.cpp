#include "settings_backup.h"

#include <cctype>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <fstream>

#include <nlohmann/json.hpp>

#include "atomic_write.h"

namespace kt::backup {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::size_t kMaxIdentityText = 64;

[[noreturn]] void refuse(const std::string &why) { throw BackupError(why); }

template <class... F> struct Overloaded : F... {
    using F::operator()...;
};
// clang 14 deduces no aggregate's template arguments by itself.
template <class... F> Overloaded(F...) -> Overloaded<F...>;

// Where a setting lives in Settings: a whole number, a text or a flag.
using FieldRef
    = std::variant<std::optional<int> *, std::optional<std::string> *, std::optional<bool> *>;

// Every setting with its key and its limit: the largest number that can be
// written back (the write commands carry three, two or one decimal digits),
// or the longest text.
struct Item {
    std::string_view key;
    int limit;
    FieldRef (*field)(Settings &);
};

constexpr Item kItems[] = {
    {"switch_1", 255, [](Settings &s) -> FieldRef { return &s.switches[0]; }},
    {"switch_2", 255, [](Settings &s) -> FieldRef { return &s.switches[1]; }},
    {"switch_3", 255, [](Settings &s) -> FieldRef { return &s.switches[2]; }},
    {"switch_4", 255, [](Settings &s) -> FieldRef { return &s.switches[3]; }},
    {"code_page", 255, [](Settings &s) -> FieldRef { return &s.codePage; }},
    {"code_page_name", 20, [](Settings &s) -> FieldRef { return &s.codePageName; }},
    {"charset", 99, [](Settings &s) -> FieldRef { return &s.charset; }},
    {"density", 9, [](Settings &s) -> FieldRef { return &s.density; }},
    {"font_8x16", 0, [](Settings &s) -> FieldRef { return &s.font8x16; }},
    {"thai_pass", 255, [](Settings &s) -> FieldRef { return &s.thaiPass; }},
};

const Item *findItem(std::string_view key)
{
    for (const Item &item : kItems)
        if (item.key == key)
            return &item;
    return nullptr;
}

struct IdentityItem {
    const char *key;
    std::optional<std::string> Identity::*field;
};

constexpr IdentityItem kIdentity[] = {
    {"maker", &Identity::maker},
    {"model", &Identity::model},
    {"firmware", &Identity::firmware},
    {"serial_number", &Identity::serialNumber},
};

void checkText(const std::string &s, const std::string &where, std::size_t maxLength)
{
    if (s.size() > maxLength)
        refuse(where + " is longer than " + std::to_string(maxLength) + " characters");
    for (unsigned char c : s)
        if (c < 0x20 || c == 0x7F)
            refuse(where + " holds a control character");
}

void checkNumber(std::int64_t n, const std::string &where, int max)
{
    if (n < 0 || n > max)
        refuse(where + " is " + std::to_string(n) + ", outside 0.." + std::to_string(max));
}

std::string text(const Json &value, const std::string &where, std::size_t maxLength)
{
    if (!value.is_string())
        refuse(where + " is not a text");
    auto s = value.get<std::string>();
    checkText(s, where, maxLength);
    return s;
}

// The JSON value of a setting as the kind its field holds.
SettingValue fromJson(const Item &item, const Json &value)
{
    const std::string where = "settings." + std::string(item.key);
    Settings probe;
    return std::visit(Overloaded{[&](std::optional<int> *) -> SettingValue {
                                     if (!value.is_number_integer())
                                         refuse(where + " is not a whole number");
                                     const auto n = value.get<std::int64_t>();
                                     checkNumber(n, where, item.limit);
                                     return static_cast<int>(n);
                                 },
                                 [&](std::optional<std::string> *) -> SettingValue {
                                     if (!value.is_string())
                                         refuse(where + " is not a text");
                                     return value.get<std::string>();
                                 },
                                 [&](std::optional<bool> *) -> SettingValue {
                                     if (!value.is_boolean())
                                         refuse(where + " is not true or false");
                                     return value.get<bool>();
                                 }},
                      item.field(probe));
}

bool twoDigits(std::string_view s, std::size_t at, int max)
{
    if (!std::isdigit(static_cast<unsigned char>(s[at]))
        || !std::isdigit(static_cast<unsigned char>(s[at + 1])))
        return false;
    return (s[at] - '0') * 10 + (s[at + 1] - '0') <= max;
}

// YYYY-MM-DDTHH:MM:SS, then anything printable (fractions, a zone).
bool isIso8601(std::string_view s)
{
    if (s.size() < 19 || s[4] != '-' || s[7] != '-' || (s[10] != 'T' && s[10] != ' ')
        || s[13] != ':' || s[16] != ':')
        return false;
    for (std::size_t i = 0; i < 4; ++i)
        if (!std::isdigit(static_cast<unsigned char>(s[i])))
            return false;
    return twoDigits(s, 5, 12) && s.substr(5, 2) != "00" && twoDigits(s, 8, 31)
        && s.substr(8, 2) != "00" && twoDigits(s, 11, 23) && twoDigits(s, 14, 59)
        && twoDigits(s, 17, 60);
}

void checkCreated(const std::string &created)
{
    if (!isIso8601(created))
        refuse("not a backup: \"created\" is not an ISO 8601 time");
}

Json parseJson(std::string_view json)
{
    if (json.find_first_not_of(" \t\r\n") == std::string_view::npos)
        refuse("not a backup: the document is empty");
    try {
        return Json::parse(json);
    } catch (const Json::parse_error &e) {
        if (e.byte > json.size())
            refuse("the backup is truncated: it ends in the middle of the document");
        refuse("not a backup: not a JSON document (" + std::string(e.what()) + ")");
    }
}

const Json &objectAt(const Json &doc, const char *key)
{
    const auto it = doc.find(key);
    if (it == doc.end() || !it->is_object())
        refuse(std::string("not a backup: it has no \"") + key + "\" object");
    return *it;
}

} // namespace

const std::vector<std::string_view> &settingKeys()
{
    static const std::vector<std::string_view> keys = [] {
        std::vector<std::string_view> k;
        for (const Item &item : kItems)
            k.push_back(item.key);
        return k;
    }();
    return keys;
}

std::optional<SettingValue> settingValue(const Settings &settings, std::string_view key)
{
    const Item *item = findItem(key);
    if (!item)
        return std::nullopt;
    Settings copy = settings;
    return std::visit(
        [](auto *field) -> std::optional<SettingValue> {
            if (!*field)
                return std::nullopt;
            return SettingValue(**field);
        },
        item->field(copy));
}

void setSettingValue(Settings &settings, std::string_view key, std::optional<SettingValue> value)
{
    const Item *item = findItem(key);
    if (!item)
        refuse("no setting is called \"" + std::string(key) + "\"");
    const std::string where = "settings." + std::string(key);
    std::visit(
        [&](auto *field) {
            using T = typename std::remove_pointer_t<decltype(field)>::value_type;
            if (!value) {
                field->reset();
                return;
            }
            const T *v = std::get_if<T>(&*value);
            if (!v)
                refuse(where
                       + (std::is_same_v<T, int>               ? " is not a whole number"
                              : std::is_same_v<T, std::string> ? " is not a text"
                                                               : " is not true or false"));
            if constexpr (std::is_same_v<T, int>)
                checkNumber(*v, where, item->limit);
            if constexpr (std::is_same_v<T, std::string>)
                checkText(*v, where, static_cast<std::size_t>(item->limit));
            *field = *v;
        },
        item->field(settings));
}

Backup parseBackup(std::string_view json)
{
    const Json doc = parseJson(json);
    if (!doc.is_object())
        refuse("not a backup: the document is not a JSON object");
    const auto format = doc.find("format");
    if (format == doc.end() || !format->is_number_integer())
        refuse("not a backup: it has no format number");
    Backup b;
    const auto version = format->get<std::int64_t>();
    if (version > kFormat)
        refuse("the backup has format " + std::to_string(version)
               + ", newer than the format 1 this program reads");
    if (version < kFormat)
        refuse("not a backup: unknown format " + std::to_string(version));
    const auto created = doc.find("created");
    if (created == doc.end() || !created->is_string())
        refuse("not a backup: \"created\" is not an ISO 8601 time");
    b.created = created->get<std::string>();
    checkCreated(b.created);

    const Json &printer = objectAt(doc, "printer");
    for (const auto &item : kIdentity)
        if (const auto it = printer.find(item.key); it != printer.end())
            b.printer.*item.field = text(*it, std::string("printer.") + item.key, kMaxIdentityText);

    // Keys of later formats' settings are left to them.
    const Json &settings = objectAt(doc, "settings");
    for (const Item &item : kItems)
        if (const auto it = settings.find(item.key); it != settings.end())
            setSettingValue(b.settings, item.key, fromJson(item, *it));
    return b;
}

Backup readBackupFile(const std::filesystem::path &path)
{
    const auto fail = [&path](const std::string &why) -> BackupError {
        return BackupError(path.string() + ": " + why);
    };
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status))
        throw fail("no such file");
    if (!std::filesystem::is_regular_file(status))
        throw fail("not a regular file");
    const auto size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxFileBytes)
        throw fail("larger than a backup can be");
    std::ifstream in(path, std::ios::binary);
    std::string content(static_cast<std::size_t>(size), '\0');
    if (!in || !in.read(content.data(), static_cast<std::streamsize>(size)))
        throw fail("cannot be read");
    try {
        return parseBackup(content);
    } catch (const BackupError &e) {
        throw fail(e.what());
    }
}

std::string formatBackup(const Backup &b)
{
    checkCreated(b.created);
    Json printer = Json::object();
    for (const auto &item : kIdentity)
        if (const auto &v = b.printer.*item.field) {
            checkText(*v, std::string("printer.") + item.key, kMaxIdentityText);
            printer[item.key] = *v;
        }
    Json settings = Json::object();
    Settings checked;
    for (const Item &item : kItems)
        if (auto v = settingValue(b.settings, item.key)) {
            setSettingValue(checked, item.key, v);
            std::visit([&](const auto &x) { settings[std::string(item.key)] = x; }, *v);
        }
    Json doc = {{"format", b.format}, {"created", b.created}};
    doc["printer"] = printer;
    doc["settings"] = settings;
    return doc.dump(2) + "\n";
}

void writeBackupFile(const std::filesystem::path &path, const Backup &backup)
{
    const std::string document = formatBackup(backup);
    if (const auto failed = writeAtomically(path, document))
        throw BackupError(*failed);
}

std::string currentTime()
{
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

} // namespace kt::backup
