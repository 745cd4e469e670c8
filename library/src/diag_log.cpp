#include "diag_log.h"

#include <cstdarg>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kt::diag {
namespace {

std::FILE *stream = nullptr;

std::string &logPath()
{
    static std::string p = "/ktdll.log";
    return p;
}

} // namespace

void open()
{
    if (stream)
        return;
    // No O_CREAT: logging is on only while the file is already there. The
    // path is not followed when it is a link, an open never waits (a FIFO
    // would block every export), and only a regular file is written to.
    const int fd = ::open(logPath().c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat st{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !(stream = ::fdopen(fd, "a")))
        ::close(fd);
}

void close()
{
    if (!stream)
        return;
    std::fclose(stream);
    stream = nullptr;
}

bool active() { return stream != nullptr; }

void write(const char *format, ...)
{
    if (!stream)
        return;
    va_list args;
    va_start(args, format);
    std::vfprintf(stream, format, args);
    va_end(args);
}

void flush()
{
    if (stream)
        std::fflush(stream);
}

long now() { return static_cast<long>(std::time(nullptr)); }

const std::string &path() { return logPath(); }

void setPath(std::string p)
{
    close();
    logPath() = std::move(p);
}

} // namespace kt::diag
