#include "self_test_page.h"

#include "parameters.h"

namespace kt::emu {
namespace {

std::string field(const char *label, const std::string &value)
{
    std::string line = label;
    line.resize(14, ' ');
    return line + ": " + value;
}

std::string bits(const std::string &value)
{
    int v = 0;
    try {
        v = std::stoi(value);
    } catch (...) {
        return value;
    }
    std::string out;
    for (int bit = 7; bit >= 0; --bit)
        out += (v >> bit) & 1 ? '1' : '0';
    return out + " (" + value + ")";
}

} // namespace

SelfTestPage selfTestPage(const ModelProfile &profile, const PrinterState &state)
{
    auto p = [&](int n) {
        auto it = state.parameters.find(n);
        return it == state.parameters.end() ? std::string() : it->second;
    };
    SelfTestPage page;
    page.title = "*** SELF TEST ***";
    auto &l = page.lines;
    l.push_back(profile.maker);
    l.push_back(field("Model", profile.model));
    l.push_back(field("Firmware", profile.firmware));
    l.push_back(field("Serial number", profile.serial));
    l.push_back(field("Font ROM", profile.fontRom));
    l.push_back(field("Installed", p(param::InstallationDate)));
    l.push_back(field("Hours powered", p(param::HoursPowered)));
    l.push_back(field("Cut count", p(param::CutCount)));
    l.push_back(field("Failed cuts", p(param::FailedCuts)));
    l.push_back(field("Lines printed", p(param::LinesPrinted)));
    l.push_back(field("Code page", p(param::CodePage)));
    l.push_back(field("Char set", p(param::InterChars)));
    l.push_back(field("Language", p(param::LanguageModel)));
    l.push_back(field("Density", p(param::PrintDensity)));
    l.push_back(
        field("New 8x16 font", p(param::New8x16Font).empty() ? "OFF" : p(param::New8x16Font)));
    l.push_back(field("Thai pass", p(param::ThaiFontPass)));
    for (int i = 0; i < 4; ++i)
        l.push_back(field(("Soft switch " + std::to_string(i + 1)).c_str(),
                          bits(p(param::SoftSwitch1 + i))));
    l.push_back(field("NV images", std::to_string(state.images.size())));
    return page;
}

} // namespace kt::emu
