#include "session/control_names.h"

namespace kt::session::controls {
namespace {

// The indices each control array has in the window.
constexpr std::array<int, 12> kLblInfoIndices{0, 1, 2, 3, 4, 5, 10, 11, 12, 13, 14, 15};
constexpr std::array<int, 3> kKtLabel3Indices{10, 17, 22};
constexpr int kFrameComCount = 3;
constexpr int kPrinterInfoCount = 8;
constexpr int kLanguageInfoCount = 7;
// Bit 1's pair sits in the page frame; bits 2 to 8 have a frame each.
constexpr int kBitFramesPerSwitch = kBitsPerSwitch - 1;

std::string element(std::string_view array, int index)
{
    return std::string(array) + "(" + std::to_string(index) + ")";
}

std::string ofSwitch(std::string_view head, int switchNo, std::string_view tail)
{
    return std::string(head) + std::to_string(switchNo) + std::string(tail);
}

} // namespace

std::string frameCOM(int index) { return element("frameCOM", index); }
std::string lblINFO(int index) { return element("lblINFO", index); }
std::string ktLabel3(int index) { return element("ktLabel3", index); }
std::string lblKT_INFO(int index) { return element("lblKT_INFO", index); }
std::string lblLANG_INFO(int index) { return element("lblLANG_INFO", index); }

std::string frameSWm(int switchNo) { return ofSwitch("frameSW", switchNo, "m"); }
std::string frameSW(int switchNo, int index)
{
    return element(ofSwitch("frameSW", switchNo, ""), index);
}
std::string optSWON(int switchNo, int index)
{
    return element(ofSwitch("optSW", switchNo, "ON"), index);
}
std::string optSWOFF(int switchNo, int index)
{
    return element(ofSwitch("optSW", switchNo, "OFF"), index);
}
std::string lblSWFunction(int switchNo, int index)
{
    return element(ofSwitch("lblSW", switchNo, "Function"), index);
}
std::string switchTitle(int switchNo)
{
    return switchNo == kSwitchCount ? "Label1" : ofSwitch("lblSW", switchNo, "");
}

std::vector<std::string> allNames()
{
    std::vector<std::string> names;
    const auto add = [&names](std::string_view name) { names.emplace_back(name); };
    for (std::string_view name : {Form1, Image1, lblPORT, Combo1, frameCOMm, frameTCPIP, SSTab1,
                                  cmdCommunicate, cmd01, cmd02, cmd1, cmd2, cmdEXIT, cmdHELP})
        add(name);

    for (int i = 0; i < kFrameComCount; ++i)
        add(frameCOM(i));
    for (std::string_view name : kSerialSettings)
        add(name);
    for (std::string_view name : kNetworkSettings)
        add(name);
    add(cmdSTATUS);
    add(txtSTATUS);

    add(framePrinterInfo);
    add(frameLanguageInfo);
    for (int i : kLblInfoIndices)
        add(lblINFO(i));
    for (int i : kKtLabel3Indices)
        add(ktLabel3(i));
    for (int i = 0; i < kPrinterInfoCount; ++i)
        add(lblKT_INFO(i));
    for (int i = 0; i < kLanguageInfoCount; ++i)
        add(lblLANG_INFO(i));

    for (int sw = 1; sw <= kSwitchCount; ++sw) {
        add(frameSWm(sw));
        add(switchTitle(sw));
        for (int i = 0; i < kBitFramesPerSwitch; ++i)
            add(frameSW(sw, i));
        for (int k = 0; k < kBitsPerSwitch; ++k) {
            add(optSWON(sw, k));
            add(optSWOFF(sw, k));
            add(lblSWFunction(sw, k));
        }
    }

    for (std::string_view name :
         {frameChangeCP, frameDensity, frameTHAI, frameNew8x16, Text2, Text3, Text4, Text5, Text7,
          comboCodePage, comboCodePageName, comboInterChars, comboDensity, comboTHAI, comboNew8x16})
        add(name);
    add(txtLOG);
    add(cmdCLEARlst);
    return names;
}

} // namespace kt::session::controls
