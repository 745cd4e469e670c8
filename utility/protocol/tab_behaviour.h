// What the tabs show and allow for the connected model: the availability of
// the switch options, and the tab control's click handler with its prompt
// before unsaved changes are dropped.
#pragma once

#include "protocol/protocol_context.h"
#include "protocol/settings.h"

namespace kt::protocol {

class TabBehaviour {
public:
    TabBehaviour(ProtocolContext &context, Settings &settings) : ctx_(context), settings_(settings)
    { }

    // Enables the options of the switches the model lets the user change.
    void applySwitchAvailability();

    // The tab control's click handler; the new tab is the current one.
    void tabClick(int previousTab);

    // "SW1".."SW4" or "Additional Switch"; empty for tabs without settings.
    static std::string pageName(int tab);

private:
    void applyLayout(int tab);
    void confirmLeaving(int previousTab);

    ProtocolContext &ctx_;
    Settings &settings_;
};

} // namespace kt::protocol
