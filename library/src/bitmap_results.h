// Result codes of the bitmap exports (RegBitmap, DefBitmap, PrnBitmap).
#pragma once

#include <cstdint>

namespace kt::bitmap::result {

inline constexpr std::int32_t defined = 0;
inline constexpr std::int32_t cannotOpen = 2;      // missing, unreadable, or not a bitmap
inline constexpr std::int32_t noMemory = 3;        // the command cannot be built in memory
inline constexpr std::int32_t sendFailed = 4;
inline constexpr std::int32_t noPort = 5;          // neither port text nor caller handle
inline constexpr std::int32_t notConverted = 6;
inline constexpr std::int32_t nothingToDefine = 7;
inline constexpr std::int32_t listFull = 257;      // 255 names are already registered
inline constexpr std::int32_t nameTooLong = 258;   // 512 characters or more
inline constexpr std::int32_t numberOutOfRange = 3; // PrnBitmap: not 1..255

} // namespace kt::bitmap::result
