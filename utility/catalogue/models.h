// How the catalogue recognises a model: exact names and fixed-length
// prefixes on the model key (the model name as the printer reported it),
// and the named groups built from them.
#pragma once

#include <string_view>

namespace kt::catalogue {

// Case-sensitive, whole text, no trimming.
bool isExactly(std::string_view modelKey, std::string_view name);
// The first name.size() characters of the key equal name.
bool startsWith(std::string_view modelKey, std::string_view name);

bool isFamilyA(std::string_view modelKey);
bool isGroupD(std::string_view modelKey);
bool isGroupU(std::string_view modelKey);
bool isZnModel(std::string_view modelKey);
// The models whose soft switches 3 and 4 can be read and changed (also the
// model list of Read Settings).
bool isSwitch34Model(std::string_view modelKey);
bool isPage34Model(std::string_view modelKey);
bool isSoftwareSwitch1Model(std::string_view modelKey);
bool isPage1AlwaysModel(std::string_view modelKey);
// The models with a print density setting: the density frame of tab 5 is
// shown and the density language query is sent only for them.
bool isDensityModel(std::string_view modelKey);
bool queriesDensity(std::string_view modelKey);
// The only model with the Thai font pass setting: the Thai frame of tab 5
// and the Thai language query and write.
bool hasThaiFontPass(std::string_view modelKey);
// The models whose serial baud rate is set by soft switch 1 bits 1-2, so a
// write of soft switch 1 on a serial port may change the line speed.
bool isZnBaudRateModel(std::string_view modelKey);

} // namespace kt::catalogue
