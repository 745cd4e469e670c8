// Why a port could not be opened, in words a technician can act on: the
// command line prints it after the port, the window adds it as a line of
// its own under its message. Plain C++ and POSIX, so that every part of
// the tool can link it.
#pragma once

#include <string>

namespace kt::port {

// What kind of port the open was for: the same error means different
// things on a serial line, a printer node, a USB search and a network.
enum class ReasonKind { Serial, Parallel, UsbNode, UsbSearch, Tcp };

// The group whose members may open the node at `path`: the node's own
// group when that group may read and write it, else the group such nodes
// usually have (dialout for serial ports, lp for printers).
std::string accessGroup(ReasonKind kind, const std::string &path);

// The reason for the system error `error`, starting in lower case:
// "no such device: nothing is attached at /dev/ttyS0", "permission denied:
// add your user to the group dialout", "busy: another program has the port
// open", "connection refused", ... `target` is the device path, or the host
// for TCP.
std::string openReason(ReasonKind kind, int error, const std::string &target);

// The same as a sentence of its own: "Permission denied: add your user to
// the group dialout".
std::string openReasonSentence(ReasonKind kind, int error, const std::string &target);

} // namespace kt::port
