#include "atomic_file.h"

#include <cerrno>
#include <unistd.h>

#include "files/atomic_file.h"

namespace kt::emu {

Status writeFileAtomically(const std::filesystem::path &path,
                           const std::function<bool(FILE *)> &write)
{
    const auto failed = files::replaceFile(path, [&write](int fd) {
        // A stream of its own descriptor: closing it leaves the temporary
        // file open for the flush to the disk and the rename.
        const int own = ::dup(fd);
        FILE *f = own >= 0 ? ::fdopen(own, "wb") : nullptr;
        if (!f) {
            if (own >= 0)
                ::close(own);
            return false;
        }
        const bool written = write(f) && std::fflush(f) == 0;
        const int err = errno;
        const bool closed = std::fclose(f) == 0;
        if (!written)
            errno = err;
        return written && closed;
    });
    return failed ? Status::failure(*failed) : Status::success();
}

} // namespace kt::emu
