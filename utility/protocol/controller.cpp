#include "protocol/controller.h"

#include "protocol/switch_page_adapter.h"

namespace kt::protocol {

Controller::Controller(const ProtocolContext &context)
    : ctx_(context),
      language_(ctx_),
      queries_(ctx_, language_),
      settings_(ctx_, queries_, language_),
      tabs_(ctx_, settings_),
      communication_(ctx_, queries_, language_, tabs_)
{ }

void Controller::cmdCommunicate_Click() { communication_.run(); }

void Controller::cmd1_Click()
{
    ctx_.view.setEnabled(controls::cmd1, false);
    settings_.readSettings(ctx_.view.currentTab());
    ctx_.view.setEnabled(controls::cmd1, true);
    ctx_.view.setFocus(controls::cmd1);
    ctx_.state.dataChanged = false;
}

void Controller::cmd2_Click()
{
    if (!ctx_.state.dataChanged) {
        ctx_.inform("There is no data changed...");
        return;
    }
    ctx_.view.setEnabled(controls::cmd2, false);
    if (settings_.writeSettings(ctx_.view.currentTab()))
        return; // the program is ending
    ctx_.view.setEnabled(controls::cmd2, true);
    ctx_.view.setFocus(controls::cmd2);
}

void Controller::SSTab1_Click(int previousTab) { tabs_.tabClick(previousTab); }

void Controller::optSW_Click(int switchNo, int index, bool onOption)
{
    if (switchNo < 1 || switchNo > 4 || index < 0 || index > 7)
        return;
    ctx_.state.dataChanged = true;
    SwitchPageAdapter(ctx_.view, switchNo).click(index, onOption, ctx_.modelKey());
}

void Controller::combo_Click(std::string_view combo) { language_.comboClick(combo); }

} // namespace kt::protocol
