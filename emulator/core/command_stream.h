// One client connection's byte stream: buffers what has arrived, cuts
// commands off it with the parser and hands them to the printer. Not
// thread-safe; each connection has its own.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "command_parser.h"
#include "printer.h"

namespace kt::emu {

class CommandStream {
public:
    CommandStream(Printer &printer, int connection);
    ~CommandStream(); // ends the connection's automatic status back
    CommandStream(const CommandStream &) = delete;
    CommandStream &operator=(const CommandStream &) = delete;

    // Takes bytes as they arrive; gives the answers in order.
    std::vector<Handled> feed(std::span<const std::uint8_t> bytes);
    // After a pause (DataGap) or at the end of the data (EndOfStream):
    // finishes what the pause or the end completes.
    std::vector<Handled> flush(Flush level);

    // An incomplete command is waiting for more bytes.
    bool hasPending() const { return !pending_.empty() || skip_ > 0 || imagesLeft_ > 0; }
    // The drop fault ended the conversation: later bytes are ignored.
    bool dropped() const { return dropped_; }
    // Starts a new conversation on the same stream: what is pending is
    // thrown away and the drop fault counts from zero again. True when
    // anything was pending.
    bool restart();
    int connection() const { return connection_; }
    // The automatic status messages owed to this connection.
    std::vector<std::uint8_t> statusMessages() { return printer_.takeStatusMessages(connection_); }

private:
    void run(Flush flush, std::vector<Handled> &out);
    // Discards the rest of a rejected command; false when it needs more bytes.
    bool discard(std::size_t &at);
    void clearPending();

    Printer &printer_;
    const int connection_;
    const ParserLimits limits_;
    std::vector<std::uint8_t> pending_;
    std::size_t skip_ = 0;   // bytes of a rejected command still to come
    int imagesLeft_ = 0;     // images of a rejected FS q whose headers are still to come
    std::size_t wanted_ = 0; // bytes the next command needs before it is worth cutting
    int commands_ = 0;
    bool dropped_ = false;
};

} // namespace kt::emu
