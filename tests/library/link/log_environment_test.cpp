// KT4000_LOG moves the diagnostics log; a path that exists but cannot be a
// log is told once per process on standard error.
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "KT4000.h"
#include "child_process.h"
#include "diag_log.h"
#include "temp_file.h"

using namespace std::chrono_literals;

namespace {

// Runs three logging exports in a child whose environment has KT4000_LOG
// set to `logPath`; what the child wrote to standard error.
std::string stderrOfLoggingCalls(const std::string &logPath)
{
    kt::test::TempFile errors;
    const auto code = kt::test::runInChild(
        [&] {
            const int fd = ::open(errors.path().c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
            if (fd < 0 || ::dup2(fd, STDERR_FILENO) < 0)
                return 2;
            kt::diag::setPath(""); // the environment decides
            ::setenv("KT4000_LOG", logPath.c_str(), 1);
            char buffer[16] = {};
            const bool answered
                = sendx("x", "kt-no-such-port", 9600, 0, 1, 0, 0, nullptr) == KT_ERR_OPEN
                && sendx("y", "kt-no-such-port", 9600, 0, 1, 0, 0, nullptr) == KT_ERR_OPEN
                && rwKT(1, buffer, "kt-no-such-port", 9600, 0) == KT_ERR_OPEN;
            return answered ? 0 : 1;
        },
        10s);
    EXPECT_EQ(code, 0) << logPath;
    return errors.contents();
}

std::string unusable(const std::string &path, const std::string &why)
{
    return "KT4000: diagnostics log KT4000_LOG=" + path + " cannot be used: " + why + "\n";
}

} // namespace

TEST(LogEnvironment, AnExistingFileNamedByTheVariableIsTheLog)
{
    kt::test::TempFile log;
    EXPECT_EQ(stderrOfLoggingCalls(log.path()), "");
    const std::string text = log.contents();
    EXPECT_EQ(text.rfind("\n in sendx: port=kt-no-such-port, baud=9600", 0), 0u) << text;
    EXPECT_NE(text.find(" 79\n"), std::string::npos) << "the second call appended its block";
    EXPECT_NE(text.find("\n in rwKT, idx=1,"), std::string::npos) << text;
}

TEST(LogEnvironment, AnAbsentFileIsNotCreatedAndNotReported)
{
    kt::test::TempFile log(false);
    EXPECT_EQ(stderrOfLoggingCalls(log.path()), "");
    EXPECT_FALSE(log.exists());
}

TEST(LogEnvironment, AnUnusablePathIsReportedOncePerProcess)
{
    kt::test::TempFile target;
    kt::test::TempFile fifo(false), link(false), directory(false);
    ASSERT_EQ(::mkfifo(fifo.path().c_str(), 0600), 0);
    ASSERT_EQ(::symlink(target.path().c_str(), link.path().c_str()), 0);
    ASSERT_EQ(::mkdir(directory.path().c_str(), 0700), 0);
    const struct {
        std::string path, why;
    } cases[] = {
        {fifo.path(), "it is not a regular file"},
        {link.path(), "it is a symbolic link"},
        {directory.path(), "Is a directory"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(stderrOfLoggingCalls(c.path), unusable(c.path, c.why));
    ::rmdir(directory.path().c_str());
    EXPECT_EQ(target.contents(), "") << "nothing was logged through the link";
}
