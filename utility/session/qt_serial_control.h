// The serial control over QSerialPort.
//
// QSerialPort only sees new bytes when events run or a wait is made, so
// inBufferCount() makes a wait of zero length before it counts.
#pragma once

#include <optional>

#include <QSerialPort>

#include "session/serial_control.h"

namespace kt::session {

class QtSerialControl : public SerialControl {
public:
    QtSerialControl();

    bool portOpen() const override;
    void setPortOpen(bool open) override;
    int commPort() const override { return commPort_; }
    void setCommPort(int number) override { commPort_ = number; }
    std::string devicePath() const override { return devicePath_; }
    void setDevicePath(const std::string &path) override { devicePath_ = path; }
    std::string settings() const override { return settings_; }
    void setSettings(const std::string &settings) override;
    int openError() const override { return openError_; }
    bool ctsHolding() const override;
    bool dsrHolding() const override;
    IoStatus output(std::uint8_t byte) override;
    int inBufferCount() override;
    std::string input() override;

    // The device that opening uses: the device path, else /dev/ttyS(n-1).
    std::string device() const;

private:
    struct LineSettings {
        qint32 baud;
        QSerialPort::Parity parity;
        QSerialPort::DataBits dataBits;
        QSerialPort::StopBits stopBits;
    };
    // The settings of a text "baud,parity,data bits,stop bits"; nothing
    // when the text is not one.
    static std::optional<LineSettings> parse(const std::string &text);
    void apply();
    // The modem line bit, or true when the device has no modem lines.
    bool lineHeld(int bit) const;
    // Why the port did not open, as a system error number.
    int whyNotOpened(const std::string &path) const;

    QSerialPort port_;
    int commPort_ = 1;
    int openError_ = 0;
    std::string devicePath_;
    std::string settings_ = "9600,N,8,1";
    mutable bool toldNoModemLines_ = false;
    LineSettings line_{9600, QSerialPort::NoParity, QSerialPort::Data8, QSerialPort::OneStop};
};

} // namespace kt::session
