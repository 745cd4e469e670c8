// rwKT: read one parameter or identity item, or write one parameter.
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "KT4000.h"
#include "diag_log.h"
#include "last_error.h"
#include "port.h"
#include "rwkt_commands.h"

namespace {

constexpr std::size_t kCommandBuffer = 64; // command, appended text, terminator
constexpr std::size_t kReplyBytes = 16;
constexpr int32_t kServiceTcpPort = 9100;
constexpr auto kReplyPause = std::chrono::milliseconds(200);

bool isReadIndex(int32_t index)
{
    return (index >= 1 && index <= 22) || index == kt::rwkt::kStatusIndex;
}

int32_t checkArguments(int32_t index, const char *buffer, const char *port, int32_t baud,
                       int32_t hdv)
{
    const bool service = baud == KT_RWKT_SERVICE_VALUE;
    const bool noHandle = hdv == 0 || hdv == -1;
    if (!buffer || index < 1
        || (index > kt::rwkt::kRows && index != kt::rwkt::kStatusIndex && !service)
        || (!port && noHandle))
        return KT_ERR_ARGS;
    if (service
        && (index < 1 + kt::rwkt::kWriteOffset || index > kt::rwkt::kRows + kt::rwkt::kWriteOffset))
        return KT_ERR_SERVICE;
    return KT_OK;
}

// What one call did on the port.
struct Transaction {
    kt::port::Status open;
    bool ok = false;
    int error = 0; // system error of the failed write or read
};

// Opens the port, writes the command, and reads the reply into buffer when
// asked. The connection is closed when this returns.
Transaction transact(const kt::port::OpenRequest &request, const unsigned char *cmd,
                     std::size_t length, bool readReply, char *buffer)
{
    Transaction t;
    kt::port::Connection c;
    t.open = c.open(request);
    if (!t.open.ok())
        return t;
    const bool tcp = c.kind() == kt::port::Kind::Tcp;

    const kt::port::Transfer written = c.write(cmd, length);
    t.ok = written.count == static_cast<ssize_t>(length);
    t.error = written.error;
    kt::diag::write(" WriteFile( %ld ), nob=%lu, ok=%d, skrv=%d, tm=%ld \n",
                    static_cast<long>(length),
                    static_cast<unsigned long>(written.failed() ? 0 : written.count), t.ok ? 1 : 0,
                    tcp ? static_cast<int>(written.count) : 0, kt::diag::now());

    if (t.ok && readReply) {
        std::this_thread::sleep_for(tcp ? 2 * kReplyPause : kReplyPause);
        const kt::port::Transfer r = c.read(buffer, kReplyBytes);
        t.ok = !r.failed();
        t.error = r.error;
        kt::diag::write(" ReadFile( 16 ), nob=%lu, ok=%d, skrv=%d, buf0=%x, tm=%ld \n",
                        static_cast<unsigned long>(r.failed() ? 0 : r.count), t.ok ? 1 : 0,
                        tcp ? static_cast<int>(r.count) : 0, static_cast<unsigned char>(buffer[0]),
                        kt::diag::now());
    }
    return t;
}

using kt::last_error::failure;
using kt::last_error::Outcome;

Outcome readOrWrite(int32_t index, char *buffer, const char *port, int32_t baud, int32_t hdv)
{
    kt::diag::Session log;
    kt::diag::write("\n in rwKT, idx=%ld, buf=%p, port=%s, baud=%ld, hdv=%ld, tm=%ld \n",
                    static_cast<long>(index), static_cast<void *>(buffer), kt::port::logText(port),
                    static_cast<long>(baud), static_cast<long>(hdv), kt::diag::now());
    if (const int32_t bad = checkArguments(index, buffer, port, baud, hdv); bad != KT_OK)
        return failure(bad, EINVAL);

    const bool writing = baud == KT_RWKT_SERVICE_VALUE;
    std::string_view command;
    if (writing) {
        command = kt::rwkt::writeCommand(index - kt::rwkt::kWriteOffset);
        baud = kServiceTcpPort;
    } else if (index == kt::rwkt::kStatusIndex) {
        command = kt::rwkt::statusCommand();
    } else {
        command = kt::rwkt::readCommand(index);
    }
    if (command.empty())
        return failure(KT_ERR_NOCMD, EINVAL);

    std::array<unsigned char, kCommandBuffer> cmd{};
    std::memcpy(cmd.data(), command.data(), command.size());
    std::size_t length = command.size();
    if (writing) {
        // The text must fit the command buffer with its terminator.
        const std::size_t room = kCommandBuffer - 1 - length;
        const std::size_t text = strnlen(buffer, room + 1);
        if (text > room)
            return failure(KT_ERR_ARGS, EMSGSIZE);
        std::memcpy(cmd.data() + length, buffer, text);
        length += text;
    }

    kt::diag::write(" cmds= ");
    for (std::size_t i = 0; i < length; ++i)
        kt::diag::write(" %x", cmd[i]);
    kt::diag::write("\n");
    kt::diag::flush();

    const Transaction t = transact({port, baud, hdv, false}, cmd.data(), length,
                                   !writing && isReadIndex(index), buffer);
    if (!t.open.ok())
        return failure(KT_ERR_OPEN, t.open.error);
    kt::diag::write(" out rwkt, tm=%ld \n", kt::diag::now());
    return t.ok ? kt::last_error::success(KT_OK) : failure(KT_ERR_IO, t.error);
}

} // namespace

int32_t rwKT(int32_t index, char *buffer, const char *port, int32_t baud, int32_t hdv)
{
    return kt::last_error::finish(readOrWrite(index, buffer, port, baud, hdv));
}
