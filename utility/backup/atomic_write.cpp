#include "atomic_write.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kt::backup {
namespace {

std::string cause(const std::filesystem::path &path, const char *step, int error)
{
    return "cannot write " + path.string() + ": " + step + ": " + std::strerror(error);
}

std::filesystem::path directoryOf(const std::filesystem::path &path)
{
    return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
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

std::optional<std::string> writeAtomically(const std::filesystem::path &path,
                                           std::string_view content, const Writer &write)
{
    std::string name
        = (directoryOf(path) / ("." + path.filename().string() + ".tmp-XXXXXX")).string();
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0)
        return cause(path, "cannot create a temporary file beside it", errno);
    Temporary tmp(fd, name);
    // mkostemp makes the file private; a backup is readable like any document.
    ::fchmod(fd, 0644);
    errno = 0;
    if (!write(fd, content))
        return cause(path, "write", errno ? errno : EIO);
    if (::fsync(fd) != 0)
        return cause(path, "fsync", errno);
    if (!tmp.close())
        return cause(path, "close", errno);
    if (::rename(tmp.path().c_str(), path.c_str()) != 0)
        return cause(path, "rename", errno);
    tmp.keep();
    // The rename is durable only once the directory entry is on the disk too.
    const int dir = ::open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return std::nullopt;
}

} // namespace kt::backup
