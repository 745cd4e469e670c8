#include "diag_log.h"

#include <cstdarg>
#include <ctime>
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
    // Probe for the file first: append mode would create it, and logging is
    // on only while the file is already there.
    std::FILE *probe = std::fopen(logPath().c_str(), "r");
    if (!probe)
        return;
    std::fclose(probe);
    stream = std::fopen(logPath().c_str(), "a+");
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
