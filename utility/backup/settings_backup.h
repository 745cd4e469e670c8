// A printer's settings backup: one JSON document with the printer's
// identity and every writable setting it answered.
//
//   {"format": 1, "created": "2024-05-01T10:00:00Z",
//    "printer": {"maker": "...", "model": "KT-9100X", "firmware": "V4.20",
//                "serial_number": "..."},
//    "settings": {"switch_1": 146, "switch_2": 0, "switch_3": 0, "switch_4": 0,
//                 "code_page": 0, "code_page_name": "STANDARD", "charset": 0,
//                 "density": 0, "font_8x16": false, "thai_pass": 255}}
//
// An item the model does not have, or that the printer did not answer, is
// absent. A document that is not a backup, is of a newer format, is cut
// short or holds a value that cannot be written back is refused as a
// whole, naming the cause, before anything is done with it.
//
// The one reader and writer of the format, for the command line and the
// emulator alike. Self-contained (the standard library and nlohmann-json
// only), so that any program of the project can use it.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kt::backup {

constexpr int kFormat = 1;

struct Identity {
    std::optional<std::string> maker;
    std::optional<std::string> model;
    std::optional<std::string> firmware;
    std::optional<std::string> serialNumber;

    bool operator==(const Identity &) const = default;
};

struct Settings {
    std::array<std::optional<int>, 4> switches; // switch_1 .. switch_4: 0..255
    std::optional<int> codePage;                // 0..255
    std::optional<std::string> codePageName;    // up to 20 printable characters
    std::optional<int> charset;                 // 0..99 (two digits are written)
    std::optional<int> density;                 // 0..9 (one digit is written)
    std::optional<bool> font8x16;               // the printer's reply was not empty
    std::optional<int> thaiPass;                // 0..255

    bool operator==(const Settings &) const = default;
};

struct Backup {
    int format = kFormat;
    std::string created; // ISO 8601: "2024-05-01T10:00:00Z"
    Identity printer;
    Settings settings;

    bool operator==(const Backup &) const = default;
};

// Why a document was refused; what() names the cause.
class BackupError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One setting by its key in the document ("switch_1", "code_page_name",
// ...): a whole number, a text or true/false.
using SettingValue = std::variant<int, std::string, bool>;

// The keys of the settings, in the document's order.
const std::vector<std::string_view> &settingKeys();

// The value of the setting `key`; nullopt when it is absent or no key.
std::optional<SettingValue> settingValue(const Settings &settings, std::string_view key);

// Sets the setting `key` (nullopt makes it absent). Throws BackupError
// naming the item when the key is unknown or the value cannot be written
// back (wrong kind, out of range, too long, a control character).
void setSettingValue(Settings &settings, std::string_view key, std::optional<SettingValue> value);

// Reads a backup document. Throws BackupError.
Backup parseBackup(std::string_view json);

// Reads a backup file: a regular file of at most kMaxFileBytes. Throws
// BackupError naming the path and the cause.
Backup readBackupFile(const std::filesystem::path &path);
constexpr std::size_t kMaxFileBytes = 1 << 20;

// The document of a backup, absent items left out. Throws BackupError when
// the backup holds something parseBackup would refuse, so that nothing is
// ever written that cannot be read back.
std::string formatBackup(const Backup &backup);

// Writes the document to `path` whole or not at all (see atomic_write.h).
// Throws BackupError naming the path and the cause.
void writeBackupFile(const std::filesystem::path &path, const Backup &backup);

// The time now in UTC, as "created" holds it: "2024-05-01T10:00:00Z".
std::string currentTime();

} // namespace kt::backup
