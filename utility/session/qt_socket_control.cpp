#include "session/qt_socket_control.h"

#include <limits>

namespace kt::session {
namespace {

// The control's name, the source of its errors.
constexpr const char *kControl = "Winsock1";

} // namespace

QtSocketControl::QtSocketControl()
{
    QObject::connect(&socket_, &QAbstractSocket::errorOccurred, &socket_,
                     [this](QAbstractSocket::SocketError e) {
                         // A peer that ends the connection and a wait that
                         // timed out are normal events, not errors.
                         if (e == QAbstractSocket::RemoteHostClosedError
                             || e == QAbstractSocket::SocketTimeoutError)
                             return;
                         // Numbered from 1 so that 0 keeps meaning "no error".
                         error_ = IoStatus::failure(static_cast<int>(e) + 1,
                                                    socket_.errorString().toStdString(), kControl);
                     });
    // Commands go out one byte at a time: with Nagle's algorithm every byte
    // after the first would wait for the acknowledgement of the one before.
    QObject::connect(&socket_, &QAbstractSocket::connected, &socket_,
                     [this] { socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1); });
}

void QtSocketControl::connect()
{
    if (port_ < 1 || port_ > 65535 || host_.empty()) {
        error_ = IoStatus::failure(static_cast<int>(QAbstractSocket::HostNotFoundError) + 1,
                                   "Invalid address or port", kControl);
        return;
    }
    // A socket still looking up a host name or connecting would ignore the
    // new address: it starts over instead.
    if (socket_.state() != QAbstractSocket::UnconnectedState)
        socket_.abort();
    socket_.connectToHost(QString::fromStdString(host_), static_cast<quint16>(port_));
}

std::int16_t QtSocketControl::state() const
{
    switch (socket_.state()) {
    case QAbstractSocket::UnconnectedState: return kSocketClosed;
    case QAbstractSocket::BoundState: return 1;
    case QAbstractSocket::ListeningState: return 2;
    case QAbstractSocket::HostLookupState: return 4;
    case QAbstractSocket::ConnectingState: return kSocketConnecting;
    case QAbstractSocket::ConnectedState: return kSocketConnected;
    case QAbstractSocket::ClosingState: return 8;
    }
    return 9;
}

std::int32_t QtSocketControl::socketHandle() const
{
    const qintptr fd = socket_.socketDescriptor();
    if (fd < 0)
        return 0;
    return fd < 1 ? 1 : static_cast<std::int32_t>(fd);
}

IoStatus QtSocketControl::sendData(std::uint8_t byte)
{
    if (socket_.state() != QAbstractSocket::ConnectedState)
        return IoStatus::failure(static_cast<int>(QAbstractSocket::UnknownSocketError) + 1,
                                 "Not connected", kControl);
    const char c = static_cast<char>(byte);
    if (socket_.write(&c, 1) != 1)
        return IoStatus::failure(static_cast<int>(socket_.error()) + 1,
                                 socket_.errorString().toStdString(), kControl);
    socket_.flush();
    return IoStatus::success();
}

std::int32_t QtSocketControl::bytesReceived()
{
    const qint64 n = socket_.bytesAvailable();
    return n > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                        : static_cast<std::int32_t>(n);
}

std::string QtSocketControl::getData(std::int32_t maxLength)
{
    if (maxLength <= 0)
        return {};
    return socket_.read(maxLength).toStdString();
}

void QtSocketControl::discardData() { socket_.readAll(); }

void QtSocketControl::close() { socket_.abort(); }

} // namespace kt::session
