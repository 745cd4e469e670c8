// Starting a program beside the utility, from an argument list and never
// through a shell. The HELP button uses it for the text viewer.
#pragma once

#include <string>
#include <vector>

#include "session/io_status.h"

namespace kt::session {

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Whether program can be found (a path, or a name on PATH).
    virtual bool available(const std::string &program) const = 0;
    // Starts program detached, without waiting; a failure carries the
    // platform's reason.
    virtual IoStatus startDetached(const std::string &program,
                                   const std::vector<std::string> &arguments)
        = 0;
};

// Starts detached processes with QProcess.
class QtProcessLauncher : public ProcessLauncher {
public:
    bool available(const std::string &program) const override;
    IoStatus startDetached(const std::string &program,
                           const std::vector<std::string> &arguments) override;
};

} // namespace kt::session
