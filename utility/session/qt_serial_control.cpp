#include "session/qt_serial_control.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

#include <QLoggingCategory>

#include "session/basic_text.h"
#include "session/device_names.h"

namespace kt::session {
namespace {

Q_LOGGING_CATEGORY(lcSerial, "kt.session.serial")

constexpr int kWriteTimeoutMs = 1000;

// Every way a byte can fail to go out reads the same to the user.
IoStatus notTaken() { return IoStatus::failure(EIO, "The serial port did not take the command"); }

std::vector<std::string> fieldsOf(const std::string &text)
{
    std::vector<std::string> fields(1);
    for (char c : text) {
        if (c == ',')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

} // namespace

QtSerialControl::QtSerialControl() = default;

bool QtSerialControl::portOpen() const { return port_.isOpen(); }

std::string QtSerialControl::device() const
{
    return devicePath_.empty() ? serialDeviceOf(commPort_) : devicePath_;
}

void QtSerialControl::setPortOpen(bool open)
{
    if (open == port_.isOpen())
        return;
    if (!open) {
        port_.close();
        return;
    }
    const std::string path = device();
    openError_ = 0;
    if (path.empty()) {
        openError_ = ENOENT;
        return;
    }
    port_.setPortName(QString::fromStdString(path));
    toldNoModemLines_ = false;
    apply();
    if (!port_.open(QIODevice::ReadWrite)) {
        qCInfo(lcSerial) << "cannot open" << port_.portName() << port_.errorString();
        openError_ = whyNotOpened(path);
        port_.clearError();
        return;
    }
    apply();
}

std::optional<QtSerialControl::LineSettings> QtSerialControl::parse(const std::string &text)
{
    const std::vector<std::string> f = fieldsOf(text);
    if (f.size() != 4)
        return std::nullopt;
    const auto baud = wholeNumber(f[0], 50, 4000000);
    const auto bits = wholeNumber(f[2], 5, 8);
    const auto stop = wholeNumber(f[3], 1, 2);
    if (!baud || !bits || !stop || f[1].size() != 1)
        return std::nullopt;
    LineSettings out{};
    switch (f[1][0]) {
    case 'N':
    case 'n': out.parity = QSerialPort::NoParity; break;
    case 'E':
    case 'e': out.parity = QSerialPort::EvenParity; break;
    case 'O':
    case 'o': out.parity = QSerialPort::OddParity; break;
    case 'M':
    case 'm': out.parity = QSerialPort::MarkParity; break;
    case 'S':
    case 's': out.parity = QSerialPort::SpaceParity; break;
    default: return std::nullopt;
    }
    out.baud = static_cast<qint32>(*baud);
    out.dataBits = static_cast<QSerialPort::DataBits>(*bits);
    out.stopBits = *stop == 1 ? QSerialPort::OneStop : QSerialPort::TwoStop;
    return out;
}

void QtSerialControl::setSettings(const std::string &settings)
{
    const std::optional<LineSettings> parsed = parse(settings);
    if (!parsed) {
        qCInfo(lcSerial) << "line settings not applied:" << settings.c_str();
        return;
    }
    settings_ = settings;
    line_ = *parsed;
    if (port_.isOpen())
        apply();
}

void QtSerialControl::apply()
{
    port_.setBaudRate(line_.baud);
    port_.setParity(line_.parity);
    port_.setDataBits(line_.dataBits);
    port_.setStopBits(line_.stopBits);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    port_.clearError();
}

bool QtSerialControl::lineHeld(int bit) const
{
    if (!port_.isOpen())
        return false;
    int lines = 0;
    if (::ioctl(static_cast<int>(port_.handle()), TIOCMGET, &lines) == 0)
        return (lines & bit) != 0;
    if (errno == ENOTTY || errno == EINVAL) {
        if (!toldNoModemLines_)
            qCInfo(lcSerial) << port_.portName()
                             << "has no modem lines; CTS and DSR are taken as held";
        toldNoModemLines_ = true;
        return true;
    }
    return false;
}

int QtSerialControl::whyNotOpened(const std::string &path) const
{
    // The port's own error lumps "permission denied" and "in use" together;
    // an open of our own, which never waits, tells the system's reason.
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    ::close(fd);
    // The device opens, so what failed was the port's lock: another program has it.
    switch (port_.error()) {
    case QSerialPort::PermissionError:
    case QSerialPort::OpenError: return EBUSY;
    case QSerialPort::DeviceNotFoundError: return ENOENT;
    default: return EIO;
    }
}

bool QtSerialControl::ctsHolding() const { return lineHeld(TIOCM_CTS); }
bool QtSerialControl::dsrHolding() const { return lineHeld(TIOCM_DSR); }

IoStatus QtSerialControl::output(std::uint8_t byte)
{
    if (!port_.isOpen())
        return notTaken();
    const char c = static_cast<char>(byte);
    if (port_.write(&c, 1) != 1)
        return notTaken();
    port_.flush();
    if (port_.bytesToWrite() > 0 && !port_.waitForBytesWritten(kWriteTimeoutMs)) {
        port_.clearError();
        return notTaken();
    }
    return IoStatus::success();
}

int QtSerialControl::inBufferCount()
{
    if (!port_.isOpen())
        return 0;
    port_.waitForReadyRead(0);
    port_.clearError();
    const qint64 n = port_.bytesAvailable();
    return n > 32767 ? 32767 : static_cast<int>(n);
}

std::string QtSerialControl::input()
{
    if (!port_.isOpen())
        return {};
    port_.waitForReadyRead(0);
    port_.clearError();
    return port_.readAll().toStdString();
}

} // namespace kt::session
