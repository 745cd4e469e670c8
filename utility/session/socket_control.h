// The TCP socket control Winsock1: the members the utility uses of it.
#pragma once

#include <cstdint>
#include <string>

#include "session/io_status.h"

namespace kt::session {

// Values of State that the utility tells apart; others show as "unknown".
inline constexpr std::int16_t kSocketClosed = 0;
inline constexpr std::int16_t kSocketConnecting = 6;
inline constexpr std::int16_t kSocketConnected = 7;

class SocketControl {
public:
    virtual ~SocketControl() = default;

    virtual void setRemoteHost(const std::string &host) = 0;
    virtual void setRemotePort(std::int32_t port) = 0;
    virtual std::int32_t remotePort() const = 0;

    // Starts connecting and returns at once; progress shows in state().
    virtual void connect() = 0;
    virtual std::int16_t state() const = 0;
    // 1 or more while the control holds a socket of an earlier connection.
    virtual std::int32_t socketHandle() const = 0;

    // Queues one byte for sending; fails when it could not be queued.
    virtual IoStatus sendData(std::uint8_t byte) = 0;
    virtual std::int32_t bytesReceived() = 0;
    // Moves up to maxLength waiting bytes out, one char per byte.
    virtual std::string getData(std::int32_t maxLength) = 0;
    // Discards whatever is waiting.
    virtual void discardData() = 0;
    virtual void close() = 0;

    // The last error raised by the connection since clearError(), with the
    // control's name as its source; success when none. A peer that ends the
    // connection is not an error.
    virtual IoStatus lastError() const = 0;
    virtual void clearError() = 0;
};

} // namespace kt::session
