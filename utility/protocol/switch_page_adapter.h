// Runs the catalogue's switch page procedures on a page of the window:
// the options and the meaning labels of the page's eight bits are
// copied into a catalogue::SwitchPage, the procedure runs, and the result is
// copied back. Bold states and captions go back only where the catalogue set
// them, so labels that no rule writes keep their text.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "catalogue/switch_page.h"
#include "session/form_view.h"

namespace kt::protocol {

class SwitchPageAdapter {
public:
    SwitchPageAdapter(session::FormView &view, int switchNo) : view_(view), switchNo_(switchNo) { }

    catalogue::SwitchPage load() const;
    void store(const catalogue::SwitchPage &page);

    // The display procedure for a byte read from the printer; optionClicked
    // runs for every option that becomes selected.
    void show(int value, std::string_view modelKey, const std::function<void(int)> &optionClicked);
    // An option click: select it and describe its bit.
    void click(int index, bool onOption, std::string_view modelKey);
    // The byte the options on screen stand for.
    int encode() const;

private:
    session::FormView &view_;
    int switchNo_;
};

} // namespace kt::protocol
