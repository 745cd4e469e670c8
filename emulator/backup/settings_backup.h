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
// Self-contained (the standard library and nlohmann-json only), so that
// any program of the project can read and write backups.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

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

// Reads a backup document. Throws BackupError.
Backup parseBackup(std::string_view json);

// Reads a backup file: a regular file of at most kMaxFileBytes. Throws
// BackupError naming the path and the cause.
Backup readBackupFile(const std::filesystem::path &path);
constexpr std::size_t kMaxFileBytes = 1 << 20;

// The document of a backup, absent items left out.
std::string formatBackup(const Backup &backup);

} // namespace kt::backup
