#include "session/device_names.h"

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace kt::session {
namespace {

// Whether the character device at path is a terminal. Opened without
// blocking and without becoming the controlling terminal; nothing when it
// cannot be opened at all.
std::optional<bool> isTerminal(const std::string &path)
{
    struct Descriptor {
        int fd;
        ~Descriptor()
        {
            if (fd >= 0)
                ::close(fd);
        }
    } device{::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)};
    if (device.fd < 0)
        return std::nullopt;
    return ::isatty(device.fd) == 1;
}

// What a file that is no terminal is, as a noun phrase.
std::string kindOf(mode_t mode)
{
    switch (mode & S_IFMT) {
    case S_IFREG: return "a regular file";
    case S_IFDIR: return "a directory";
    case S_IFCHR: return "a character device that is not a terminal";
    case S_IFBLK: return "a block device";
    case S_IFIFO: return "a named pipe";
    case S_IFSOCK: return "a socket";
    default: return "not a device";
    }
}

} // namespace

bool isDevicePath(std::string_view portName) { return portName.starts_with('/'); }

std::string serialDeviceOf(long portNumber)
{
    if (portNumber < 1)
        return {};
    return "/dev/ttyS" + std::to_string(portNumber - 1);
}

std::optional<std::string> whyNotASerialPort(const std::string &path)
{
    struct stat target { };
    if (::stat(path.c_str(), &target) != 0)
        return std::nullopt;
    if (S_ISCHR(target.st_mode)) {
        const std::optional<bool> terminal = isTerminal(path);
        if (!terminal || *terminal)
            return std::nullopt;
    }
    const std::string kind = kindOf(target.st_mode);
    struct stat typed { };
    if (::lstat(path.c_str(), &typed) == 0 && S_ISLNK(typed.st_mode)) {
        std::error_code error;
        const std::filesystem::path resolved = std::filesystem::canonical(path, error);
        if (!error)
            return "it leads to " + resolved.string() + ", " + kind;
    }
    return "it is " + kind;
}

} // namespace kt::session
