// The control socket: a Unix stream socket, served by the event loop, on
// which a tester changes a running emulator with one-line commands and
// gets one line back for each.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "listening_source.h"

namespace kt::emu {

// Takes one command line (without its newline), gives the answer line.
using ControlHandler = std::function<std::string(const std::string &line)>;

class ControlListener : public ListeningSource {
public:
    // Listens on `path`. A socket left there by a process that is gone is
    // replaced; a socket someone still listens on, or any other file, is
    // not touched and makes this throw std::runtime_error.
    ControlListener(const std::filesystem::path &path, ControlHandler handler);
    ~ControlListener() override; // removes the socket file if it is still ours

private:
    void accepted(int client, EventLoop &loop) override;

    std::filesystem::path path_;
    std::shared_ptr<const ControlHandler> handler_; // shared with the sessions
    unsigned long inode_ = 0;                       // of the socket file made here
    Clock::time_point restUntil_{};
};

} // namespace kt::emu
