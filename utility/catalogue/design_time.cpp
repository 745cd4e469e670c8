// The switch pages as the window is designed, before any procedure runs.
#include "catalogue/switch_page.h"

namespace kt::catalogue {
namespace {

// Design-time captions of the meaning labels, by switch and bit index: an
// equals sign, on most labels with a blank before it or on both sides.
constexpr const char *kDesignTimeCaptions[4][8] = {
    {" =", "=", " = ", " = ", " = ", " = ", " = ", " = "},
    {" =", " =", " = ", " = ", " = ", " = ", " = ", "="},
    {" =", " = ", " = ", " = ", " = ", "=", " = ", " = "},
    {" =", " = ", "=", " = ", " = ", " = ", " = ", " = "},
};

} // namespace

std::string designTimeCaption(int switchNo, int index)
{
    if (switchNo < 1 || switchNo > 4 || index < 0 || index > 7)
        return {};
    return kDesignTimeCaptions[switchNo - 1][index];
}

SwitchPage designTimePage(int switchNo)
{
    SwitchPage page;
    page.switchNo = switchNo;
    for (int k = 0; k < 8; ++k) {
        BitRow &bit = page.bits[static_cast<std::size_t>(k)];
        bit.on = false;
        bit.caption = designTimeCaption(switchNo, k);
    }
    return page;
}

} // namespace kt::catalogue
