// The names of the main window's controls, spelled here and nowhere else.
//
// The session and protocol logic reach the window's controls through
// FormView by these names, and the window gives its widgets the same names,
// so the two sides cannot spell a control differently. A single control is
// a constant named after it; a control array is a function named after the
// array that gives the name of one element (lblKT_INFO(0) is
// "lblKT_INFO(0)"). The arrays of the four switch pages carry the switch
// number inside their names (optSW3ON(7)); their functions take it first.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kt::session::controls {

inline constexpr int kSwitchCount = 4;
inline constexpr int kBitsPerSwitch = 8;

// The window itself and what sits above the tabs.
inline constexpr std::string_view Form1 = "Form1";
inline constexpr std::string_view Image1 = "Image1";
inline constexpr std::string_view lblPORT = "lblPORT";
inline constexpr std::string_view Combo1 = "Combo1";
inline constexpr std::string_view frameCOMm = "frameCOMm";
inline constexpr std::string_view frameTCPIP = "frameTCPIP";
inline constexpr std::string_view SSTab1 = "SSTab1";

// The buttons along the bottom, left to right.
inline constexpr std::string_view cmdCommunicate = "cmdCommunicate";
inline constexpr std::string_view cmd01 = "cmd01";
inline constexpr std::string_view cmd02 = "cmd02";
inline constexpr std::string_view cmd1 = "cmd1";
inline constexpr std::string_view cmd2 = "cmd2";
inline constexpr std::string_view cmdEXIT = "cmdEXIT";
inline constexpr std::string_view cmdHELP = "cmdHELP";

// Serial settings: three captioned frames frameCOM(0) to frameCOM(2), one
// group of options each.
std::string frameCOM(int index);
inline constexpr std::string_view com_BR_9600 = "com_BR_9600";
inline constexpr std::string_view com_BR_19200 = "com_BR_19200";
inline constexpr std::string_view com_BR_38400 = "com_BR_38400";
inline constexpr std::string_view com_BR_115200 = "com_BR_115200";
inline constexpr std::string_view com_HS_HW = "com_HS_HW";
inline constexpr std::string_view com_HS_SW = "com_HS_SW";
inline constexpr std::string_view com_PK_NONE = "com_PK_NONE";
inline constexpr std::string_view com_PK_EVEN = "com_PK_EVEN";

// Network settings.
inline constexpr std::string_view tcpLBL1 = "tcpLBL1";
inline constexpr std::string_view tcpIP = "tcpIP";
inline constexpr std::string_view tcpLBL2 = "tcpLBL2";
inline constexpr std::string_view tcpListenPort = "tcpListenPort";
inline constexpr std::string_view cmdSTATUS = "cmdSTATUS";
inline constexpr std::string_view txtSTATUS = "txtSTATUS";

// The settings that choose the port, locked once a printer answered.
inline constexpr std::array<std::string_view, 8> kSerialSettings{
    com_BR_9600, com_BR_19200, com_BR_38400, com_BR_115200,
    com_HS_HW,   com_HS_SW,    com_PK_NONE,  com_PK_EVEN,
};
inline constexpr std::array<std::string_view, 4> kNetworkSettings{tcpLBL1, tcpIP, tcpLBL2,
                                                                  tcpListenPort};

// Tab 0, printer and language information: caption labels lblINFO (0 to
// 5 and 10 to 15) and ktLabel3 (10, 17, 22), value labels lblKT_INFO (0 to
// 7) and lblLANG_INFO (0 to 6).
inline constexpr std::string_view framePrinterInfo = "framePrinterInfo";
inline constexpr std::string_view frameLanguageInfo = "frameLanguageInfo";
std::string lblINFO(int index);
std::string ktLabel3(int index);
std::string lblKT_INFO(int index);
std::string lblLANG_INFO(int index);

// Tabs 1 to 4, one switch page each: the page frame frameSWnm, the frames
// frameSWn(0) to frameSWn(6) that pair the options of bits 2 to 8, the
// options optSWnON(k) and optSWnOFF(k) and the meaning label
// lblSWnFunction(k) of bit k+1, and the page's title label.
std::string frameSWm(int switchNo);
std::string frameSW(int switchNo, int index);
std::string optSWON(int switchNo, int index);
std::string optSWOFF(int switchNo, int index);
std::string lblSWFunction(int switchNo, int index);
// lblSW1 to lblSW3; the title of page 4 is Label1.
std::string switchTitle(int switchNo);

// Tab 5, the additional soft switches: four frames, the prompts in text
// boxes and the combo boxes.
inline constexpr std::string_view frameChangeCP = "frameChangeCP";
inline constexpr std::string_view frameDensity = "frameDensity";
inline constexpr std::string_view frameTHAI = "frameTHAI";
inline constexpr std::string_view frameNew8x16 = "frameNew8x16";
inline constexpr std::string_view Text2 = "Text2";
inline constexpr std::string_view Text3 = "Text3";
inline constexpr std::string_view Text4 = "Text4";
inline constexpr std::string_view Text5 = "Text5";
inline constexpr std::string_view Text7 = "Text7";
inline constexpr std::string_view comboCodePage = "comboCodePage";
inline constexpr std::string_view comboCodePageName = "comboCodePageName";
inline constexpr std::string_view comboInterChars = "comboInterChars";
inline constexpr std::string_view comboDensity = "comboDensity";
inline constexpr std::string_view comboTHAI = "comboTHAI";
inline constexpr std::string_view comboNew8x16 = "comboNew8x16";

// Tab 6, the log history.
inline constexpr std::string_view txtLOG = "txtLOG";
inline constexpr std::string_view cmdCLEARlst = "cmdCLEARlst";

// Every control name of the window, each once, the window itself first.
std::vector<std::string> allNames();

} // namespace kt::session::controls
