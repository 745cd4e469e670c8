#include "printer_link.h"

#include <algorithm>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include "port.h"
#include "port_form.h"
#include "protocol/text_rules.h"

namespace kt::ktsw {
namespace {

constexpr char kReplyHeader = '_';

bool terminated(const std::string &received) { return received.find('\0') != std::string::npos; }
bool oneByte(const std::string &received) { return !received.empty(); }

// The reply up to its terminator, without the header byte and the NULs.
std::string replyValue(const std::string &received)
{
    std::string_view value(received);
    value = value.substr(0, value.find('\0'));
    if (!value.empty() && value.front() == kReplyHeader)
        value.remove_prefix(1);
    return std::string(protocol::replyValue(value));
}

} // namespace

Result<std::unique_ptr<PrinterLink>> PrinterLink::open(const LinkOptions &options)
{
    std::string error;
    auto form = port::parsePortForm(options.port, error);
    if (!form)
        return Failure{kExitUsage, error};
    auto connection = std::make_unique<port::Connection>();
    int connectMs = options.connectMs > 0 ? options.connectMs : options.timeoutMs;
    if (options.until) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            *options.until - std::chrono::steady_clock::now());
        connectMs = static_cast<int>(std::min<std::int64_t>(connectMs, left.count()));
    }
    const port::Status status
        = port::openForm(*connection, *form, options.baud, std::max(connectMs, 1));
    if (!status.ok())
        return Failure{kExitPort,
                       "cannot open " + options.port + ": "
                           + port::openErrorText(*form, status.error),
                       status.error};
    // Every command goes out whole in one write; without this a query that
    // follows the writes of a frame waits for the printer's delayed ACK.
    if (form->kind == port::FormKind::Tcp) {
        const int one = 1;
        ::setsockopt(connection->fd(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    }
    return std::unique_ptr<PrinterLink>(
        new PrinterLink(std::move(connection), std::make_unique<port::PortForm>(*form), options));
}

PrinterLink::PrinterLink(std::unique_ptr<port::Connection> connection,
                         std::unique_ptr<port::PortForm> form, const LinkOptions &options)
    : connection_(std::move(connection)),
      form_(std::move(form)),
      timeoutMs_(options.timeoutMs),
      until_(options.until)
{ }

int PrinterLink::waitMs() const
{
    if (!until_)
        return timeoutMs_;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        *until_ - std::chrono::steady_clock::now());
    return static_cast<int>(std::clamp<std::int64_t>(left.count(), 0, timeoutMs_));
}

PrinterLink::~PrinterLink() = default;

bool PrinterLink::replies() const { return !form_->writeOnly(); }
const std::string &PrinterLink::portText() const { return form_->text; }

Failure PrinterLink::lost(int error) const
{
    if (error == ECONNRESET || error == EPIPE || error == EIO)
        return {kExitNoAnswer, "the printer on " + form_->text + " closed the connection"};
    return {kExitNoAnswer, "lost the printer on " + form_->text + ": " + std::strerror(error)};
}

Result<Done> PrinterLink::send(const Command &command)
{
    if (waitMs() <= 0)
        return Failure{kExitNoAnswer,
                       "the time given to the printer on " + form_->text + " ran out"};
    if (replies())
        connection_->discardInput(); // a late answer to an earlier command
    const port::Transfer t = connection_->write(command.data(), command.size());
    if (t.failed())
        return lost(t.error);
    return Done{};
}

Result<std::string> PrinterLink::receive(bool (*done)(const std::string &))
{
    std::string received;
    const port::Deadline deadline(waitMs());
    char buffer[256];
    while (!done(received)) {
        const int left = deadline.remainingMs();
        if (left <= 0)
            break;
        const port::Transfer t = connection_->readWithin(buffer, sizeof buffer, left);
        if (t.failed())
            return lost(t.error);
        received.append(buffer, static_cast<std::size_t>(t.count));
    }
    return received;
}

Result<std::optional<std::string>> PrinterLink::exchange(const Command &command,
                                                         bool (*done)(const std::string &))
{
    if (auto sent = send(command); !sent.ok())
        return sent.failure();
    auto received = receive(done);
    if (!received.ok())
        return received.failure();
    if (received.value().empty())
        return std::optional<std::string>();
    return std::optional<std::string>(std::move(received.value()));
}

Result<std::optional<std::string>> PrinterLink::query(const Command &command)
{
    auto raw = exchange(command, terminated);
    // Bytes without a terminator are still what the printer said.
    if (raw.ok() && raw.value())
        *raw.value() = replyValue(*raw.value());
    return raw;
}

Result<std::optional<std::uint8_t>> PrinterLink::statusByte(const Command &command)
{
    auto raw = exchange(command, oneByte);
    if (!raw.ok())
        return raw.failure();
    if (!raw.value())
        return std::optional<std::uint8_t>();
    return std::optional<std::uint8_t>(static_cast<std::uint8_t>(raw.value()->front()));
}

Failure noAnswer(const PrinterLink &link, std::string_view what)
{
    return {kExitNoAnswer,
            "no answer to " + std::string(what) + " from " + link.portText() + " within "
                + std::to_string(link.timeoutMs()) + " ms"};
}

} // namespace kt::ktsw
