// A port that cannot be opened: the window keeps its message and adds the
// system's reason on a line of its own.
#include <cerrno>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QPushButton>
#include <gtest/gtest.h>

#include "pty_pair.h"
#include "window_rig.h"

namespace kt::test {
namespace {

const std::string kCanNotOpen = " can not OPEN !!\r\rPlease check that whether <printer driver> or "
                                "<other application> occupy it !";

// While it lives, this thread is held to the permission bits of files as
// any user is, root included: the override capabilities leave its
// effective set and come back at the end.
class PermissionBitsApply {
public:
    PermissionBitsApply()
    {
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        if (::syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        constexpr unsigned overrides
            = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);
        reduced[0].effective &= ~overrides;
        active_ = ::syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~PermissionBitsApply()
    {
        if (active_)
            ::syscall(SYS_capset, &header_, saved_);
    }
    PermissionBitsApply(const PermissionBitsApply &) = delete;
    PermissionBitsApply &operator=(const PermissionBitsApply &) = delete;

    bool active() const { return active_ || ::geteuid() != 0; }

private:
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool active_ = false;
};

// Runs the communication test on a typed serial port; the first message.
std::string firstMessageFor(const std::string &port)
{
    WindowRig rig;
    rig.useProtocol();
    rig.pickPort(QString::fromStdString(port));
    rig.control<QPushButton>("cmdCommunicate")->click();
    return rig.messages.shown.empty() ? std::string() : rig.messages.shown.front().text;
}

TEST(OpenReasons, NoSuchDeviceSaysNothingIsAttached)
{
    const std::string port = "/dev/kt-no-such-tty";
    EXPECT_EQ(firstMessageFor(port),
              "The " + port + kCanNotOpen + "\r\n\r\nNo such device: nothing is attached at "
                  + port);
}

TEST(OpenReasons, PermissionDeniedNamesTheGroupToJoin)
{
    test::PtyPair pty;
    ASSERT_EQ(::chmod(pty.slavePath().c_str(), 0), 0);
    const PermissionBitsApply asAnyUser;
    if (!asAnyUser.active())
        GTEST_SKIP() << "cannot give up the file permission override";
    EXPECT_EQ(firstMessageFor(pty.slavePath()),
              "The " + pty.slavePath() + kCanNotOpen
                  + "\r\n\r\nPermission denied: add your user to the group dialout");
}

} // namespace
} // namespace kt::test
