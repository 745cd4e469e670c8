#include "diag_log.h"

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kt::diag {
namespace {

constexpr const char *kDefaultPath = "/ktdll.log";
constexpr const char *kPathVariable = "KT4000_LOG";

std::FILE *stream = nullptr;

// A path set by setPath(); empty: the environment or the default decides.
std::string &pathOverride()
{
    static std::string p;
    return p;
}

const char *pathFromEnvironment()
{
    const char *p = std::getenv(kPathVariable);
    return p && *p ? p : nullptr;
}

// A log named by KT4000_LOG that exists but cannot be used is told once per
// process: the caller asked for a log and would otherwise get none silently.
void reportUnusable(const std::string &path, const char *why)
{
    static std::atomic<bool> reported{false};
    if (!reported.exchange(true))
        std::fprintf(stderr, "KT4000: diagnostics log %s=%s cannot be used: %s\n", kPathVariable,
                     path.c_str(), why);
}

const char *openFailure(int error, char *buffer, std::size_t size)
{
    if (error == ELOOP)
        return "it is a symbolic link";
    return strerror_r(error, buffer, size);
}

} // namespace

void open()
{
    if (stream)
        return;
    const std::string p = path();
    const bool named = pathOverride().empty() && pathFromEnvironment();
    // No O_CREAT: logging is on only while the file is already there. The
    // path is not followed when it is a link, an open never waits (a FIFO
    // would block every export), and only a regular file is written to.
    const int fd = ::open(p.c_str(), O_RDWR | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        char text[128];
        if (named && error != ENOENT)
            reportUnusable(p, openFailure(error, text, sizeof text));
        return;
    }
    struct stat st { };
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        stream = ::fdopen(fd, "a+");
    else if (named)
        reportUnusable(p, "it is not a regular file");
    if (!stream)
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

std::string path()
{
    if (!pathOverride().empty())
        return pathOverride();
    const char *named = pathFromEnvironment();
    return named ? named : kDefaultPath;
}

void setPath(std::string p)
{
    close();
    pathOverride() = std::move(p);
}

} // namespace kt::diag
