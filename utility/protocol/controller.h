// The protocol's side of the main window: owns the protocol steps and
// handles the window's events that belong to the printer settings (the
// window's dispatcher calls them). The window (or a test) hands it its
// seams.
#pragma once

#include <string_view>

#include "protocol/communication_test.h"
#include "protocol/language_settings.h"
#include "protocol/protocol_context.h"
#include "protocol/queries.h"
#include "protocol/settings.h"
#include "protocol/tab_behaviour.h"

namespace kt::protocol {

class Controller {
public:
    explicit Controller(const ProtocolContext &context);
    Controller(const Controller &) = delete;
    Controller &operator=(const Controller &) = delete;

    void cmdCommunicate_Click();                              // "Communication Test"
    void cmd1_Click();                                        // "Read Settings"
    void cmd2_Click();                                        // "Write Settings"
    void SSTab1_Click(int previousTab);                       // selected tab changed
    void optSW_Click(int switchNo, int index, bool onOption); // optSWnON/OFF(index)
    // comboCodePage, comboInterChars, ...: other names are ignored.
    void combo_Click(std::string_view combo);

    // The steps themselves, for callers that drive them directly.
    Queries &queries() { return queries_; }
    Settings &settings() { return settings_; }
    LanguageSettings &language() { return language_; }
    TabBehaviour &tabs() { return tabs_; }

private:
    ProtocolContext ctx_;
    LanguageSettings language_;
    Queries queries_;
    Settings settings_;
    TabBehaviour tabs_;
    CommunicationTest communication_;
};

} // namespace kt::protocol
