#include "atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace kt::emu {
namespace {

std::string failure(const std::filesystem::path &path, const char *what, int err) {
    return "cannot write " + path.string() + ": " + what + ": " + std::strerror(err);
}

// The rename is durable only once the directory entry is on the disk too.
void syncDirectory(const std::filesystem::path &path) {
    const auto dir = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

std::filesystem::path temporaryPathFor(const std::filesystem::path &path) {
    auto tmp = path;
    tmp += ".tmp-" + std::to_string(::getpid());
    return tmp;
}

std::string writeFileAtomically(const std::filesystem::path &path,
                                const std::function<bool(FILE *)> &write) {
    const auto tmp = temporaryPathFor(path);
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return failure(tmp, "open", errno);
    FILE *f = ::fdopen(fd, "wb");
    if (!f) {
        const int err = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        return failure(tmp, "fdopen", err);
    }
    errno = 0;
    const bool written = write(f) && std::fflush(f) == 0 && ::fsync(fd) == 0;
    const int err = errno ? errno : EIO;
    const bool closed = std::fclose(f) == 0;
    if (!written || !closed) {
        ::unlink(tmp.c_str());
        return failure(tmp, "write", written ? errno : err);
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        const int renameErr = errno;
        ::unlink(tmp.c_str());
        return failure(path, "rename", renameErr);
    }
    syncDirectory(path);
    return {};
}

} // namespace kt::emu
