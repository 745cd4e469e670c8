#include "settings_backup.h"

#include <cctype>
#include <fstream>

#include <nlohmann/json.hpp>

namespace kt::backup {
namespace {

using Json = nlohmann::json;

constexpr std::size_t kMaxIdentityText = 64;
constexpr std::size_t kMaxCodePageName = 20;

[[noreturn]] void refuse(const std::string &why) { throw BackupError(why); }

// The whole-number settings, with the largest value that can be written
// back (the write commands carry three, two or one decimal digits).
struct NumberItem {
    const char *key;
    int max;
    std::optional<int> &(*field)(Settings &);
};

constexpr NumberItem kNumbers[] = {
    {"switch_1", 255, [](Settings &s) -> std::optional<int> & { return s.switches[0]; }},
    {"switch_2", 255, [](Settings &s) -> std::optional<int> & { return s.switches[1]; }},
    {"switch_3", 255, [](Settings &s) -> std::optional<int> & { return s.switches[2]; }},
    {"switch_4", 255, [](Settings &s) -> std::optional<int> & { return s.switches[3]; }},
    {"code_page", 255, [](Settings &s) -> std::optional<int> & { return s.codePage; }},
    {"charset", 99, [](Settings &s) -> std::optional<int> & { return s.charset; }},
    {"density", 9, [](Settings &s) -> std::optional<int> & { return s.density; }},
    {"thai_pass", 255, [](Settings &s) -> std::optional<int> & { return s.thaiPass; }},
};

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

const Json &objectAt(const Json &doc, const char *key)
{
    const auto it = doc.find(key);
    if (it == doc.end() || !it->is_object())
        refuse(std::string("not a backup: it has no \"") + key + "\" object");
    return *it;
}

std::string text(const Json &value, const std::string &where, std::size_t maxLength)
{
    if (!value.is_string())
        refuse(where + " is not a text");
    const auto s = value.get<std::string>();
    if (s.size() > maxLength)
        refuse(where + " is longer than " + std::to_string(maxLength) + " characters");
    for (unsigned char c : s)
        if (c < 0x20 || c == 0x7F)
            refuse(where + " holds a control character");
    return s;
}

int number(const Json &value, const std::string &where, int max)
{
    if (!value.is_number_integer())
        refuse(where + " is not a whole number");
    const auto n = value.get<std::int64_t>();
    if (n < 0 || n > max)
        refuse(where + " is " + std::to_string(n) + ", outside 0.." + std::to_string(max));
    return static_cast<int>(n);
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

} // namespace

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
    if (created == doc.end() || !created->is_string() || !isIso8601(created->get<std::string>()))
        refuse("not a backup: \"created\" is not an ISO 8601 time");
    b.created = created->get<std::string>();

    const Json &printer = objectAt(doc, "printer");
    for (const auto &item : kIdentity)
        if (const auto it = printer.find(item.key); it != printer.end())
            b.printer.*item.field = text(*it, std::string("printer.") + item.key, kMaxIdentityText);

    const Json &settings = objectAt(doc, "settings");
    for (const auto &item : kNumbers)
        if (const auto it = settings.find(item.key); it != settings.end())
            item.field(b.settings) = number(*it, std::string("settings.") + item.key, item.max);
    if (const auto it = settings.find("code_page_name"); it != settings.end())
        b.settings.codePageName = text(*it, "settings.code_page_name", kMaxCodePageName);
    if (const auto it = settings.find("font_8x16"); it != settings.end()) {
        if (!it->is_boolean())
            refuse("settings.font_8x16 is not true or false");
        b.settings.font8x16 = it->get<bool>();
    }
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
    Json printer = Json::object();
    for (const auto &item : kIdentity)
        if (const auto &v = b.printer.*item.field)
            printer[item.key] = *v;
    Json settings = Json::object();
    Settings s = b.settings;
    for (const auto &item : kNumbers)
        if (const auto &v = item.field(s))
            settings[item.key] = *v;
    if (s.codePageName)
        settings["code_page_name"] = *s.codePageName;
    if (s.font8x16)
        settings["font_8x16"] = *s.font8x16;
    Json doc = {{"format", b.format}, {"created", b.created}};
    doc["printer"] = printer;
    doc["settings"] = settings;
    return doc.dump(2) + "\n";
}

} // namespace kt::backup
