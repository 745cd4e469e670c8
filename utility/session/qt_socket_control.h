// The socket control over QTcpSocket, with the control's State numbers:
// 0 closed, 4 resolving the host, 6 connecting, 7 connected, 8 closing.
#pragma once

#include <QTcpSocket>

#include "session/socket_control.h"

namespace kt::session {

class QtSocketControl : public SocketControl {
public:
    QtSocketControl();

    void setRemoteHost(const std::string &host) override { host_ = host; }
    void setRemotePort(std::int32_t port) override { port_ = port; }
    std::int32_t remotePort() const override { return port_; }
    void connect() override;
    std::int16_t state() const override;
    std::int32_t socketHandle() const override;
    IoStatus sendData(std::uint8_t byte) override;
    std::int32_t bytesReceived() override;
    std::string getData(std::int32_t maxLength) override;
    void discardData() override;
    void close() override;
    IoStatus lastError() const override { return error_; }
    void clearError() override { error_ = IoStatus::success(); }

private:
    QTcpSocket socket_;
    std::string host_;
    std::int32_t port_ = 0;
    IoStatus error_ = IoStatus::success();
};

} // namespace kt::session
