#include "catalogue/model_names.h"

#include <algorithm>
#include <array>

#include "catalogue/models.h"

namespace kt::catalogue {
namespace {

constexpr std::array<std::string_view, 23> kModels{
    "KT-4000",        "KT-7700",  "KT-7400",  "KT-9100", "KT-9100X",   "KT-1700",     "KT1401",
    "KT-1400",        "KT-6500E", "KT-6500F", "KT-6700", "KT-7000",    "TW86_USB",    "TW8_USB",
    "TW5_USB",        "MV8",      "MV330",    "MV550",   "ZN-PRINTER", "ZN5-PRINTER", "ZN8-PRINTER",
    "ZN8-PRINTER-II", "ZN8_USB",
};

// The prefixes by which the catalogue recognises whole families.
constexpr std::array<std::string_view, 6> kFamilies{"KT-14", "KT-74", "KT-91",
                                                    "MV55",  "TW86",  "MV8"};

} // namespace

std::span<const std::string_view> modelNames() { return kModels; }

bool isKnownModel(std::string_view modelKey)
{
    return std::find(kModels.begin(), kModels.end(), modelKey) != kModels.end()
        || std::any_of(kFamilies.begin(), kFamilies.end(), [modelKey](std::string_view family) {
               return startsWith(modelKey, family);
           });
}

} // namespace kt::catalogue
