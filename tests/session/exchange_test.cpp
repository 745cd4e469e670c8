// The command exchange over stand-in controls and a stand-in sendx: what is
// sent, the waits, and how each transport turns received bytes into the
// reply text.
#include <cstring>
#include <deque>
#include <filesystem>

#include <gtest/gtest.h>

#include "session/basic_text.h"
#include "session_rig.h"
#include "temp_file.h"

namespace kt::test {
namespace {

using session::Command;

// sendx as the library offers it: records every call and answers reads
// from a script (result, bytes placed in the buffer).
struct SendxCall {
    std::vector<std::uint8_t> data;
    std::string port;
    std::int32_t baud, hdv, len, wait, size;
    bool bufferClear;
};
std::vector<SendxCall> sendxCalls;
std::deque<std::pair<std::int32_t, std::string>> sendxReads;

std::int32_t fakeSendx(const void *data, const char *port, std::int32_t baud, std::int32_t hdv,
                       std::int32_t len, std::int32_t wait, std::int32_t size, void *reply)
{
    const auto *bytes = static_cast<const std::uint8_t *>(data);
    auto *buffer = static_cast<char *>(reply);
    SendxCall call{{bytes, bytes + len}, port, baud, hdv, len, wait, size, true};
    for (std::int32_t i = 0; i < size; ++i)
        call.bufferClear = call.bufferClear && buffer[i] == '\0';
    sendxCalls.push_back(call);
    if (wait == 0 || sendxReads.empty())
        return 0;
    auto [result, text] = sendxReads.front();
    sendxReads.pop_front();
    std::memcpy(buffer, text.data(),
                std::min<std::size_t>(text.size(), static_cast<std::size_t>(size)));
    return result;
}

std::string padded(std::string text) { return text.append(32 - text.size(), '\0'); }

class UsbExchange : public ::testing::Test {
protected:
    void SetUp() override
    {
        sendxCalls.clear();
        sendxReads.clear();
        rig.choose("USB");
    }
    SessionRig rig{"/nonexistent/kt-lp0", fakeSendx};
};

TEST_F(UsbExchange, WritesTheCommandThenReadsTwiceInTheReadShape)
{
    sendxReads = {{0, padded("_146")}, {0, padded("")}};
    EXPECT_EQ(rig.exchange({0x1D, 0x67, 0x34, 0x27, 0x00}), "146");
    ASSERT_EQ(sendxCalls.size(), 3u);
    const SendxCall &write = sendxCalls[0];
    EXPECT_EQ(write.data, (std::vector<std::uint8_t>{0x1D, 0x67, 0x34, 0x27, 0x00}));
    EXPECT_EQ(write.port, "usb");
    EXPECT_EQ(write.baud, 9600);
    EXPECT_EQ(write.hdv, 0);
    EXPECT_EQ(write.len, 5);
    EXPECT_EQ(write.wait, 0);
    EXPECT_EQ(write.size, 0);
    for (std::size_t i : {1u, 2u}) {
        const SendxCall &read = sendxCalls[i];
        EXPECT_EQ(read.data,
                  std::vector<std::uint8_t>{i == 1 ? std::uint8_t{0x00} : std::uint8_t{0x20}});
        EXPECT_EQ(read.port, "usb");
        EXPECT_EQ(read.len, 1);
        EXPECT_EQ(read.wait, 5);
        EXPECT_EQ(read.size, 32);
        EXPECT_TRUE(read.bufferClear) << "the buffer is cleared to NUL before each read";
    }
    EXPECT_EQ(rig.clock.sleeps, (std::vector<int>{70, 70, 70}));
}

TEST_F(UsbExchange, ScansTheBuffersByTheUsbRules)
{
    const std::string data38 = "0123456789abcdefghijklmnopqrstuvwxyzAB";
    struct Row {
        const char *what;
        std::vector<std::pair<std::int32_t, std::string>> reads;
        std::string reply;
        std::size_t calls;
    };
    const Row rows[] = {
        {"header first", {{0, padded("_ABC")}, {0, padded("")}}, "ABC", 3},
        {"bytes before the header are dropped", {{0, padded("xy_AB")}, {0, padded("")}}, "AB", 3},
        {"no header keeps the whole buffer",
         {{0, padded("\x12")}, {0, padded("")}},
         "\x12" + std::string(31, '\0'),
         3},
        {"nothing first: the second read is ignored", {{0, padded("")}, {0, padded("_Z")}}, "", 3},
        {"a reply longer than one buffer",
         {{0, "_" + data38.substr(0, 31)}, {0, padded(data38.substr(31))}},
         data38,
         3},
        {"a header in the second read is data", {{0, padded("_AB")}, {0, padded("_C")}}, "AB_C", 3},
        {"the first read fails", {{2, padded("_AB")}}, "", 2},
        {"the second read fails", {{0, padded("_AB")}, {2, padded("CD")}}, "AB", 3},
    };
    for (const Row &r : rows) {
        SetUp();
        rig.clock.sleeps.clear();
        sendxReads.assign(r.reads.begin(), r.reads.end());
        EXPECT_EQ(rig.exchange({0x1D, 0x49, 0x43}), r.reply) << r.what;
        EXPECT_EQ(sendxCalls.size(), r.calls) << r.what;
    }
}

TEST_F(UsbExchange, ABrokenReadPathStillWaitsBeforeReturning)
{
    sendxReads = {{1, padded("")}};
    EXPECT_EQ(rig.exchange({0x10}), "");
    EXPECT_EQ(rig.clock.sleeps, (std::vector<int>{70, 70}));
}

TEST(UsbLibrary, AMissingLibraryIsReportedOnceAndGivesNoReply)
{
    SessionRig rig;
    session::UsbLink missing(rig.messages, "/nonexistent/kt-lib");
    session::CommandExchange exchange({rig.state, rig.ports, rig.serial, rig.socket, rig.parallel,
                                       missing, rig.clock, rig.messages});
    rig.choose("USB");
    for (int i = 0; i < 2; ++i) {
        std::string reply = "R";
        exchange.exchangeCommand({0x1D, 0x49, 0x43}, reply);
        EXPECT_EQ(reply, "");
    }
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_NE(rig.messages.shown[0].text.find("libKT4000.so"), std::string::npos);
    EXPECT_EQ(rig.messages.shown[0].icon, session::MessageIcon::Critical);
}

TEST(UsbLibrary, IsLoadedFromItsDirectoryAndNeverFromTheCurrentOne)
{
    RecordingMessages messages;
    session::UsbLink fromBuild(messages, KT4000_DIR);
    EXPECT_NE(fromBuild.sendx(), nullptr);
    EXPECT_TRUE(messages.shown.empty());

    // A relative directory would resolve against the current directory.
    session::UsbLink relative(messages, ".");
    session::UsbLink empty(messages, "");
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(KT4000_DIR);
    EXPECT_EQ(relative.sendx(), nullptr);
    EXPECT_EQ(empty.sendx(), nullptr);
    std::filesystem::current_path(here);
    EXPECT_EQ(messages.shown.size(), 2u);
}

TEST(UsbLibrary, TheFirstDirectoryThatHoldsItWinsAndEveryFailureIsNamed)
{
    struct Row {
        std::vector<std::string> directories;
        bool loads;
        std::vector<std::string> named; // what the message must name
    };
    const Row rows[] = {
        {{KT4000_DIR, "/nonexistent/b"}, true, {}},
        {{"/nonexistent/a", KT4000_DIR}, true, {}},
        {{"relative", "/nonexistent/b"}, false, {"\"relative\"", "/nonexistent/b"}},
        {{}, false, {"no library directory"}},
    };
    for (const Row &r : rows) {
        RecordingMessages messages;
        session::UsbLink link(messages, r.directories);
        EXPECT_EQ(link.sendx() != nullptr, r.loads);
        ASSERT_EQ(messages.shown.size(), r.loads ? 0u : 1u);
        for (const std::string &name : r.named)
            EXPECT_NE(messages.shown[0].text.find(name), std::string::npos) << name;
    }
}

TEST(SerialExchange, APortThatTakesNoBytesIsReportedOnce)
{
    SessionRig rig;
    rig.choose("COM1");
    EXPECT_EQ(rig.exchange({1, 2, 3}), "");
    EXPECT_EQ(rig.serial.sent.size(), 1u) << "the rest is not sent";
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].text.substr(0, 13), "Error no  5: ");
}

TEST(TcpExchange, RefusesToSendWhileNotConnected)
{
    for (std::int16_t state : {std::int16_t{0}, std::int16_t{6}}) {
        SessionRig rig;
        rig.choose("TCP/IP");
        rig.socket.current = state;
        EXPECT_EQ(rig.exchange({0x1D, 0x49, 0x43}), "");
        EXPECT_TRUE(rig.socket.sent.empty());
        ASSERT_EQ(rig.messages.shown.size(), 1u);
        EXPECT_EQ(rig.messages.shown[0].text,
                  "Could not send data now, please check lan printer status..."
                      + session::numberText(state));
        EXPECT_EQ(rig.messages.shown[0].title, "");
    }
}

TEST(TcpExchange, SilenceEndsAfterAThousandPollingRounds)
{
    SessionRig rig;
    rig.choose("TCP/IP");
    rig.socket.current = session::kSocketConnected;
    EXPECT_EQ(rig.exchange({0x10, 0x04, 0x01}), "");
    EXPECT_EQ(std::count(rig.clock.sleeps.begin(), rig.clock.sleeps.end(), 1), 1000);
}

TEST(TcpExchange, AnErrorOfTheConnectionIsShownAfterTheRead)
{
    SessionRig rig;
    rig.choose("TCP/IP");
    rig.socket.current = session::kSocketConnected;
    rig.socket.waiting = "_7";
    rig.clock.onProcessEvents
        = [&] { rig.socket.error = session::IoStatus::failure(3, "Network down", "Winsock1"); };
    EXPECT_EQ(rig.exchange({0x1D, 0x49, 0x43}), "7") << "the reply is still returned";
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].text, "Error #  3 was generated by Winsock1\rNetwork down");
    EXPECT_EQ(rig.messages.shown[0].title, "Error");
}

TEST(TcpExchange, ARefusedByteEndsTheSendingAndItsErrorIsToldOnce)
{
    SessionRig rig;
    rig.choose("TCP/IP");
    rig.socket.current = session::kSocketConnected;
    rig.socket.takes = 1;
    EXPECT_EQ(rig.exchange({0x1D, 0x49, 0x43}), "");
    EXPECT_EQ(rig.socket.sent, (std::vector<std::uint8_t>{0x1D, 0x49})) << "nothing after it";
    ASSERT_EQ(rig.messages.shown.size(), 1u);
    EXPECT_EQ(rig.messages.shown[0].text, "Error #  8 was generated by Winsock1\rConnection reset");
}

TEST(TcpExchange, EndingTheRunWhileItWaitsStopsItAtOnce)
{
    // EXIT or closing the window, handled while the exchange lets window
    // events run: the wait ends there, and nothing more goes out.
    for (int round : {1, 2, 50}) {
        SessionRig rig;
        rig.choose("TCP/IP");
        rig.socket.current = session::kSocketConnected;
        int rounds = 0;
        rig.clock.onProcessEvents = [&] {
            if (++rounds == round)
                rig.state.ending = true;
        };
        EXPECT_EQ(rig.exchange({0x1D, 0x49, 0x42}), "") << round;
        EXPECT_EQ(rounds, round) << "no event round after the one that ended the run";
        const std::size_t sleeps = rig.clock.sleeps.size();
        EXPECT_LE(sleeps, static_cast<std::size_t>(round) + 1) << round;

        EXPECT_EQ(rig.exchange({0x1D, 0x49, 0x43}), "") << round;
        EXPECT_EQ(rig.clock.sleeps.size(), sleeps) << "a later exchange neither waits...";
        EXPECT_LE(rig.socket.sent.size(), 3u) << "...nor sends";
        EXPECT_TRUE(rig.messages.shown.empty());
    }
}

TEST(AnyPort, OnlyACapitalRAsksForAReply)
{
    for (const char *mode : {"r", "W", "", "RR"}) {
        SessionRig com;
        com.choose("COM1");
        com.serial.open = true;
        com.serial.waiting = "_1";
        EXPECT_EQ(com.exchange({0x42}, mode), "");
        EXPECT_EQ(com.serial.sent, std::vector<std::uint8_t>{0x42});
        EXPECT_TRUE(com.clock.sleeps.empty());

        SessionRig tcp;
        tcp.choose("TCP/IP");
        tcp.socket.current = session::kSocketConnected;
        tcp.socket.waiting = "_1";
        EXPECT_EQ(tcp.exchange({0x42}, mode), "");
        EXPECT_EQ(tcp.socket.sent, std::vector<std::uint8_t>{0x42});

        sendxCalls.clear();
        SessionRig usb("/nonexistent/kt-lp0", fakeSendx);
        usb.choose("USB");
        EXPECT_EQ(usb.exchange({0x42}, mode), "");
        ASSERT_EQ(sendxCalls.size(), 1u) << "no read";
        EXPECT_EQ(sendxCalls[0].len, 1);

        test::TempFile device;
        SessionRig lpt(device.path());
        lpt.choose("LPT1");
        lpt.ports.openPort("LPT1", true);
        EXPECT_EQ(lpt.exchange({0x42}, mode), "");
        EXPECT_TRUE(lpt.parallel.close());
        EXPECT_EQ(device.contents(), "\x42");
    }
}

TEST(AnyPort, AnUnknownKindSendsNothing)
{
    SessionRig rig;
    rig.choose("XYZ");
    EXPECT_EQ(rig.exchange({0x1D, 0x49, 0x43}), "");
    EXPECT_TRUE(rig.serial.sent.empty());
    EXPECT_TRUE(rig.socket.sent.empty());
}

} // namespace
} // namespace kt::test
