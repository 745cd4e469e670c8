// Result codes of the bitmap exports (RegBitmap, DefBitmap, PrnBitmap), by
// the names the library uses inside; the values are the published ones.
#pragma once

#include <cstdint>

#include "KT4000.h"

namespace kt::bitmap::result {

inline constexpr std::int32_t defined = KT_BMP_OK;
inline constexpr std::int32_t cannotOpen = KT_BMP_CANNOT_OPEN;
inline constexpr std::int32_t noMemory = KT_BMP_NO_MEMORY;
inline constexpr std::int32_t sendFailed = KT_BMP_SEND_FAILED;
inline constexpr std::int32_t noPort = KT_BMP_NO_PORT;
inline constexpr std::int32_t notConverted = KT_BMP_NOT_CONVERTED;
inline constexpr std::int32_t nothingToDefine = KT_BMP_NOTHING_TO_DEFINE;
inline constexpr std::int32_t listFull = KT_BMP_LIST_FULL;
inline constexpr std::int32_t nameTooLong = KT_BMP_NAME_TOO_LONG;
inline constexpr std::int32_t numberOutOfRange = KT_BMP_NUMBER_OUT_OF_RANGE;

} // namespace kt::bitmap::result
