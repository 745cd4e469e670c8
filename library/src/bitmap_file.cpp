#include "bitmap_file.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kt::bitmap {
namespace {

class Descriptor {
public:
    explicit Descriptor(const std::string &path)
        // Non-blocking, so that opening a FIFO does not wait for a writer.
        : fd_(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC))
    { }
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    // The length of a regular file; empty for anything else, errno telling
    // why (EINVAL: not a regular file).
    std::optional<std::uint64_t> regularFileBytes() const
    {
        struct stat st { };
        if (fd_ < 0 || ::fstat(fd_, &st) != 0)
            return std::nullopt;
        if (!S_ISREG(st.st_mode)) {
            errno = EINVAL;
            return std::nullopt;
        }
        return static_cast<std::uint64_t>(st.st_size);
    }

    int fd() const { return fd_; }

private:
    int fd_;
};

// Reads until `size` bytes or the end of the file; the count read, or -1.
long long readFully(int fd, std::uint8_t *into, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, into + done, size - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<long long>(done);
}

} // namespace

bool canOpenFile(const std::string &path)
{
    return Descriptor(path).regularFileBytes().has_value();
}

std::optional<FileBytes> readFileStart(const std::string &path, std::uint64_t limit)
{
    Descriptor file(path);
    const std::optional<std::uint64_t> length = file.regularFileBytes();
    if (!length)
        return std::nullopt;
    FileBytes result;
    result.fileBytes = *length;
    const std::uint64_t wanted = std::min(*length, limit);
    if (wanted > result.bytes.max_size()) {
        errno = ENOMEM;
        return std::nullopt;
    }
    try {
        result.bytes.resize(static_cast<std::size_t>(wanted));
    } catch (const std::bad_alloc &) {
        errno = ENOMEM;
        return std::nullopt;
    }
    const long long got = readFully(file.fd(), result.bytes.data(), result.bytes.size());
    if (got < 0)
        return std::nullopt;
    // A file that shrank since fstat keeps what was there.
    result.bytes.resize(static_cast<std::size_t>(got));
    if (wanted == *length)
        result.fileBytes = static_cast<std::uint64_t>(got);
    return result;
}

} // namespace kt::bitmap
