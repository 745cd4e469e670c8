// KT_lastError: the system error behind the calling thread's last call.
#include <cerrno>
#include <cstring>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "KT4000.h"
#include "child_process.h"
#include "fd_server.h"
#include "pty_pair.h"
#include "reserved_port.h"

using namespace std::chrono_literals;

namespace {

std::string errorText()
{
    char text[128];
    KT_lastError(text, sizeof text);
    return text;
}

struct FailureCase {
    const char *what;
    std::function<int32_t()> call;
    int32_t result;
    int error;
};

void expectFailures(const std::vector<FailureCase> &cases)
{
    for (const FailureCase &c : cases) {
        EXPECT_EQ(c.call(), c.result) << c.what;
        EXPECT_EQ(KT_lastError(nullptr, 0), c.error) << c.what;
        EXPECT_EQ(errorText(), std::strerror(c.error)) << c.what;
        EXPECT_EQ(setColor(1), 0);
        EXPECT_EQ(KT_lastError(nullptr, 0), 0) << "a call that succeeds clears it";
    }
}

} // namespace

TEST(LastError, EachKindOfFailureNamesItsCause)
{
    kt::test::PtyPair busy;
    const int holder = ::open(busy.slavePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    char buffer[64] = {};
    const std::string longText(60, '9');
    const std::string longName(600, 'n');

    expectFailures({
        {"no such device", [] { return sendx("x", "kt-no-such-port", 9600, 0, 1, 0, 0, nullptr); },
         KT_ERR_OPEN, ENOENT},
        {"rwKT: no such device", [&] { return rwKT(1, buffer, "/dev/kt-no-such-port", 9600, 0); },
         KT_ERR_OPEN, ENOENT},
        {"port in use",
         [&] { return sendx("x", busy.slavePath().c_str(), 9600, 0, 1, 0, 0, nullptr); },
         KT_ERR_OPEN, EBUSY},
        {"not a device", [] { return sendx("x", "shm", 9600, 0, 1, 0, 0, nullptr); }, KT_ERR_OPEN,
         ENODEV},
        {"climbing out of /dev",
         [] { return sendx("x", "../dev/null", 9600, 0, 1, 0, 0, nullptr); }, KT_ERR_OPEN, EINVAL},
        {"malformed address", [] { return sendx("x", "127.0.0.256", 9100, 0, 1, 0, 0, nullptr); },
         KT_ERR_OPEN, EINVAL},
        {"rwKT arguments", [] { return rwKT(1, nullptr, "usb", 9600, 0); }, KT_ERR_ARGS, EINVAL},
        {"rwKT service index", [&] { return rwKT(101, buffer, "usb", KT_RWKT_SERVICE_VALUE, 0); },
         KT_ERR_SERVICE, EINVAL},
        {"rwKT text too long",
         [&] {
             return rwKT(59, const_cast<char *>(longText.c_str()), nullptr, KT_RWKT_SERVICE_VALUE,
                         5);
         },
         KT_ERR_ARGS, EMSGSIZE},
        {"PrnBitmap number", [] { return PrnBitmap(0, 1, "usb", 9600, 0); },
         KT_BMP_NUMBER_OUT_OF_RANGE, ERANGE},
        {"RegBitmap name", [&] { return RegBitmap(longName.c_str()); }, KT_BMP_NAME_TOO_LONG,
         ENAMETOOLONG},
        {"DefBitmap missing file",
         [] { return DefBitmap("/kt-no-such-dir/a.bmp", "usb", 9600, 0); }, KT_BMP_CANNOT_OPEN,
         ENOENT},
        {"DefBitmap nothing",
         [] { return RegBitmap(nullptr) == 0 ? DefBitmap(nullptr, "usb", 9600, 0) : -1; },
         KT_BMP_NOTHING_TO_DEFINE, EINVAL},
    });
    ::close(holder);
}

TEST(LastError, TcpRefusedAndWriteTimeout)
{
    kt::test::ReservedPort closed;
    kt::test::PtyPair unread; // nobody reads its master: writes fill it and stop
    const std::string data(256 * 1024, 'x');
    expectFailures({
        {"connection refused",
         [&] { return sendx("x", "127.0.0.1", closed.port, 0, 1, 0, 0, nullptr); }, KT_ERR_OPEN,
         ECONNREFUSED},
        {"write timed out",
         [&] {
             return sendx(data.data(), unread.slavePath().c_str(), 9600, 0,
                          static_cast<int32_t>(data.size()), 0, 0, nullptr);
         },
         KT_ERR_IO, ETIMEDOUT},
    });
}

TEST(LastError, PermissionDeniedAsAnUnprivilegedUser)
{
    kt::test::PtyPair pty;
    ASSERT_EQ(::chmod(pty.slavePath().c_str(), 0), 0);
    const std::string &port = pty.slavePath();
    const auto error = kt::test::runInChild(
        [&port] {
            // root passes any permission check: become nobody first.
            if (::geteuid() == 0) {
                const passwd *nobody = ::getpwnam("nobody");
                if (!nobody || ::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0
                    || ::setuid(nobody->pw_uid) != 0)
                    return 255;
            }
            return sendx("x", port.c_str(), 9600, 0, 1, 0, 0, nullptr) == KT_ERR_OPEN
                ? KT_lastError(nullptr, 0)
                : 254;
        },
        10s);
    EXPECT_EQ(error, EACCES);
}

TEST(LastError, ZeroAfterSuccessAndTheTextIsBounded)
{
    kt::test::PtyPair pty;
    kt::test::FdServer printer(pty.master());
    EXPECT_EQ(sendx("x", "kt-no-such-port", 9600, 0, 1, 0, 0, nullptr), KT_ERR_OPEN);
    EXPECT_EQ(sendx("x", pty.slavePath().c_str(), 9600, 0, 1, 0, 0, nullptr), KT_OK);
    EXPECT_EQ(KT_lastError(nullptr, 0), 0);
    EXPECT_EQ(errorText(), std::strerror(0));

    EXPECT_EQ(sendx("x", "kt-no-such-port", 9600, 0, 1, 0, 0, nullptr), KT_ERR_OPEN);
    char text[8];
    std::memset(text, '#', sizeof text);
    EXPECT_EQ(KT_lastError(text, 5), ENOENT);
    EXPECT_EQ(std::string(text, 5), std::string(std::strerror(ENOENT), 4) + '\0');
    EXPECT_EQ(std::string(text + 5, 3), "###");
    EXPECT_EQ(KT_lastError(text, 0), ENOENT);
    EXPECT_EQ(KT_lastError(text, -1), ENOENT);
    EXPECT_EQ(std::string(text + 5, 3), "###") << "size 0 or less writes nothing";
    EXPECT_EQ(KT_lastError(text, 1), ENOENT);
    EXPECT_EQ(text[0], '\0');
    EXPECT_EQ(KT_lastError(nullptr, 0), ENOENT) << "reading it leaves it as it is";
}

TEST(LastError, EachThreadSeesItsOwnLastCall)
{
    char buffer[16];
    EXPECT_EQ(sendx("x", "kt-no-such-port", 9600, 0, 1, 0, 0, nullptr), KT_ERR_OPEN);
    int fresh = -1, afterSuccess = -1, afterFailure = -1;
    std::thread other([&] {
        fresh = KT_lastError(nullptr, 0);
        (void)getModel(buffer);
        afterSuccess = KT_lastError(nullptr, 0);
        (void)rwKT(0, buffer, "usb", 9600, 0);
        afterFailure = KT_lastError(nullptr, 0);
    });
    other.join();
    EXPECT_EQ(fresh, 0);
    EXPECT_EQ(afterSuccess, 0);
    EXPECT_EQ(afterFailure, EINVAL);
    EXPECT_EQ(KT_lastError(nullptr, 0), ENOENT);
}
