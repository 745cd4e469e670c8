// Starting a program beside the utility, from an argument list and never
// through a shell. The HELP button uses it for the text viewer.
#pragma once

#include <string>
#include <vector>

namespace kt::session {

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Whether program can be found (a path, or a name on PATH).
    virtual bool available(const std::string &program) const = 0;
    // Starts program detached, without waiting. On failure returns false
    // and sets error to the platform's reason.
    virtual bool startDetached(const std::string &program,
                               const std::vector<std::string> &arguments, std::string &error)
        = 0;
};

// Starts detached processes with QProcess.
class QtProcessLauncher : public ProcessLauncher {
public:
    bool available(const std::string &program) const override;
    bool startDetached(const std::string &program, const std::vector<std::string> &arguments,
                       std::string &error) override;
};

} // namespace kt::session
