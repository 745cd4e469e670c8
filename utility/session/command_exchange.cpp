#include "session/command_exchange.h"

#include <algorithm>
#include <array>

#include "open_reason.h"
#include "session/basic_text.h"
#include "session/reply_scan.h"

namespace kt::session {
namespace {

constexpr int kUsbPauseMs = 70;
constexpr std::int32_t kUsbReadWaitMs = 5;
constexpr std::size_t kUsbReadSize = 32;
constexpr int kSerialWaitMs = 30;
constexpr int kParallelWaitMs = 60;
constexpr std::size_t kParallelReadSize = 30;
constexpr int kTcpPollRounds = 1000;

constexpr const char *kUsbPort = "usb";
constexpr std::int32_t kUsbBaud = 9600;

bool allNul(const std::array<char, kUsbReadSize> &buffer)
{
    return std::all_of(buffer.begin(), buffer.end(), [](char c) { return c == '\0'; });
}

} // namespace

void CommandExchange::exchangeCommand(const Command &command, std::string &modeAndReply)
{
    const bool read = modeAndReply == "R";
    const std::string &kind = p_.state.portKind;
    lastFailure_.clear();
    if (p_.state.ending)
        modeAndReply.clear();
    else if (kind == "USB")
        modeAndReply = overUsb(command, read);
    else if (kind == "COM")
        modeAndReply = overSerial(command, read);
    else if (kind == "LPT")
        modeAndReply = overParallel(command, read);
    else if (kind == "TCP")
        modeAndReply = overTcp(command, read);
    else
        modeAndReply.clear();
}

std::string CommandExchange::overUsb(const Command &command, bool read)
{
    const SendxFunction sendx = p_.usb.sendx();
    if (!sendx)
        return {};

    // An empty command would be taken as a zero-terminated text: never
    // hand the library a length below 1.
    char noReply[1] = {'\0'};
    if (!command.empty()
        && sendx(command.data(), kUsbPort, kUsbBaud, 0, static_cast<std::int32_t>(command.size()),
                 0, 0, noReply)
            == KT_ERR_OPEN) {
        // No printer could be opened: the library tells why.
        if (const int error = p_.usb.lastError(); error != 0)
            lastFailure_ = port::openReasonSentence(port::ReasonKind::UsbSearch, error, "");
    }
    if (!read)
        return {};

    p_.clock.sleepMs(kUsbPauseMs);
    std::string reply;
    bool headerSeen = false;
    std::array<char, kUsbReadSize> buffer{};
    char filler = '\0';
    if (sendx(&filler, kUsbPort, kUsbBaud, 0, 1, kUsbReadWaitMs, kUsbReadSize, buffer.data())
        == 0) {
        if (!allNul(buffer))
            scanUsbBuffer({buffer.data(), buffer.size()}, headerSeen, reply);

        p_.clock.sleepMs(kUsbPauseMs);
        buffer.fill('\0');
        filler = ' ';
        const std::int32_t second
            = sendx(&filler, kUsbPort, kUsbBaud, 0, 1, kUsbReadWaitMs, kUsbReadSize, buffer.data());
        if (second == 0 && headerSeen && !allNul(buffer))
            scanUsbBuffer({buffer.data(), buffer.size()}, headerSeen, reply);
    }
    p_.clock.sleepMs(kUsbPauseMs);
    return reply;
}

std::string CommandExchange::overSerial(const Command &command, bool read)
{
    for (std::uint8_t byte : command) {
        if (const IoStatus sent = p_.serial.output(byte); !sent) {
            showSendError(sent);
            return {};
        }
    }
    if (!read)
        return {};
    p_.clock.sleepMs(kSerialWaitMs);
    if (p_.serial.inBufferCount() > 0)
        return scanStream(p_.serial.input());
    return {};
}

std::string CommandExchange::overParallel(const Command &command, bool read)
{
    for (std::uint8_t byte : command) {
        if (const IoStatus sent = p_.parallel.write(byte); !sent) {
            showSendError(sent);
            return {};
        }
    }
    if (!read)
        return {};
    p_.clock.sleepMs(kParallelWaitMs);
    p_.ports.openLPT(false, "W");
    p_.ports.openLPT(true, "R");
    const std::string received = p_.parallel.read(kParallelReadSize);
    p_.ports.openPort(p_.state.portName, true);
    return scanStream(received);
}

bool CommandExchange::eventsRan()
{
    if (!p_.state.ending)
        p_.clock.processEvents();
    return !p_.state.ending;
}

bool CommandExchange::statusRefreshed()
{
    if (!p_.state.ending)
        p_.ports.cmdSTATUS_Click();
    return !p_.state.ending;
}

std::string CommandExchange::overTcp(const Command &command, bool read)
{
    SocketControl &socket = p_.socket;
    if (!statusRefreshed() || !eventsRan())
        return {};
    if (const std::int16_t state = socket.state(); state != kSocketConnected) {
        p_.ports.cmdSTATUS_Click();
        p_.messages.show("Could not send data now, please check lan printer status..."
                             + numberText(state),
                         MessageIcon::None);
        return {};
    }

    socket.clearError();
    // A byte the socket does not take raises the connection's error, which
    // is told once the exchange is done; the rest would not go out either.
    for (std::uint8_t byte : command)
        if (!socket.sendData(byte))
            break;
    p_.clock.sleepMs(kTcpSendWaitMs);
    if (!statusRefreshed() || !eventsRan() || !read)
        return {};

    for (int round = 0; round < kTcpPollRounds; ++round) {
        if (socket.bytesReceived() > 0)
            break;
        if (!eventsRan())
            return {};
        p_.clock.sleepMs(kTcpPollIntervalMs);
    }
    const std::string received = socket.getData(socket.bytesReceived());
    if (!eventsRan())
        return {};
    p_.clock.sleepMs(kTcpAfterReadMs);
    std::string reply = scanStream(received);

    if (const IoStatus error = socket.lastError(); !error)
        p_.messages.show("Error # " + numberText(error.number()) + " was generated by "
                             + error.source() + "\r" + error.description(),
                         MessageIcon::None, MessageButtons::Ok, "Error");
    return reply;
}

void CommandExchange::showSendError(const IoStatus &error)
{
    p_.messages.show(fileErrorMessage(error), MessageIcon::None);
}

} // namespace kt::session
