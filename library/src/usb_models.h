// The USB model table: which printers USB discovery looks for, in which
// order, and the model names and keys that setModel and getModel use.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kt::usb {

// The maker's USB vendor id as sysfs and the id fragments write it.
inline constexpr std::string_view kMakerVendorId = "5e1b";

struct ModelRow {
    const char *fragment; // "vid_5e1b&pid_XXXX", matched in the device's id text
    const char *model;    // name reported by getModel once this row was tried
    const char *tag;      // name of the row in the discovery log lines
    const char *key;      // setModel key that selects this row (any case)
};

// All rows, in the order discovery tries them.
std::span<const ModelRow> modelTable();

// The row whose key equals `key` without regard to case, or nullptr.
const ModelRow *rowByKey(std::string_view key);

// The row with exactly this fragment, or nullptr.
const ModelRow *rowByFragment(std::string_view fragment);

// Process-wide selection: the fragment searched first by discovery
// ("vid_5e1b&pid_3330" at load) and the model name of the last attempt
// ("KT-4000" at load).
const std::string &selectedFragment();
void selectFragment(std::string_view fragment);
const std::string &currentModel();
void setCurrentModel(std::string_view model);

} // namespace kt::usb
