#include "session/port_session.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "session/basic_text.h"
#include "session/control_names.h"
#include "session/device_names.h"

namespace kt::session {
namespace {

constexpr int kTimer1IntervalMs = 3000;

// Baud options in the order they are looked at, with their texts.
constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kBaudOptions{{
    {controls::com_BR_115200, "115200"},
    {controls::com_BR_38400, "38400"},
    {controls::com_BR_19200, "19200"},
    {controls::com_BR_9600, "9600"},
}};

struct StatusLook {
    std::string_view text;
    Rgb colour;
};

StatusLook statusLook(std::int16_t state)
{
    switch (state) {
    case kSocketClosed: return {"Disconnect", {255, 0, 0}};
    case kSocketConnecting: return {"Connecting...", {0, 0, 0}};
    case kSocketConnected: return {"Connected", {0, 0, 192}};
    default: return {"unknown", {0, 0, 0}};
    }
}

} // namespace

std::string reasonLine(port::ReasonKind kind, int error, const std::string &device)
{
    if (error == 0)
        return {};
    return "\r\n\r\n" + port::openReasonSentence(kind, error, device);
}

PortSession::PortSession(Parts parts) : p_(parts)
{
    timer1_.setInterval(kTimer1IntervalMs);
    QObject::connect(&timer1_, &QTimer::timeout, [this] { cmdSTATUS_Click(); });
}

void PortSession::setTimer1Enabled(bool on)
{
    if (on && !timer1_.isActive())
        timer1_.start();
    else if (!on)
        timer1_.stop();
}

void PortSession::combo1Click()
{
    const std::string text = p_.view.text(controls::Combo1);
    p_.state.setPort(text);
    const bool none = text.starts_with("USB") || text == "LPT1";
    const bool tcp = text == "TCP/IP";
    p_.view.setVisible(controls::frameCOMm, !none && !tcp);
    p_.view.setVisible(controls::frameTCPIP, tcp);
}

bool PortSession::openPort(const std::string &name, bool open)
{
    const std::string &kind = p_.state.portKind;
    if (kind == "COM")
        return openSerial(name, open);
    if (kind == "LPT")
        openLPT(open, "W");
    else if (kind == "TCP")
        openTcp(open);
    return true;
}

bool PortSession::openSerial(const std::string &name, bool open)
{
    SerialControl &serial = p_.serial;
    if (serial.portOpen())
        serial.setPortOpen(false);
    // A typed path that is no terminal (a regular file, /dev/null) cannot be
    // a printer's serial port: it is refused, with the reason.
    if (open && isDevicePath(name)) {
        if (const auto why = whyNotASerialPort(name)) {
            p_.messages.show(name + " is not a serial port: " + *why + ".", MessageIcon::Critical);
            return false;
        }
    }
    if (serial.portOpen() != open) {
        const long number = name.size() > 3 ? leadingDigits(std::string_view(name).substr(3)) : 0;
        serial.setCommPort(static_cast<int>(std::min(number, 32767L)));
        serial.setDevicePath(isDevicePath(name) ? name : std::string());
        std::string baud;
        for (const auto &[option, text] : kBaudOptions) {
            if (p_.view.checked(option)) {
                baud = text;
                break;
            }
        }
        std::string parity;
        if (p_.view.checked(controls::com_PK_NONE))
            parity = "N";
        else if (p_.view.checked(controls::com_PK_EVEN))
            parity = "E";
        serial.setSettings(baud + "," + parity + ",8,1");
        serial.setPortOpen(open);
    }

    // A typed device path is named as it stands, a COM port by its number.
    const std::string port = serial.devicePath().empty() ? "COM" + std::to_string(serial.commPort())
                                                         : serial.devicePath();
    if (serial.portOpen() != open) {
        std::string text = "The " + port + " can not " + (open ? "OPEN" : "CLOSE") + " !!\r\r"
            + "Please check that whether <printer driver> or <other application> occupy it !";
        if (open)
            text += reasonLine(port::ReasonKind::Serial, serial.openError(),
                               serial.devicePath().empty() ? serialDeviceOf(serial.commPort())
                                                           : serial.devicePath());
        p_.messages.show(text, MessageIcon::Critical);
        return false;
    }
    if (open && (!serial.dsrHolding() || !serial.ctsHolding())) {
        p_.messages.show("The " + port + " port is busy...\r\n\r\n"
                             + "Please double check the printer cable status.",
                         MessageIcon::Critical);
        return false;
    }
    return true;
}

void PortSession::openTcp(bool open)
{
    SocketControl &socket = p_.socket;
    if (!open) {
        socket.close();
        setTimer1Enabled(false);
        cmdSTATUS_Click();
        return;
    }
    if (socket.socketHandle() >= 1)
        socket.close();
    socket.setRemoteHost(p_.view.text(controls::tcpIP));
    if (const auto port = wholeNumber(p_.view.text(controls::tcpListenPort), 0, 65535))
        socket.setRemotePort(static_cast<std::int32_t>(*port));
    socket.connect();
    socket.discardData();
    p_.state.lastSocketState = -1;
    cmdSTATUS_Click();
    p_.clock.sleepMs(10);
    setTimer1Enabled(true);
}

void PortSession::openLPT(bool open, const std::string &mode)
{
    ParallelPort &lpt = p_.parallel;
    if (!open) {
        const IoStatus closed = lpt.close();
        setTimer1Enabled(true);
        if (!closed)
            showFileError(closed);
        return;
    }
    if (const IoStatus closed = lpt.close(); !closed) {
        showFileError(closed);
        return;
    }
    if (const IoStatus opened = lpt.open(mode == "R"); !opened)
        p_.messages.show(
            fileErrorMessage(opened)
                + reasonLine(port::ReasonKind::Parallel, opened.number(), lpt.device()),
            MessageIcon::None);
}

void PortSession::showFileError(const IoStatus &error)
{
    p_.messages.show(fileErrorMessage(error), MessageIcon::None);
}

void PortSession::cmdSTATUS_Click()
{
    if (p_.socket.state() == p_.state.lastSocketState)
        return;
    p_.clock.sleepMs(5);
    p_.clock.processEvents();
    p_.state.lastSocketState = p_.socket.state();
    const StatusLook look = statusLook(p_.state.lastSocketState);
    p_.view.setText(controls::txtSTATUS, look.text);
    p_.view.setTextColour(controls::txtSTATUS, look.colour);
}

} // namespace kt::session
