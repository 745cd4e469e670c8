#include "port_named.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "diag_log.h"
#include "port_custom_baud.h"

namespace kt::port {
namespace {

bool startsWithNoCase(const char *text, const char *prefix)
{
    return strncasecmp(text, prefix, std::strlen(prefix)) == 0;
}

// "COM3" -> 3 for `prefix` "COM": the prefix in any case, then 1 to 3
// digits, nothing after; 0 when the text is not of that form.
int portNumber(const char *text, const char *prefix)
{
    if (!startsWithNoCase(text, prefix))
        return 0;
    const char *p = text + std::strlen(prefix);
    int n = 0;
    int digits = 0;
    for (; *p >= '0' && *p <= '9' && digits < 3; ++p, ++digits)
        n = n * 10 + (*p - '0');
    return (*p == '\0' && digits > 0) ? n : 0;
}

// The serial time-outs every opened port gets, in milliseconds: readNamed()
// and kNamedWriteMs are their Linux form.
struct Timeouts {
    unsigned long readInterval, readConstant, readMultiplier, writeConstant, writeMultiplier;
};
constexpr Timeouts kApplied{1, 1, 1, kNamedWriteMs, 0};

void logTimeouts(int result, const Timeouts &t)
{
    diag::write(" GetCommTimeouts()=%ld,%lu,%lu,%lu,%lu,%lu \n", static_cast<long>(result),
                t.readInterval, t.readConstant, t.readMultiplier, t.writeConstant,
                t.writeMultiplier);
}

// settimeout: the port keeps no time-outs of its own on Linux; the bounded
// reads and writes apply them. The call checks that the handle is usable.
Status settimeout(int fd)
{
    diag::write(" in settimeout at %ld \n", diag::now());
    errno = 0;
    const int valid = ::fcntl(fd, F_GETFL) != -1 ? 1 : 0;
    const int error = errno;
    logTimeouts(valid, Timeouts{});
    diag::write(" SetCommTimeouts()=%ld,%lu \n", static_cast<long>(valid),
                static_cast<unsigned long>(error));
    if (!valid)
        return {error};
    logTimeouts(valid, kApplied);
    diag::write(" out settimeout at %ld \n", diag::now());
    return {};
}

// 8 data bits, no parity, one stop bit, raw, hardware flow control.
bool applyLineSettings(int fd, termios &t, speed_t speed)
{
    ::cfmakeraw(&t);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB);
    t.c_cflag |= CS8 | CREAD | CLOCAL | CRTSCTS;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    if (::cfsetispeed(&t, speed) != 0 || ::cfsetospeed(&t, speed) != 0)
        return false;
    return ::tcsetattr(fd, TCSANOW, &t) == 0;
}

// Opens a device path only when it names a character device, checked both
// before the open (so that nothing else is even opened) and on the open
// descriptor (so that a swap in between does not slip through).
int openCharacterDevice(const std::string &path)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) == 0 && !S_ISCHR(st.st_mode)) {
        errno = ENODEV;
        return -1;
    }
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() >= 0 && (::fstat(fd.get(), &st) != 0 || !S_ISCHR(st.st_mode))) {
        errno = ENODEV;
        return -1;
    }
    return fd.release();
}

// The descriptor of the port text's device, or -1 with errno. Ports are
// not shared: a second opener finds the lock taken.
int openPort(const char *text)
{
    const std::string path = devicePath(text);
    errno = 0;
    if (path.empty()) {
        errno = ENAMETOOLONG;
        return -1;
    }
    if (climbsOut(path)) {
        errno = EINVAL;
        return -1;
    }
    UniqueFd fd(openCharacterDevice(path));
    if (fd.get() >= 0 && ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        // Closed on the way out; a successful close keeps errno.
        if (errno == EWOULDBLOCK)
            errno = EBUSY; // the port is in use
        return -1;
    }
    return fd.release();
}

// Serial read time-outs: the whole read may take 1 ms plus 1 ms per byte
// asked for, and it ends once the line has been quiet for 1 ms.
Transfer readNamed(int fd, unsigned char *buffer, std::size_t n)
{
    const Deadline total(static_cast<int>(std::min<std::size_t>(n, 60000)) + 1);
    std::size_t got = 0;
    while (got < n) {
        const int wait = got ? std::min(1, total.remainingMs()) : total.remainingMs();
        if (!waitFor(fd, POLLIN, std::max(wait, 0)))
            break;
        const ssize_t r = ::read(fd, buffer + got, n - got);
        if (r < 0 && retryable(errno))
            continue;
        if (r < 0)
            return got ? Transfer{static_cast<ssize_t>(got), 0} : Transfer{-1, errno};
        if (r == 0)
            break;
        got += static_cast<std::size_t>(r);
        if (total.passed())
            break;
    }
    return {static_cast<ssize_t>(got), 0};
}

} // namespace

std::string devicePath(const char *text)
{
    std::string path;
    if (!text || !*text || startsWithNoCase(text, "null"))
        path = "/dev/lp0";
    else if (int n = portNumber(text, "COM"); n > 0)
        path = "/dev/ttyS" + std::to_string(n - 1);
    else if (int m = portNumber(text, "LPT"); m > 0)
        path = "/dev/lp" + std::to_string(m - 1);
    else if (std::strncmp(text, "/dev/", 5) == 0)
        path = text;
    else
        path = std::string("/dev/") + text;
    return path.size() < kDevicePathSize ? path : std::string();
}

bool climbsOut(const std::string &path)
{
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        if (path.compare(start, end - start, "..") == 0)
            return true;
        start = end + 1;
    }
    return false;
}

bool isComName(const char *text) { return text && startsWithNoCase(text, "com"); }

std::optional<speed_t> termiosSpeed(int32_t baud)
{
    static constexpr std::array<std::pair<int32_t, speed_t>, 25> kSpeeds{{
        {50, B50},           {75, B75},         {110, B110},         {134, B134},
        {150, B150},         {200, B200},       {300, B300},         {600, B600},
        {1200, B1200},       {1800, B1800},     {2400, B2400},       {4800, B4800},
        {9600, B9600},       {19200, B19200},   {38400, B38400},     {57600, B57600},
        {115200, B115200},   {230400, B230400}, {460800, B460800},   {500000, B500000},
        {576000, B576000},   {921600, B921600}, {1000000, B1000000}, {2000000, B2000000},
        {4000000, B4000000},
    }};
    for (const auto &[rate, speed] : kSpeeds)
        if (rate == baud)
            return speed;
    return std::nullopt;
}

Presence modemPresence(int result, int error, int bits)
{
    if (result != 0)
        return (error == ENOTTY || error == EINVAL) ? Presence::NoModemLines : Presence::Absent;
    return ((bits & TIOCM_CTS) && (bits & TIOCM_DSR)) ? Presence::Present : Presence::Absent;
}

namespace {

Status openCOM(const OpenRequest &request, Opened &opened)
{
    const char *text = request.text;
    diag::write(" in openCOM at %ld, port=%s, hdv=%ld, hd=%p \n", diag::now(), logText(text),
                static_cast<long>(request.hdv), logHandle(opened.fd));
    if (request.hdv != 0 && request.hdv != -1) {
        opened = Opened{request.hdv, true};
        return {};
    }

    UniqueFd fd(openPort(text));
    const int openError = errno;
    diag::write(" hd=%p, lerr=%lu \n", logHandle(fd.get()), static_cast<unsigned long>(openError));
    if (fd.get() < 0)
        return {openError};

    const Status timeouts = settimeout(fd.get());
    diag::write(" setto=%d \n", timeouts.ok() ? 1 : 0);
    if (!timeouts.ok())
        return timeouts;

    if (request.purge) {
        const long purged = ::tcflush(fd.get(), TCIOFLUSH) == 0 ? 1 : 0;
        diag::write(" PurgeComm()=%ld, tm=%ld \n", purged, diag::now());
    }

    const bool serial = isComName(text)
        || (std::strncmp(text ? text : "", "/dev/", 5) == 0 && ::isatty(fd.get()));
    if (!serial) {
        opened.fd = fd.release();
        return {};
    }

    termios t{};
    const int gcs = ::tcgetattr(fd.get(), &t) == 0 ? 1 : 0;
    const int getError = errno;
    diag::write(" gcs=%d \n", gcs);
    if (!gcs)
        return {getError};

    // A rate without a speed constant is set on top of the other settings.
    const auto speed = termiosSpeed(request.baud);
    errno = 0;
    const int scs = applyLineSettings(fd.get(), t, speed.value_or(B9600))
            && (speed || setCustomBaud(fd.get(), request.baud))
        ? 1
        : 0;
    const int setError = errno ? errno : EINVAL;
    diag::write(" scs=%d \n", scs);
    if (!scs)
        return {setError};

    int bits = 0;
    const int r = ::ioctl(fd.get(), TIOCMGET, &bits);
    const int err = errno;
    diag::write(" GetCommModemState()=%d,%lx,%ld \n", r == 0 ? 1 : 0,
                static_cast<unsigned long>(bits), diag::now());
    switch (modemPresence(r, err, bits)) {
    case Presence::Present: break;
    case Presence::NoModemLines:
        diag::write(" no modem lines (errno %d): CTS/DSR test passed \n", err);
        break;
    case Presence::Absent:
        diag::write(" getCommModemStatus test failed! \n");
        // CTS and DSR off: the printer is switched off or not connected.
        return {r != 0 ? err : ENXIO};
    }
    opened.fd = fd.release();
    return {};
}

} // namespace

const Operations namedOperations{Kind::Named,     openCOM,   closeDescriptor,
                                 writeDescriptor, readNamed, kNamedWriteMs};

} // namespace kt::port
