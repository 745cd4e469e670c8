// Every event of the main window, named after its control and the event.
// The window raises them through this one interface; the window's
// dispatcher (window/form_dispatcher.h) hands each to the part of the
// utility that handles it.
#pragma once

#include <string_view>

namespace kt::session {

class FormEvents {
public:
    virtual ~FormEvents() = default;

    virtual void Form_Load() = 0;   // the window was built, before it shows
    virtual void Form_Unload() = 0; // the user closes the window

    virtual void Combo1_Click() = 0;    // a port picked or typed in the port list
    virtual void cmdSTATUS_Click() = 0; // "STATUS"

    virtual void cmdCommunicate_Click() = 0; // "Communication Test"
    virtual void cmd01_Click() = 0;          // "Self Test"
    virtual void cmd02_Click() = 0;          // "Fonts Test"
    virtual void cmd1_Click() = 0;           // "Read Settings"
    virtual void cmd2_Click() = 0;           // "Write Settings"
    virtual void cmdEXIT_Click() = 0;        // "EXIT"
    virtual void cmdHELP_Click() = 0;        // "HELP"
    virtual void cmdCLEARlst_Click() = 0;    // "Clear" of the log history

    virtual void SSTab1_Click(int previousTab) = 0; // the selected tab changed
    // optSWnON(index) or optSWnOFF(index) clicked.
    virtual void optSW_Click(int switchNo, int index, bool onOption) = 0;
    // A choice in one of the combo boxes of the additional switches.
    virtual void combo_Click(std::string_view combo) = 0;
};

} // namespace kt::session
