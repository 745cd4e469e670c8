// The diagnostics blocks of sendx and rwKT.
#include <regex>

#include <gtest/gtest.h>

#include "KT4000.h"
#include "fd_server.h"
#include "log_capture.h"
#include "pty_pair.h"

using namespace std::chrono_literals;
using kt::test::bytes;

TEST(DiagLog, AbsentFileIsNotCreated)
{
    kt::test::LogCapture log(false);
    kt::test::PtyPair pty;
    kt::test::FdServer printer(pty.master());
    EXPECT_EQ(sendx("x", pty.slavePath().c_str(), 9600, 0, 1, 0, 0, nullptr), KT_OK);
    char buffer[16] = {};
    EXPECT_EQ(rwKT(1, buffer, pty.slavePath().c_str(), 9600, 0), KT_OK);
    EXPECT_FALSE(log.exists());
}

TEST(DiagLog, SendxAppendsOneBlockPerCall)
{
    kt::test::LogCapture log;
    kt::test::PtyPair pty;
    kt::test::FdServer printer(pty.master(),
                               [](const kt::test::Bytes &) { return bytes("_1\x0a"); });
    const std::string &port = pty.slavePath();
    char reply[8] = {};
    EXPECT_EQ(sendx("\x1d\x49\x0a", port.c_str(), 9600, 0, 3, 50, 3, reply), KT_OK);
    const std::string first = log.text();
    const std::regex block("^\n in sendx: port=" + port
                           + ", baud=9600, hdv=0, len=3, tm=\\d+ \n 1d 49 a\n"
                             "[\\s\\S]* WriteFile\\( 3 \\), ok=1, nob=3, skrv=0, wsae=0, lerr=0 \n"
                             " data out at \\d+ \n out sendx at \\d+ \n"
                             "\n sendx=1, port="
                           + port + ", baud=9600, dw=3, nob=3 \n 5f  31  a \n$");
    EXPECT_TRUE(std::regex_match(first, block)) << first;

    // Without a wait there is no reply block; the new block is appended.
    EXPECT_EQ(sendx("z", port.c_str(), 9600, 0, 1, 0, 0, nullptr), KT_OK);
    const std::string both = log.text();
    ASSERT_EQ(both.compare(0, first.size(), first), 0);
    const std::string second = both.substr(first.size());
    EXPECT_EQ(second.rfind("\n in sendx: ", 0), 0u) << second;
    EXPECT_TRUE(second.ends_with(" \n")) << second;
    EXPECT_NE(second.find(" out sendx at "), std::string::npos);
    EXPECT_EQ(second.find(" sendx="), std::string::npos);
}

TEST(DiagLog, FailedOpenLogsAndEndsTheBlock)
{
    kt::test::LogCapture log;
    EXPECT_EQ(sendx("x", "/dev/kt-no-such-port", 9600, 0, 1, 0, 0, nullptr), KT_ERR_OPEN);
    const std::string t = log.text();
    EXPECT_NE(t.find(" in openCOM at "), std::string::npos);
    EXPECT_NE(t.find(" hd=0xffffffffffffffff, lerr=2 \n"), std::string::npos) << t;
    EXPECT_EQ(t.find(" WriteFile("), std::string::npos);
}

TEST(DiagLog, RwktBlock)
{
    kt::test::LogCapture log;
    kt::test::PtyPair pty;
    kt::test::FdServer printer(pty.master(), [](const kt::test::Bytes &) { return bytes("_A"); });
    char buffer[16] = {};
    EXPECT_EQ(rwKT(8, buffer, pty.slavePath().c_str(), 9600, 0), KT_OK);
    const std::string t = log.text();
    const std::regex block("^\n in rwKT, idx=8, buf=0x[0-9a-f]+, port=" + pty.slavePath()
                           + ", baud=9600, hdv=0, tm=\\d+ \n cmds=  1d 49 41\n"
                             "[\\s\\S]* WriteFile\\( 3 \\), nob=3, ok=1, skrv=0, tm=\\d+ \n"
                             " ReadFile\\( 16 \\), nob=2, ok=1, skrv=0, buf0=5f, tm=\\d+ \n"
                             " out rwkt, tm=\\d+ \n$");
    EXPECT_TRUE(std::regex_match(t, block)) << t;
}
