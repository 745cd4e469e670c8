// Classification of port texts, address parsing, device paths, and the
// small decisions of the open steps.
#include <cerrno>
#include <string>
#include <sys/ioctl.h>

#include <gtest/gtest.h>

#include "port.h"
#include "port_named.h"
#include "port_tcp.h"

using kt::port::Kind;

TEST(PortText, Classification)
{
    const struct {
        const char *text;
        Kind kind;
    } cases[] = {
        {"usb", Kind::Usb},
        {"USB", Kind::Usb},
        {"Usb", Kind::Usb},
        {" usb", Kind::Named},
        {"usb1", Kind::Named},
        {"192.168.1.20", Kind::Tcp},
        {" 192.168.1.20", Kind::Tcp},
        {"\t1", Kind::Tcp},
        {"1x", Kind::Tcp},
        {"COM3", Kind::Named},
        {"LPT1", Kind::Named},
        {"/dev/ttyUSB0", Kind::Named},
        {"", Kind::Named},
        {nullptr, Kind::Named},
        {"null", Kind::Named},
    };
    for (const auto &c : cases)
        EXPECT_EQ(kt::port::classify(c.text), c.kind) << (c.text ? c.text : "(null)");
}

TEST(PortText, ParseIP)
{
    using A = kt::port::Address;
    const struct {
        const char *text;
        std::optional<A> address;
    } cases[] = {
        {"192.168.192.168", A{192, 168, 192, 168}},
        {"127.0.0.1", A{127, 0, 0, 1}},
        {"010.0.0.255", A{10, 0, 0, 255}},
        {"0000000000001.2.3.4", A{1, 2, 3, 4}},
        {"192.168.0.256", std::nullopt},
        {"192.168.0", std::nullopt},
        {"192.168.0.1.5", std::nullopt},
        {"192.168.0.1x", std::nullopt},
        {" 192.168.0.1", std::nullopt},
        {"192..168.0", std::nullopt},
        {"192.168.0.", std::nullopt},
        {"99999999999999999999.1.1.1", std::nullopt},
        {"", std::nullopt},
        {nullptr, std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(kt::port::parseIP(c.text), c.address) << (c.text ? c.text : "(null)");
}

TEST(PortText, DevicePath)
{
    const struct {
        const char *text;
        const char *path;
    } cases[] = {
        {"COM1", "/dev/ttyS0"},
        {"COM3", "/dev/ttyS2"},
        {"com16", "/dev/ttyS15"},
        {"LPT1", "/dev/lp0"},
        {"lpt2", "/dev/lp1"},
        {nullptr, "/dev/lp0"},
        {"", "/dev/lp0"},
        {"NULL", "/dev/lp0"},
        {"null-port", "/dev/lp0"},
        {"/dev/pts/3", "/dev/pts/3"},
        {"ttyUSB0", "/dev/ttyUSB0"},
        {"COM", "/dev/COM"},
        {"COM0", "/dev/COM0"},
        {"COM3x", "/dev/COM3x"},
        {" usb", "/dev/ usb"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(kt::port::devicePath(c.text), c.path) << (c.text ? c.text : "(null)");
}

TEST(PortText, DevicePathMustFitItsBuffer)
{
    // "/dev/" plus 122 characters is 127 bytes, the most the buffer holds.
    EXPECT_FALSE(kt::port::devicePath(std::string(122, 'a').c_str()).empty());
    EXPECT_TRUE(kt::port::devicePath(std::string(123, 'a').c_str()).empty());
    EXPECT_TRUE(kt::port::devicePath(("/dev/" + std::string(4000, 'a')).c_str()).empty());
}

TEST(PortText, ModemPresence)
{
    using kt::port::Presence;
    const int both = TIOCM_CTS | TIOCM_DSR;
    const struct {
        int result, error, bits;
        Presence presence;
    } cases[] = {
        {0, 0, both, Presence::Present},
        {0, 0, both | TIOCM_CD, Presence::Present},
        {0, 0, TIOCM_CTS, Presence::Absent},
        {0, 0, TIOCM_DSR, Presence::Absent},
        {0, 0, 0, Presence::Absent},
        {-1, ENOTTY, 0, Presence::NoModemLines},
        {-1, EINVAL, 0, Presence::NoModemLines},
        {-1, EIO, both, Presence::Absent},
    };
    for (const auto &c : cases)
        EXPECT_EQ(kt::port::modemPresence(c.result, c.error, c.bits), c.presence)
            << c.result << "," << c.error << "," << c.bits;
}

TEST(PortText, ParentStepsAreFoundOnlyAsWholeComponents)
{
    const struct {
        const char *path;
        bool climbs;
    } cases[] = {
        {"/dev/../tmp/x", true}, {"/dev/pts/..", true},  {"..", true},        {"/dev/a/../b", true},
        {"/dev/ttyS0", false},   {"/dev/..x", false},    {"/dev/x..", false}, {"/dev/...", false},
        {"/dev/./ttyS0", false}, {"/dev//ttyS0", false}, {"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(kt::port::climbsOut(c.path), c.climbs) << c.path;
}
