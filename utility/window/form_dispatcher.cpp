#include "window/form_dispatcher.h"

#include <utility>

#include "protocol/controller.h"
#include "session/form_handlers.h"

namespace kt::window {
namespace {

using protocol::Controller;

template <typename... Params, typename... Args>
void toProtocol(Controller *protocol, void (Controller::*handler)(Params...), Args &&...args)
{
    if (protocol)
        (protocol->*handler)(std::forward<Args>(args)...);
}

} // namespace

// The session.
void FormDispatcher::Form_Load() { session_.Form_Load(); }
void FormDispatcher::Form_Unload() { session_.Form_Unload(); }
void FormDispatcher::Combo1_Click() { session_.Combo1_Click(); }
void FormDispatcher::cmdSTATUS_Click() { session_.cmdSTATUS_Click(); }
void FormDispatcher::cmd01_Click() { session_.cmd01_Click(); }
void FormDispatcher::cmd02_Click() { session_.cmd02_Click(); }
void FormDispatcher::cmdEXIT_Click() { session_.cmdEXIT_Click(); }
void FormDispatcher::cmdHELP_Click() { session_.cmdHELP_Click(); }
void FormDispatcher::cmdCLEARlst_Click() { session_.cmdCLEARlst_Click(); }

// The printer settings protocol.
void FormDispatcher::cmdCommunicate_Click()
{
    toProtocol(protocol_, &Controller::cmdCommunicate_Click);
}
void FormDispatcher::cmd1_Click() { toProtocol(protocol_, &Controller::cmd1_Click); }
void FormDispatcher::cmd2_Click() { toProtocol(protocol_, &Controller::cmd2_Click); }
void FormDispatcher::SSTab1_Click(int previousTab)
{
    toProtocol(protocol_, &Controller::SSTab1_Click, previousTab);
}
void FormDispatcher::optSW_Click(int switchNo, int index, bool onOption)
{
    toProtocol(protocol_, &Controller::optSW_Click, switchNo, index, onOption);
}
void FormDispatcher::combo_Click(std::string_view combo)
{
    toProtocol(protocol_, &Controller::combo_Click, combo);
}

} // namespace kt::window
