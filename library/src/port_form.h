// The port forms of the command line, and opening one of them as a
// Connection:
//
//   usb               the first USB printer of the maker
//   usb:PRODUCTID     the USB printer with that product id (hex)
//   /dev/usb/lpN      a USB printer by its node
//   COMn, /dev/...    a serial port (or any other device node)
//   LPTn, /dev/lpN    the parallel port: write-only
//   HOST[:PORT]       TCP, port 9100 by default; a host name, an IPv4
//                     address or [IPv6]:PORT
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "open_reason.h"
#include "port.h"

namespace kt::port {

enum class FormKind { UsbFirst, UsbProduct, UsbNode, Serial, Parallel, Tcp };

inline constexpr std::uint16_t kDefaultTcpPort = 9100;
inline constexpr std::int32_t kDefaultBaud = 115200;

struct PortForm {
    FormKind kind = FormKind::Tcp;
    std::string text;         // as the user gave it
    std::string target;       // device path, USB id fragment or host
    std::uint16_t number = 0; // TCP port, or USB product id

    bool usb() const;
    // The parallel port only takes data; nothing can be read from it.
    bool writeOnly() const { return kind == FormKind::Parallel; }
};

// The form of a port text, or nullopt with the reason in `error`.
std::optional<PortForm> parsePortForm(std::string_view text, std::string &error);

// Opens the form: serial ports at `baud`, 8N1; TCP connects within
// connectMs. The status carries the system error of a failed open.
Status openForm(Connection &connection, const PortForm &form, std::int32_t baud, int connectMs);

// Why an open failed, in words a technician can act on: "no such device",
// "permission denied: add your user to the group dialout", "busy", ...
std::string openErrorText(const PortForm &form, int error);

// The kind of port a form opens, for openReason().
ReasonKind reasonKind(FormKind kind);

} // namespace kt::port
