// Serves one descriptor: reads what the client sends, feeds it to a
// command stream, writes the answers back.
#pragma once

#include "command_stream.h"
#include "printer.h"
#include "stop_signal.h"

#include <chrono>

namespace kt::emu {

struct StreamTiming {
    // A pause this long ends a parameter value that came without its NUL
    // (the library's parameter write sends none).
    std::chrono::milliseconds dataGap{50};
    // A command still incomplete this long after the last byte is dropped.
    std::chrono::milliseconds commandTimeout{1000};
    // Longest wait for room to write an answer before it is dropped.
    std::chrono::milliseconds writeBound{2000};
};

enum class PeerKind {
    Socket,   // end of data ends the connection
    Terminal, // a pseudo-terminal: the other side may close and open again
};

enum class ServeEnd { PeerClosed, Dropped, Stopped, Failed };

// Serves `fd` (made non-blocking) until the peer closes it (sockets), the
// drop fault closes the connection, the stop is raised, or it fails. The
// descriptor is left open.
ServeEnd serveFd(int fd, PeerKind kind, Printer &printer, int connection, const StreamTiming &timing,
                 const StopSignal &stop);

} // namespace kt::emu
