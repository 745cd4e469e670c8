#include "model_profile.h"

#include <array>

#include "parameters.h"

namespace kt::emu {
namespace {

constexpr const char *kMaker = "TALVORIN POS";

// What differs from model to model; everything else takes common defaults.
struct CatalogueRow {
    const char *model;
    std::uint16_t usbProductId; // 0: no USB interface
    const char *firmware;
    const char *serial;
    int paperWidthDots;
    std::uint8_t softSwitch[4];
};

// Switch 1 bits 1-2 select 9600 baud where the model has a baud field; a 0
// in switch 4 bit 8 (and switch 2 bit 1 on the ZN models) lets the utility
// read switch 1 as well.
constexpr std::array<CatalogueRow, 23> kCatalogue{{
    {"KT-4000", 0x3330, "V3.12", "KT4K2103000417", 576, {2, 0, 0, 0}},
    {"KT-7700", 0x0338, "V2.05", "KT772011001206", 576, {2, 0, 0, 0}},
    {"ZN8_USB", 0x036b, "V1.20", "ZN8U1907000051", 576, {2, 0, 0, 0}},
    {"KT-1400", 0x0369, "V1.08", "KT142204000733", 576, {2, 0, 0, 0}},
    {"KT-6500F", 0x0353, "V2.31", "KT65F200800388", 576, {2, 0, 0, 0}},
    {"TW8_USB", 0x036e, "V1.14", "TW8U2102000090", 576, {0, 0, 0, 0}},
    {"TW5_USB", 0x036f, "V1.14", "TW5U2102000115", 384, {0, 0, 0, 0}},
    {"MV8", 0x0340, "V1.02", "MV082012000271", 576, {2, 0, 0, 0}},
    {"TW86_USB", 0x0376, "V1.30", "TW86U220300064", 576, {3, 0, 0, 0}},
    {"KT-9100", 0x0378, "V4.01", "KT912106000512", 576, {2, 0, 0, 0}},
    {"KT-7400", 0x037c, "V2.40", "KT742109000167", 576, {2, 0, 0, 0}},
    {"KT-6700", 0x037e, "V1.11", "KT672110000098", 576, {2, 0, 0, 0}},
    {"MV330", 0x037a, "V1.05", "MV332111000036", 384, {2, 0, 0, 0}},
    {"MV550", 0x0380, "V1.07", "MV552201000142", 576, {1, 0, 0, 0}},
    {"KT-9100X", 0x0384, "V4.20", "KT9X2205000021", 576, {146, 0, 0, 0}},
    {"KT-1700", 0, "V1.33", "KT171912000604", 576, {2, 0, 0, 0}},
    {"KT1401", 0, "V1.09", "KT142205000811", 576, {0, 0, 0, 0}},
    {"ZN-PRINTER", 0, "V1.01", "ZN001806000310", 576, {2, 0, 0, 0}},
    {"ZN5-PRINTER", 0, "V1.03", "ZN051809000077", 384, {2, 0, 0, 0}},
    {"ZN8-PRINTER", 0, "V1.06", "ZN081811000149", 576, {2, 0, 0, 0}},
    {"ZN8-PRINTER-II", 0, "V2.00", "ZN8B2004000023", 576, {2, 0, 0, 0}},
    {"KT-6500E", 0, "V2.33", "KT65E200900254", 576, {2, 0, 0, 0}},
    {"KT-7000", 0, "V3.02", "KT702012000933", 576, {2, 0, 0, 0}},
}};

ModelProfile fromRow(const CatalogueRow &row)
{
    ModelProfile p;
    p.model = row.model;
    p.maker = kMaker;
    p.firmware = row.firmware;
    p.serial = row.serial;
    p.fontRom = row.paperWidthDots == 384 ? "FONT ROM 12X24/8X16 58MM" : "FONT ROM 12X24/8X16";
    if (row.usbProductId != 0)
        p.usbProductId = row.usbProductId;
    p.paperWidthDots = row.paperWidthDots;
    for (const auto &info : parameterTable())
        p.parameters[info.number] = info.kind == ValueKind::Text ? "" : "0";
    p.parameters[param::InstallationDate] = "2021-03-15";
    p.parameters[param::HoursPowered] = "1287";
    p.parameters[param::CutCount] = "5402";
    p.parameters[param::FailedCuts] = "3";
    p.parameters[param::LinesPrinted] = "48211";
    p.parameters[param::LanguageModel] = "STANDARD";
    p.parameters[param::ThaiFontPass] = "255";
    for (int i = 0; i < 4; ++i)
        p.parameters[param::SoftSwitch1 + i] = std::to_string(row.softSwitch[i]);
    return p;
}

// A whole number in `base` up to `max`, or why the text is none.
Result<unsigned long> parseNumber(std::string_view value, unsigned long max, int base)
{
    std::string v(value);
    if (v.empty())
        return Status::failure("empty value");
    std::size_t used = 0;
    unsigned long n = 0;
    try {
        n = std::stoul(v, &used, base);
    } catch (...) {
        return Status::failure("not a number: " + v);
    }
    if (used != v.size() || v[0] == '-' || v[0] == '+')
        return Status::failure("not a number: " + v);
    if (n > max)
        return Status::failure("out of range: " + v);
    return n;
}

} // namespace

std::vector<std::string> catalogueModelNames()
{
    std::vector<std::string> names;
    names.reserve(std::size(kCatalogue));
    for (const auto &row : kCatalogue)
        names.emplace_back(row.model);
    return names;
}

std::optional<ModelProfile> findProfile(std::string_view model)
{
    for (const auto &row : kCatalogue)
        if (model == row.model)
            return fromRow(row);
    return std::nullopt;
}

namespace {

Status setText(std::string ModelProfile::*field, ModelProfile &p, std::string_view value)
{
    p.*field = value;
    return Status::success();
}

// The profile fields --set may change besides the parameters; each applies
// a checked value or says why it cannot.
struct ProfileKey {
    std::string_view key;
    std::string_view meaning;
    std::string_view range;
    Status (*apply)(ModelProfile &, std::string_view);
};

constexpr ProfileKey kProfileKeys[] = {
    {"model", "model name (GS I C)", "text",
     [](ModelProfile &p, std::string_view v) { return setText(&ModelProfile::model, p, v); }},
    {"maker", "maker name (GS I B)", "text",
     [](ModelProfile &p, std::string_view v) { return setText(&ModelProfile::maker, p, v); }},
    {"firmware", "firmware revision (GS I A)", "text",
     [](ModelProfile &p, std::string_view v) { return setText(&ModelProfile::firmware, p, v); }},
    {"serial", "serial number (GS I D)", "text",
     [](ModelProfile &p, std::string_view v) { return setText(&ModelProfile::serial, p, v); }},
    {"font_rom", "font ROM (GS I E)", "text",
     [](ModelProfile &p, std::string_view v) { return setText(&ModelProfile::fontRom, p, v); }},
    {"usb_pid", "USB product id", "hexadecimal 0..ffff",
     [](ModelProfile &p, std::string_view v) -> Status {
         const auto n = parseNumber(v, 0xffff, 16);
         if (!n)
             return n.status();
         p.usbProductId = static_cast<std::uint16_t>(*n);
         return Status::success();
     }},
    {"paper_width", "paper width in dots", "64..4096",
     [](ModelProfile &p, std::string_view v) -> Status {
         const auto n = parseNumber(v, 4096, 10);
         if (!n)
             return n.status();
         if (*n < 64)
             return Status::failure("at least 64 dots");
         p.paperWidthDots = static_cast<int>(*n);
         return Status::success();
     }},
    {"nv_capacity", "bytes of NV image memory", "0..16777216",
     [](ModelProfile &p, std::string_view v) -> Status {
         const auto n = parseNumber(v, 16u << 20, 10);
         if (!n)
             return n.status();
         p.nvCapacity = *n;
         return Status::success();
     }},
};

std::string valueRange(const ParameterInfo &info)
{
    switch (info.kind) {
    case ValueKind::Byte: return "0..255";
    case ValueKind::Counter: return "0..9999999999";
    case ValueKind::Text: break;
    }
    return "text of up to " + std::to_string(info.maxLength) + " bytes";
}

} // namespace

Status applyOverride(ModelProfile &p, std::string_view key, std::string_view value)
{
    auto failed
        = [key](const std::string &why) { return Status::failure(std::string(key) + ": " + why); };
    for (const auto &k : kProfileKeys)
        if (k.key == key) {
            auto applied = k.apply(p, value);
            return applied ? applied : failed(applied.error());
        }
    if (const auto *info = findParameter(key)) {
        if (auto checked = checkValue(*info, value); !checked)
            return failed(checked.error());
        p.parameters[info->number] = value;
        return Status::success();
    }
    return Status::failure("unknown key: " + std::string(key) + " (kt-emulator --help lists them)");
}

std::vector<OverrideKey> overrideKeys()
{
    std::vector<OverrideKey> keys;
    for (const auto &k : kProfileKeys)
        keys.push_back({std::string(k.key), std::string(k.meaning), std::string(k.range)});
    for (const auto &info : parameterTable()) {
        const std::string number = std::to_string(info.number);
        const bool documented = info.key != "param_" + number;
        keys.push_back({std::string(info.key),
                        documented ? std::string(info.name) + " (parameter " + number + ")"
                                   : "parameter " + number + ", kept as text",
                        valueRange(info)});
    }
    return keys;
}

} // namespace kt::emu
