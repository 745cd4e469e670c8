// Ending the program as the EXIT button does (close the port, unload the
// window, end the process). Protocol steps that must end the run call it.
#pragma once

namespace kt::session {

class ProgramControl {
public:
    virtual ~ProgramControl() = default;
    virtual void exitProgram() = 0;
};

} // namespace kt::session
