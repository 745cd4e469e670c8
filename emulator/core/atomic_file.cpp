#include "atomic_file.h"

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace kt::emu {
namespace {

constexpr const char *kTempMark = ".tmp-";

Status failure(const std::filesystem::path &path, const char *what, int err)
{
    return Status::failure("cannot write " + path.string() + ": " + what + ": "
                           + std::strerror(err));
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

Status writeFileAtomically(const std::filesystem::path &path,
                           const std::function<bool(FILE *)> &write)
{
    std::string tmp = path.string() + kTempMark + std::to_string(::getpid()) + "-XXXXXX";
    const int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
    if (fd < 0)
        return failure(tmp, "create", errno);
    // mkostemp makes the file private; the old files were readable by all.
    ::fchmod(fd, 0644);
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
    return Status::success();
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

} // namespace kt::emu
