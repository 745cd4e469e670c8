// Stand-ins for the serial and socket controls, for the port session
// logic: they do what the test says and record what they were asked.
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "session/serial_control.h"
#include "session/socket_control.h"

namespace kt::test {

class FakeSerial : public session::SerialControl {
public:
    bool portOpen() const override { return open; }
    void setPortOpen(bool on) override
    {
        ++openRequests;
        if (on ? opens : closes)
            open = on;
    }
    int commPort() const override { return port; }
    void setCommPort(int number) override { port = number; }
    std::string devicePath() const override { return path; }
    void setDevicePath(const std::string &p) override { path = p; }
    std::string settings() const override { return lineSettings; }
    void setSettings(const std::string &s) override { lineSettings = s; }
    int openError() const override { return open ? 0 : whyNot; }
    bool ctsHolding() const override { return cts; }
    bool dsrHolding() const override { return dsr; }
    session::IoStatus output(std::uint8_t byte) override
    {
        sent.push_back(byte);
        return open ? session::IoStatus::success()
                    : session::IoStatus::failure(EIO, "The port is closed");
    }
    int inBufferCount() override { return static_cast<int>(waiting.size()); }
    std::string input() override { return std::exchange(waiting, {}); }

    bool open = false;
    bool opens = true;  // whether a request to open takes effect
    bool closes = true; // whether a request to close takes effect
    int whyNot = 0;     // the system error of an open that does not take effect
    bool cts = true, dsr = true;
    int port = 1;
    int openRequests = 0;
    std::string path;
    std::string lineSettings = "9600,N,8,1";
    std::vector<std::uint8_t> sent;
    std::string waiting;
};

class FakeSocket : public session::SocketControl {
public:
    void setRemoteHost(const std::string &h) override { host = h; }
    void setRemotePort(std::int32_t p) override { port = p; }
    std::int32_t remotePort() const override { return port; }
    void connect() override { ++connects; }
    std::int16_t state() const override
    {
        ++stateReads;
        return states.empty() ? current : states[std::min(stateReads - 1, states.size() - 1)];
    }
    std::int32_t socketHandle() const override { return handle; }
    session::IoStatus sendData(std::uint8_t byte) override
    {
        sent.push_back(byte);
        if (sent.size() > takes) {
            error = session::IoStatus::failure(8, "Connection reset", "Winsock1");
            return error;
        }
        return session::IoStatus::success();
    }
    std::int32_t bytesReceived() override { return static_cast<std::int32_t>(waiting.size()); }
    std::string getData(std::int32_t max) override
    {
        std::string out = waiting.substr(0, static_cast<std::size_t>(max));
        waiting.erase(0, out.size());
        return out;
    }
    void discardData() override { ++discards; }
    void close() override
    {
        ++closes;
        current = session::kSocketClosed;
        handle = 0;
    }
    session::IoStatus lastError() const override { return error; }
    void clearError() override { error = session::IoStatus::success(); }

    std::string host;
    std::int32_t port = 0;
    std::int16_t current = session::kSocketClosed;
    // When set, successive state() reads give these values (the last repeats).
    std::vector<std::int16_t> states;
    mutable std::size_t stateReads = 0;
    std::int32_t handle = 0;
    int connects = 0, closes = 0, discards = 0;
    std::vector<std::uint8_t> sent;
    // How many bytes it takes before it refuses, raising an error.
    std::size_t takes = SIZE_MAX;
    std::string waiting;
    session::IoStatus error = session::IoStatus::success();
};

} // namespace kt::test
