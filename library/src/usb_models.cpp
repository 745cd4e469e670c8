#include "usb_models.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace kt::usb {
namespace {

constexpr std::array<ModelRow, 16> kRows{{
    {"vid_5e1b&pid_3330", "KT-4000", "kt4ku", "kt4000"},
    {"vid_5e1b&pid_0338", "KT-7700", "kt77u", "kt7700"},
    {"vid_5e1b&pid_036b", "ZN8_USB", "zn8u", "ktzn8"},
    {"vid_5e1b&pid_0369", "KT-1400", "kt14u", "kt1400"},
    {"vid_5e1b&pid_0353", "KT-6500F", "kt65f", "kt6500f"},
    {"vid_5e1b&pid_036c", "ZN8_USB", "ktzn8", "ktzn8-usb"},
    {"vid_5e1b&pid_036e", "TW8_USB", "kttw8", "kttw8-usb"},
    {"vid_5e1b&pid_036f", "TW5_USB", "kttw5", "kttw5-usb"},
    {"vid_5e1b&pid_0340", "MV8", "kt0340", "tw5800"},
    {"vid_5e1b&pid_0376", "TW86_USB", "kt0376", "TW86_USB"},
    {"vid_5e1b&pid_0378", "KT-9100", "kt0378", "KT-9100"},
    {"vid_5e1b&pid_037c", "KT-7400", "kt037C", "KT-7400"},
    {"vid_5e1b&pid_037e", "KT-6700", "kt037E", "KT-6700"},
    {"vid_5e1b&pid_037a", "MV330", "kt037A", "MV330"},
    {"vid_5e1b&pid_0380", "MV550", "kt0380", "MV550"},
    {"vid_5e1b&pid_0384", "KT-9100X", "kt0384", "KT-9100X"},
}};

bool equalNoCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x))
            == std::tolower(static_cast<unsigned char>(y));
    });
}

std::string &selected()
{
    static std::string s = kRows[0].fragment;
    return s;
}

std::string &current()
{
    static std::string s = kRows[0].model;
    return s;
}

} // namespace

std::span<const ModelRow> modelTable() { return kRows; }

const ModelRow *rowByKey(std::string_view key)
{
    auto it
        = std::ranges::find_if(kRows, [&](const ModelRow &r) { return equalNoCase(r.key, key); });
    return it == kRows.end() ? nullptr : &*it;
}

const ModelRow *rowByFragment(std::string_view fragment)
{
    auto it
        = std::ranges::find_if(kRows, [&](const ModelRow &r) { return fragment == r.fragment; });
    return it == kRows.end() ? nullptr : &*it;
}

const std::string &selectedFragment() { return selected(); }
void selectFragment(std::string_view fragment) { selected() = fragment; }
const std::string &currentModel() { return current(); }
void setCurrentModel(std::string_view model) { current() = model; }

} // namespace kt::usb
