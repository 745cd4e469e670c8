#include "pty_link.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

#include "fd_io.h"

namespace kt::emu {
namespace {

[[noreturn]] void fail(const std::string &what)
{
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

} // namespace

PtyLink::PtyLink(const std::filesystem::path &link)
{
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0)
        fail("posix_openpt");
    char name[128];
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0
        || ::ptsname_r(master_, name, sizeof name) != 0) {
        ::close(master_);
        fail("pseudo-terminal setup");
    }
    slavePath_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) {
        const int err = errno;
        ::close(master_);
        errno = err;
        fail("opening " + slavePath_);
    }
    if (auto raw = makeRaw(slave_); !raw) {
        ::close(slave_);
        ::close(master_);
        throw std::runtime_error(raw.error());
    }
    if (link.empty())
        return;
    std::error_code ec;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(link, ec)))
        std::filesystem::remove(link, ec);
    std::filesystem::create_symlink(slavePath_, link, ec);
    if (ec) {
        ::close(slave_);
        ::close(master_);
        throw std::runtime_error("cannot link " + link.string() + " to " + slavePath_ + ": "
                                 + ec.message());
    }
    link_ = link;
}

PtyLink::~PtyLink()
{
    if (!link_.empty()) {
        std::error_code ec;
        if (std::filesystem::read_symlink(link_, ec) == slavePath_)
            std::filesystem::remove(link_, ec);
    }
    ::close(slave_);
    ::close(master_);
}

} // namespace kt::emu
