// The window's event handlers that belong to the printer settings protocol.
// The window forwards these events; the protocol controller implements them.
#pragma once

#include <string_view>

namespace kt::protocol {

class FormEvents {
public:
    virtual ~FormEvents() = default;
    virtual void cmdCommunicate_Click() = 0;                              // "Communication Test"
    virtual void cmd1_Click() = 0;                                        // "Read Settings"
    virtual void cmd2_Click() = 0;                                        // "Write Settings"
    virtual void SSTab1_Click(int previousTab) = 0;                       // selected tab changed
    virtual void optSW_Click(int switchNo, int index, bool onOption) = 0; // optSWnON/OFF(index)
    virtual void combo_Click(std::string_view combo) = 0; // comboCodePage, comboInterChars, ...
};

} // namespace kt::protocol
