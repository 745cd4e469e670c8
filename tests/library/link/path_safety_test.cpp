// Port texts and the diagnostics log path name files on disk: neither may
// be turned into a way to overwrite, read or block on something that is
// not a printer port or a log file.
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "KT4000.h"
#include "child_process.h"
#include "diag_log.h"
#include "temp_file.h"

using namespace std::chrono_literals;

namespace {

constexpr const char *kKept = "keep";

void writeFile(const std::string &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A regular file and a FIFO inside /dev (on its tmpfs), removed at scope end.
struct DevShmEntries {
    DevShmEntries()
    {
        const std::string base = "/dev/shm/kt-port-" + std::to_string(::getpid());
        file = base + "-file";
        fifo = base + "-fifo";
        writeFile(file, kKept);
        ::mkfifo(fifo.c_str(), 0600);
    }
    ~DevShmEntries()
    {
        ::unlink(file.c_str());
        ::unlink(fifo.c_str());
    }
    std::string file, fifo;
};

// Points the diagnostics log at `path` for one scope.
struct LogAt {
    explicit LogAt(const std::string &path) { kt::diag::setPath(path); }
    ~LogAt() { kt::diag::setPath("/ktdll.log"); }
};

} // namespace

TEST(PortTextSafety, OnlyCharacterDevicesWithoutParentStepsAreOpened)
{
    kt::test::TempFile outside;
    writeFile(outside.path(), kKept);
    DevShmEntries dev;
    const int held = ::open(outside.path().c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(outside.path().front(), '/');

    const std::vector<std::string> texts = {
        ".." + outside.path(), // "/dev/../tmp/..." once prefixed
        "/dev/.." + outside.path(),
        "../dev/null", // a character device, reached by climbing
        "pts/../null",
        "/dev/../dev/null",
        dev.file,           // a regular file is never a port
        dev.file.substr(5), // "shm/...", looked for under /dev/
        dev.fifo,
        "/dev/shm",
        "/dev/fd/" + std::to_string(held), // a link to a regular file
    };
    for (const std::string &text : texts) {
        char reply[16] = "unread";
        EXPECT_EQ(sendx("XYZ", text.c_str(), 9600, 0, 3, 10, sizeof reply, reply), KT_ERR_OPEN)
            << text;
        EXPECT_STREQ(reply, "unread") << text;
        char buffer[16] = "unread";
        EXPECT_EQ(rwKT(1, buffer, text.c_str(), 9600, 0), KT_ERR_OPEN) << text;
        EXPECT_STREQ(buffer, "unread") << text;
    }
    EXPECT_EQ(readFile(outside.path()), kKept);
    EXPECT_EQ(readFile(dev.file), kKept);
    ::close(held);
}

TEST(LogFileSafety, OnlyARegularFileAtThePathIsLoggedInto)
{
    kt::test::TempFile target;
    writeFile(target.path(), kKept);
    kt::test::TempFile link(false), fifo(false), directory(false);
    ASSERT_EQ(::symlink(target.path().c_str(), link.path().c_str()), 0);
    ASSERT_EQ(::mkfifo(fifo.path().c_str(), 0600), 0);
    ASSERT_EQ(::mkdir(directory.path().c_str(), 0700), 0);

    for (const std::string &path : {link.path(), fifo.path(), directory.path()}) {
        LogAt log(path);
        // A blocking open would hang the exports: run them where a hang
        // can be cut off.
        const auto code = kt::test::runInChild(
            [] {
                char buffer[16] = {};
                const bool answered
                    = sendx("x", "kt-no-such-port", 9600, 0, 1, 0, 0, nullptr) == KT_ERR_OPEN
                    && rwKT(1, buffer, "kt-no-such-port", 9600, 0) == KT_ERR_OPEN
                    && DefBitmap(nullptr, "kt-no-such-port", 9600, 0) == 7;
                return answered ? 0 : 1;
            },
            5s);
        EXPECT_EQ(code, 0) << path;
    }
    ::rmdir(directory.path().c_str());
    EXPECT_EQ(readFile(target.path()), kKept) << "the log followed a link";
}
