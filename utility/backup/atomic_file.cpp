#include "atomic_file.h"

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kt::files {
namespace {

constexpr const char *kTempMark = ".tmp-";

std::string cause(const std::filesystem::path &path, const char *step, int error)
{
    return "cannot write " + path.string() + ": " + step + ": " + std::strerror(error);
}

std::filesystem::path directoryOf(const std::filesystem::path &path)
{
    return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

// The rename is durable only once the directory entry is on the disk too.
void syncDirectory(const std::filesystem::path &path)
{
    const int fd = ::open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// Closes the descriptor and removes the temporary file unless released.
class Temporary {
public:
    Temporary(int fd, std::string path) : fd_(fd), path_(std::move(path)) { }
    ~Temporary()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    Temporary(const Temporary &) = delete;
    Temporary &operator=(const Temporary &) = delete;

    int fd() const { return fd_; }
    const std::string &path() const { return path_; }
    // Closes the descriptor; false (errno set) when the close reports an error.
    bool close()
    {
        const int fd = std::exchange(fd_, -1);
        return ::close(fd) == 0;
    }
    void keep() { path_.clear(); }

private:
    int fd_;
    std::string path_;
};

// The writer of a temporary file: the PID in "NAME.tmp-PID" or
// "NAME.tmp-PID-XXXXXX"; 0 when `name` is no temporary file of `base`.
pid_t temporaryOwner(const std::string &name, const std::string &base)
{
    const std::string prefix = base + kTempMark;
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return 0;
    const std::string rest = name.substr(prefix.size());
    const auto dash = rest.find('-');
    const std::string digits = rest.substr(0, dash);
    if (digits.empty() || digits.size() > 9
        || digits.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    if (dash != std::string::npos) {
        const std::string suffix = rest.substr(dash + 1);
        if (suffix.size() != 6)
            return 0;
        for (char c : suffix)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                return 0;
    }
    return static_cast<pid_t>(std::stol(digits));
}

bool processIsGone(pid_t pid) { return pid != ::getpid() && ::kill(pid, 0) != 0 && errno == ESRCH; }

} // namespace

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::optional<std::string> replaceFile(const std::filesystem::path &path,
                                       const std::function<bool(int fd)> &fill)
{
    std::string name = path.string() + kTempMark + std::to_string(::getpid()) + "-XXXXXX";
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return cause(path, "cannot create a temporary file beside it", errno);
    Temporary tmp(fd, name);
    // mkostemp makes the file private; the files it replaces are readable by all.
    ::fchmod(fd, 0644);
    errno = 0;
    if (!fill(fd))
        return cause(path, "write", errno ? errno : EIO);
    if (::fsync(fd) != 0)
        return cause(path, "fsync", errno);
    if (!tmp.close())
        return cause(path, "close", errno);
    if (::rename(tmp.path().c_str(), path.c_str()) != 0)
        return cause(path, "rename", errno);
    tmp.keep();
    syncDirectory(path);
    return std::nullopt;
}

int removeStaleTemporaries(const std::filesystem::path &path)
{
    const std::string base = path.filename().string();
    if (base.empty())
        return 0;
    int removed = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(directoryOf(path), ec), end; !ec && it != end;
         it.increment(ec)) {
        const pid_t owner = temporaryOwner(it->path().filename().string(), base);
        // Only files and links themselves are removed (unlink never follows a link).
        const auto type = it->symlink_status(ec).type();
        if (owner <= 0
            || (type != std::filesystem::file_type::regular
                && type != std::filesystem::file_type::symlink))
            continue;
        if (processIsGone(owner) && ::unlink(it->path().c_str()) == 0)
            ++removed;
    }
    return removed;
}

} // namespace kt::files
