#include "settings_diff.h"

#include <ostream>

#include "backup_items.h"
#include "switch_pages.h"

namespace kt::ktsw {
namespace {

std::string modelOf(const backup::Backup &b) { return b.printer.model.value_or(""); }

Json bitSide(int value, int bit, const std::string &meaning)
{
    return {{"on", bitOn(value, bit)}, {"meaning", meaning.empty() ? Json() : Json(meaning)}};
}

// The bits of a switch whose option or caption differ between the sides.
Json bitDifferences(int switchNo, int left, const std::string &leftModel, int right,
                    const std::string &rightModel)
{
    const auto was = meanings(switchNo, left, leftModel);
    const auto now = meanings(switchNo, right, rightModel);
    Json bits = Json::array();
    for (int bit = 1; bit <= 8; ++bit) {
        const auto k = static_cast<std::size_t>(bit - 1);
        if (bitOn(left, bit) == bitOn(right, bit) && was[k] == now[k])
            continue;
        bits.push_back({{"bit", bit},
                        {"left", bitSide(left, bit, was[k])},
                        {"right", bitSide(right, bit, now[k])}});
    }
    return bits;
}

std::string shown(const Json &side)
{
    if (side.is_null())
        return "(absent)";
    return (side["on"].get<bool>() ? "ON " : "OFF ")
        + (side["meaning"].is_null() ? std::string("=") : side["meaning"].get<std::string>());
}

} // namespace

Json diffSettings(const DiffSide &left, const DiffSide &right)
{
    Json diff = Json::array();
    for (const BackupItem &item : backupItems()) {
        const auto l = backup::settingValue(left.backup.settings, item.key);
        const auto r = backup::settingValue(right.backup.settings, item.key);
        if (l == r)
            continue;
        Json d = {{"setting", item.key},
                  {"name", item.name},
                  {"left", l ? jsonOf(*l) : Json()},
                  {"right", r ? jsonOf(*r) : Json()},
                  {"left_shown", l ? Json(shownValue(item, *l)) : Json()},
                  {"right_shown", r ? Json(shownValue(item, *r)) : Json()}};
        if (item.switchNo > 0 && l && r)
            d["bits"] = bitDifferences(item.switchNo, std::get<int>(*l), modelOf(left.backup),
                                       std::get<int>(*r), modelOf(right.backup));
        diff.push_back(d);
    }
    return diff;
}

void printDiff(std::ostream &out, const DiffSide &left, const DiffSide &right, const Json &diff)
{
    const auto header = [](const DiffSide &side) {
        return side.label + " (" + displayText(modelOf(side.backup)) + ")";
    };
    out << "--- " << header(left) << "\n+++ " << header(right) << '\n';
    if (diff.empty())
        out << "equal: no setting differs\n";
    for (const Json &d : diff) {
        const auto value = [](const Json &v) {
            return v.is_null() ? std::string("(absent)") : v.get<std::string>();
        };
        out << d["name"].get<std::string>() << ": " << value(d["left_shown"]) << " -> "
            << value(d["right_shown"]) << '\n';
        if (d.contains("bits"))
            for (const Json &bit : d["bits"])
                out << "  bit " << bit["bit"].get<int>() << ": " << shown(bit["left"]) << " -> "
                    << shown(bit["right"]) << '\n';
    }
}

} // namespace kt::ktsw
