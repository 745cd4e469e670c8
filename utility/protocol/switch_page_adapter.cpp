#include "protocol/switch_page_adapter.h"

#include "session/control_names.h"

namespace kt::protocol {

namespace controls = session::controls;

catalogue::SwitchPage SwitchPageAdapter::load() const
{
    catalogue::SwitchPage page;
    page.switchNo = switchNo_;
    for (int k = 0; k < 8; ++k) {
        catalogue::BitRow &row = page.bits[static_cast<std::size_t>(k)];
        row.on = view_.checked(controls::optSWON(switchNo_, k));
        row.caption = view_.text(controls::lblSWFunction(switchNo_, k));
    }
    return page;
}

void SwitchPageAdapter::store(const catalogue::SwitchPage &page)
{
    for (int k = 0; k < 8; ++k) {
        const catalogue::BitRow &row = page.bits[static_cast<std::size_t>(k)];
        const std::string on = controls::optSWON(switchNo_, k);
        const std::string off = controls::optSWOFF(switchNo_, k);
        view_.setChecked(on, row.on);
        view_.setChecked(off, !row.on);
        if (row.onBold)
            view_.setBold(on, *row.onBold);
        if (row.offBold)
            view_.setBold(off, *row.offBold);
        if (row.written)
            view_.setText(controls::lblSWFunction(switchNo_, k), row.caption);
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
