#include "port_form.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "open_reason.h"
#include "port_named.h"

namespace kt::port {
namespace {

constexpr std::string_view kVendorFragment = "vid_5e1b&";

bool equalsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i]))
            != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool startsNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

// "COM3" or "LPT1": the prefix in any case and 1 to 3 digits.
bool isNumberedPort(std::string_view text, std::string_view prefix)
{
    if (!startsNoCase(text, prefix) || text.size() == prefix.size()
        || text.size() > prefix.size() + 3)
        return false;
    for (char c : text.substr(prefix.size()))
        if (c < '0' || c > '9')
            return false;
    return true;
}

std::optional<unsigned> parseUnsigned(std::string_view text, int base, unsigned max)
{
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value > max)
        return std::nullopt;
    return value;
}

bool isParallelPath(std::string_view path)
{
    return path.starts_with("/dev/lp") || path.starts_with("/dev/parport");
}

bool parseHost(std::string_view text, PortForm &form, std::string &error)
{
    std::string_view host = text;
    std::string_view port;
    if (text.starts_with('[')) {
        const auto close = text.find(']');
        if (close == std::string_view::npos) {
            error = "'" + std::string(text) + "' has no closing ']'";
            return false;
        }
        host = text.substr(1, close - 1);
        const std::string_view rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (!rest.starts_with(':')) {
                error = "'" + std::string(text) + "': expected [ADDRESS]:PORT";
                return false;
            }
            port = rest.substr(1);
        }
    } else if (const auto colon = text.find(':'); colon != std::string_view::npos
               && text.find(':', colon + 1) == std::string_view::npos) {
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
    } // several colons without brackets: an IPv6 address without a port
    if (host.empty()) {
        error = "'" + std::string(text) + "' names no host";
        return false;
    }
    form.number = kDefaultTcpPort;
    if (!port.empty() || text.ends_with(':')) {
        const auto n = parseUnsigned(port, 10, 65535);
        if (!n || *n == 0) {
            error = "TCP port '" + std::string(port) + "' is not a number from 1 to 65535";
            return false;
        }
        form.number = static_cast<std::uint16_t>(*n);
    }
    form.kind = FormKind::Tcp;
    form.target = host;
    return true;
}

} // namespace

bool PortForm::usb() const
{
    return kind == FormKind::UsbFirst || kind == FormKind::UsbProduct || kind == FormKind::UsbNode;
}

std::optional<PortForm> parsePortForm(std::string_view text, std::string &error)
{
    PortForm form;
    form.text = text;
    if (text.empty()) {
        error = "no port given";
        return std::nullopt;
    }
    if (equalsNoCase(text, "usb")) {
        form.kind = FormKind::UsbFirst;
        form.target = kVendorFragment;
    } else if (startsNoCase(text, "usb:")) {
        std::string_view id = text.substr(4);
        if (startsNoCase(id, "0x"))
            id.remove_prefix(2);
        const auto product = id.size() <= 4 ? parseUnsigned(id, 16, 0xFFFF) : std::nullopt;
        if (!product) {
            error = "USB product id '" + std::string(text.substr(4)) + "' is not 1 to 4 hex digits";
            return std::nullopt;
        }
        char fragment[32];
        std::snprintf(fragment, sizeof fragment, "%.*spid_%04x",
                      static_cast<int>(kVendorFragment.size()), kVendorFragment.data(), *product);
        form.kind = FormKind::UsbProduct;
        form.target = fragment;
        form.number = static_cast<std::uint16_t>(*product);
    } else if (text.starts_with("/dev/usb/")) {
        form.kind = FormKind::UsbNode;
        form.target = text;
    } else if (isNumberedPort(text, "LPT") || isParallelPath(text)) {
        form.kind = FormKind::Parallel;
        form.target = devicePath(std::string(text).c_str());
    } else if (isNumberedPort(text, "COM") || text.starts_with("/dev/")) {
        form.kind = FormKind::Serial;
        form.target = devicePath(std::string(text).c_str());
    } else if (!parseHost(text, form, error)) {
        return std::nullopt;
    }
    if (form.target.empty()) {
        error = "port '" + std::string(text) + "' is too long";
        return std::nullopt;
    }
    return form;
}

Status openForm(Connection &connection, const PortForm &form, std::int32_t baud, int connectMs)
{
    OpenRequest request;
    request.text = form.target.c_str();
    request.baud = baud;
    request.connectMs = connectMs;
    switch (form.kind) {
    case FormKind::UsbFirst:
    case FormKind::UsbProduct: return connection.open(usbFragmentOperations, request);
    case FormKind::UsbNode: return connection.open(usbNodeOperations, request);
    case FormKind::Serial:
    case FormKind::Parallel:
        // The named backend treats COMn and terminals as serial ports and
        // gives anything else time-outs only.
        request.text = form.text.c_str();
        request.purge = true;
        return connection.open(namedOperations, request);
    case FormKind::Tcp:
        request.baud = form.number;
        return connection.open(tcpHostOperations, request);
    }
    return {EINVAL};
}

std::string openErrorText(const PortForm &form, int error)
{
    return openReason(reasonKind(form.kind), error, form.target);
}

ReasonKind reasonKind(FormKind kind)
{
    switch (kind) {
    case FormKind::UsbFirst:
    case FormKind::UsbProduct: return ReasonKind::UsbSearch;
    case FormKind::UsbNode: return ReasonKind::UsbNode;
    case FormKind::Serial: return ReasonKind::Serial;
    case FormKind::Parallel: return ReasonKind::Parallel;
    case FormKind::Tcp: break;
    }
    return ReasonKind::Tcp;
}

} // namespace kt::port
