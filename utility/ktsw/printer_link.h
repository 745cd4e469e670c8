// One connection to the printer for a whole command: commands are sent
// whole, and each reply is read until the printer's NUL terminator or the
// per-reply time-out.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "outcome.h"
#include "protocol/commands.h"

namespace kt::port {
class Connection;
struct PortForm;
} // namespace kt::port

namespace kt::ktsw {

using protocol::Command;

struct LinkOptions {
    std::string port;
    int timeoutMs = 1000;
    int connectMs = 0; // TCP connect bound; 0: the reply time-out
    int baud = 115200;
    bool json = false;
    // The end of the time given to the printer as a whole (deploy): no
    // connect or reply is awaited past it, and nothing is sent after it.
    std::optional<std::chrono::steady_clock::time_point> until;
};

class PrinterLink {
public:
    // Opens the port; a failure says why (exit 3), or that the text is no
    // port form (exit 2).
    static Result<std::unique_ptr<PrinterLink>> open(const LinkOptions &options);
    ~PrinterLink();
    PrinterLink(const PrinterLink &) = delete;
    PrinterLink &operator=(const PrinterLink &) = delete;

    // False on the parallel port, which only takes data.
    bool replies() const;
    const std::string &portText() const;
    int timeoutMs() const { return timeoutMs_; }

    // Sends the command whole.
    Result<Done> send(const Command &command);

    // Sends a query and reads its reply: the value without the "_" header
    // and the NULs at its ends. nullopt when nothing came within the
    // time-out; a failure when the connection ended or the send failed.
    Result<std::optional<std::string>> query(const Command &command);

    // Sends a real-time request and reads its one status byte.
    Result<std::optional<std::uint8_t>> statusByte(const Command &command);

private:
    PrinterLink(std::unique_ptr<port::Connection> connection, std::unique_ptr<port::PortForm> form,
                const LinkOptions &options);
    // The time to wait for the next reply: the per-reply time-out, cut to
    // what is left of the printer's whole time.
    int waitMs() const;
    // Sends the command and receives its raw reply; nullopt when nothing came.
    Result<std::optional<std::string>> exchange(const Command &command,
                                                bool (*done)(const std::string &received));
    // Reads until `done` says the bytes are complete or the time-out passes.
    Result<std::string> receive(bool (*done)(const std::string &received));
    Failure lost(int error) const;

    std::unique_ptr<port::Connection> connection_;
    std::unique_ptr<port::PortForm> form_;
    int timeoutMs_;
    std::optional<std::chrono::steady_clock::time_point> until_;
};

// A failure for a printer that did not answer a command.
Failure noAnswer(const PrinterLink &link, std::string_view what);

} // namespace kt::ktsw
