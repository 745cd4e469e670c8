#include "transcript.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fd_io.h"

namespace kt::emu {
namespace {

std::string timestamp(std::chrono::system_clock::time_point t)
{
    const auto ms
        = std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count();
    const std::time_t secs = static_cast<std::time_t>(ms / 1000);
    std::tm tm{};
    ::gmtime_r(&secs, &tm);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                  static_cast<int>(ms % 1000));
    return buf;
}

// The answer as the eye reads it: printable bytes as they are, others as '.'.
std::string printable(const std::vector<std::uint8_t> &bytes)
{
    std::string out;
    for (std::uint8_t b : bytes)
        out += b >= 0x20 && b < 0x7F ? static_cast<char>(b) : '.';
    return out;
}

} // namespace

std::string hexBytes(const std::vector<std::uint8_t> &bytes)
{
    static const char *hex = "0123456789ABCDEF";
    std::string out;
    for (std::uint8_t b : bytes) {
        if (!out.empty())
            out += ' ';
        out += hex[b >> 4];
        out += hex[b & 15];
    }
    return out;
}

std::string formatEntry(const TranscriptEntry &e)
{
    std::string line
        = timestamp(e.time) + " #" + std::to_string(e.connection) + " " + hexBytes(e.bytes);
    if (e.length > e.bytes.size())
        line += " ... (" + std::to_string(e.length) + " bytes)";
    line += " | " + e.name;
    if (!e.outcome.empty())
        line += " | " + e.outcome;
    if (!e.reply.empty())
        line += " | answered " + hexBytes(e.reply) + " \"" + printable(e.reply) + "\"";
    if (!e.replyNote.empty())
        line += " | " + e.replyNote;
    return line;
}

Transcript::~Transcript()
{
    if (file_)
        std::fclose(file_);
}

Status Transcript::openFile(const std::filesystem::path &path)
{
    const auto failed = [&path] {
        return Status::failure("cannot open transcript " + path.string() + ": "
                               + std::strerror(errno));
    };
    UniqueFd fd(::open(path.c_str(),
                       O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0644));
    if (!fd)
        return failed();
    struct stat st { };
    if (::fstat(fd.get(), &st) != 0)
        return failed();
    // A regular file is written as usual; waiting on it is bounded by the disk.
    if (S_ISREG(st.st_mode) && ::fcntl(fd.get(), F_SETFL, O_APPEND) != 0)
        return failed();
    FILE *f = ::fdopen(fd.get(), "a");
    if (!f)
        return failed();
    fd.release();
    if (file_)
        std::fclose(file_);
    file_ = f;
    return Status::success();
}

void Transcript::add(TranscriptEntry entry)
{
    if (entry.bytes.size() > TranscriptEntry::kMaxBytes)
        entry.bytes.resize(TranscriptEntry::kMaxBytes);
    if (file_) {
        const std::string line = formatEntry(entry) + "\n";
        std::fwrite(line.data(), 1, line.size(), file_);
        std::fflush(file_);
    }
    entries_.push_back(std::move(entry));
    if (entries_.size() > kMemoryEntries)
        entries_.pop_front();
    ++count_;
}

} // namespace kt::emu
