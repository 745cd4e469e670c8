// Hands every event of Form1 to the part of the utility that handles it:
// the session's handlers (session/form_handlers.h) take the start and end
// of the run, the port list, STATUS, the print tests and the log's Clear;
// the printer settings protocol (protocol/controller.h) takes the
// Communication Test, Read and Write Settings, the tabs, the switch options
// and the combo boxes.
#pragma once

#include "session/form_events.h"

namespace kt::session {
class FormHandlers;
}
namespace kt::protocol {
class Controller;
}

namespace kt::window {

class FormDispatcher final : public session::FormEvents {
public:
    // Without a controller the protocol's events go nowhere (a window
    // without a printer protocol behind it, as some tests build).
    FormDispatcher(session::FormHandlers &session, protocol::Controller *protocol)
        : session_(session), protocol_(protocol)
    { }

    void Form_Load() override;
    void Form_Unload() override;
    void Combo1_Click() override;
    void cmdSTATUS_Click() override;
    void cmd01_Click() override;
    void cmd02_Click() override;
    void cmdEXIT_Click() override;
    void cmdHELP_Click() override;
    void cmdCLEARlst_Click() override;

    void cmdCommunicate_Click() override;
    void cmd1_Click() override;
    void cmd2_Click() override;
    void SSTab1_Click(int previousTab) override;
    void optSW_Click(int switchNo, int index, bool onOption) override;
    void combo_Click(std::string_view combo) override;

private:
    session::FormHandlers &session_;
    protocol::Controller *protocol_;
};

} // namespace kt::window
