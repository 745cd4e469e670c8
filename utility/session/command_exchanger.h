// The one procedure through which every printer command travels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kt::session {

using Command = std::vector<std::uint8_t>;

class CommandExchanger {
public:
    virtual ~CommandExchanger() = default;
    // Sends command on the selected port. modeAndReply holds "R" on entry to
    // ask for a reply (anything else: send only); on return it holds the
    // reply, one char per received byte, without its "_" header, or "".
    virtual void exchangeCommand(const Command &command, std::string &modeAndReply) = 0;

    // Why the last command could not reach the printer at all, as a
    // sentence for the user; empty when it went out or the cause is unknown.
    virtual std::string lastFailure() const { return {}; }
};

} // namespace kt::session
