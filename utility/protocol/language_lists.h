// The item lists of the combo boxes on the "Additional Soft_Switch" tab.
// The window fills its combos from here and the protocol reads the same
// texts; the blanks inside the items are significant (fixed-width number
// fields that the selection and encoding rules rely on).
#pragma once

#include <array>
#include <string_view>

namespace kt::protocol {

inline constexpr std::array<std::string_view, 25> kCodePageItems{
    "0  - 437 Standard",
    "1  - Katakana Japanese",
    "2  - 850 Multilingual (LatinI)",
    "3  - 860 Portuguese",
    "4  - 863 Canadian-French",
    "5  - 865 Nordic",
    "17 - 866 Cyrillic",
    "18 - 852 Latin 2",
    "19 - 858 Multilingual (Latin+Euro)",
    "21 - 862 Hebrew",
    "22 - 864 Arabic",
    "24 - 1253 Windows Greek",
    "25 - 1254 Windows Turkish",
    "26 - 1257 Windows Baltic",
    "27 - 1256 Windows Arabic (Farsi)",
    "28 - 1251 Windows Cyrillic",
    "29 - 737 Greek",
    "31 - Thai character code page 14",
    "33 - 1255 Hebrew New code",
    "34 - Thai character code page 11",
    "36 - 855 Cyrillic",
    "37 - 857 Turkish",
    "224- KAZAKHSTAN",
    "240- Armenian",
    "250- LITHUANIA",
};

// The same code pages by short name, in the same order.
inline constexpr std::array<std::string_view, 25> kCodePageNameItems{
    "0  - Standard",         "1  - Japanese",        "2  - Multilingual(LatinI)",
    "3  - Portuguese",       "4  - Canadian-French", "5  - Nordic",
    "17 - Cyrillic",         "18 - Latin 2",         "19 - Multilingual(Euro)",
    "21 - Hebrew",           "22 - Arabic",          "24 - Windows Greek",
    "25 - Windows Turkish",  "26 - Windows Baltic",  "27 - Windows Arabic/Farsi",
    "28 - Windows Cyrillic", "29 - Greek",           "31 - Thai page 14",
    "33 - Hebrew",           "34 - Thai page 11",    "36 - Cyrillic",
    "37 - Turkish",          "224- KAZAKHSTAN",      "240- Armenian",
    "250- LITHUANIA",
};

inline constexpr std::array<std::string_view, 15> kInterCharsItems{
    "0 - U.S.A.",     "1 - France",   "2 - Germany",       "3 - U.K.",  "4 - Denmark I",
    "5 - Sweden",     "6 - Italy",    "7 - Spain I",       "8 - Japan", "9 - Norway",
    "10- Denmark II", "11- Spain II", "12- Latin America", "13- Korea", "15- Ex-Yugoslavia",
};

inline constexpr std::array<std::string_view, 3> kDensityItems{"0 - Normal", "1 - Light",
                                                               "2 - Dark"};

inline constexpr std::array<std::string_view, 2> kNew8x16Items{"OFF", " ON"};

inline constexpr std::array<std::string_view, 2> kThaiItems{"255 - Thai 1 Pass",
                                                            "249 - Thai 3 Pass"};

// Items the code page handler selects in comboInterChars.
inline constexpr int kInterCharsUsa = 0;
inline constexpr int kInterCharsJapan = 8;

} // namespace kt::protocol
