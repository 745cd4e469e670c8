#include "protocol/switch_page_adapter.h"

namespace kt::protocol {

std::string optionName(int switchNo, int index, bool onOption)
{
    return "optSW" + std::to_string(switchNo) + (onOption ? "ON(" : "OFF(") + std::to_string(index)
        + ")";
}

std::string functionLabelName(int switchNo, int index)
{
    return "lblSW" + std::to_string(switchNo) + "Function(" + std::to_string(index) + ")";
}

catalogue::SwitchPage SwitchPageAdapter::load() const
{
    catalogue::SwitchPage page;
    page.switchNo = switchNo_;
    for (int k = 0; k < 8; ++k) {
        catalogue::BitRow &row = page.bits[static_cast<std::size_t>(k)];
        row.on = view_.checked(optionName(switchNo_, k, true));
        row.caption = view_.text(functionLabelName(switchNo_, k));
    }
    return page;
}

void SwitchPageAdapter::store(const catalogue::SwitchPage &page)
{
    for (int k = 0; k < 8; ++k) {
        const catalogue::BitRow &row = page.bits[static_cast<std::size_t>(k)];
        const std::string on = optionName(switchNo_, k, true);
        const std::string off = optionName(switchNo_, k, false);
        view_.setChecked(on, row.on);
        view_.setChecked(off, !row.on);
        if (row.onBold)
            view_.setBold(on, *row.onBold);
        if (row.offBold)
            view_.setBold(off, *row.offBold);
        if (row.written)
            view_.setText(functionLabelName(switchNo_, k), row.caption);
    }
}

void SwitchPageAdapter::show(int value, std::string_view modelKey,
                             const std::function<void(int)> &optionClicked)
{
    catalogue::SwitchPage page = load();
    catalogue::show(page, value, modelKey, optionClicked);
    store(page);
}

void SwitchPageAdapter::click(int index, bool onOption, std::string_view modelKey)
{
    if (index < 0 || index > 7)
        return;
    catalogue::SwitchPage page = load();
    catalogue::click(page, index, onOption, modelKey);
    store(page);
}

int SwitchPageAdapter::encode() const { return catalogue::encode(load()); }

} // namespace kt::protocol
