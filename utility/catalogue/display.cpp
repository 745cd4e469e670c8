// The display and caption procedures on a switch page, and its encoding.
#include "catalogue/caption_engine.h"
#include "catalogue/switch_page.h"

namespace kt::catalogue {

void describe(SwitchPage &page, int index, std::string_view modelKey)
{
    if (const tables::SwitchTable *table = tables::switchTable(page.switchNo))
        tables::describeWith(*table, page, index, modelKey);
}

void click(SwitchPage &page, int index, bool onOption, std::string_view modelKey)
{
    if (index < 0 || index > 7)
        return;
    page.bits[static_cast<std::size_t>(index)].on = onOption;
    describe(page, index, modelKey);
}

int show(SwitchPage &page, int value, std::string_view modelKey,
         const std::function<void(int index)> &optionClicked)
{
    for (int k = 7; k >= 0; --k) {
        const int weight = kBitWeight[static_cast<std::size_t>(k)];
        const bool on = value < weight;
        if (!on)
            value -= weight;
        BitRow &bit = page.bits[static_cast<std::size_t>(k)];
        const bool changed = bit.on != on;
        bit.on = on;
        if (changed && optionClicked)
            optionClicked(k);
    }
    for (int k = 0; k < 8; ++k)
        describe(page, k, modelKey);
    return value;
}

int encode(const SwitchPage &page)
{
    int value = 0;
    for (std::size_t k = 0; k < 8; ++k)
        if (!page.bits[k].on)
            value += kBitWeight[k];
    return value;
}

} // namespace kt::catalogue
