// The pieces of doctor and scan that need no device: the reasons of failed
// opens, the problem and fix of a port from its facts, and address ranges.
#include <cerrno>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "address_range.h"
#include "open_reason.h"
#include "port_diagnosis.h"

namespace kt::ktsw {
namespace {

using port::ReasonKind;

TEST(OpenReason, NamesTheCauseForEachKindOfPort)
{
    const struct {
        ReasonKind kind;
        int error;
        const char *target, *reason;
    } cases[] = {
        {ReasonKind::Serial, ENOENT, "/dev/ttyS0",
         "no such device: nothing is attached at /dev/ttyS0"},
        {ReasonKind::Serial, ENODEV, "/dev/shm",
         "no such device: /dev/shm is not a character device"},
        {ReasonKind::UsbSearch, ENODEV, "vid_5e1b&",
         "no such device: no USB printer of the maker found"},
        {ReasonKind::UsbSearch, EACCES, "vid_5e1b&",
         "permission denied: add your user to the group lp"},
        {ReasonKind::Serial, EACCES, "/nonexistent/tty",
         "permission denied: add your user to the group dialout"},
        {ReasonKind::Parallel, EPERM, "/nonexistent/lp",
         "permission denied: add your user to the group lp"},
        {ReasonKind::Serial, ENXIO, "/dev/ttyS0", "no printer answers on the line (CTS/DSR off)"},
        {ReasonKind::Parallel, ENXIO, "/dev/lp0",
         "no such device: no printer is attached to /dev/lp0"},
        {ReasonKind::Serial, EIO, "/dev/ttyS3",
         "input/output error: no serial hardware answers at /dev/ttyS3"},
        {ReasonKind::Serial, EBUSY, "/dev/ttyS0", "busy: another program has the port open"},
        {ReasonKind::Tcp, ENXIO, "printer", "no such host"},
        {ReasonKind::Tcp, EADDRNOTAVAIL, "printer", "unknown host 'printer'"},
        {ReasonKind::Tcp, ETIMEDOUT, "10.0.0.1", "no answer to the connection request"},
        {ReasonKind::Serial, ETIMEDOUT, "/dev/ttyS0", "timed out"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(port::openReason(c.kind, c.error, c.target), c.reason) << c.reason;
    EXPECT_EQ(port::openReasonSentence(ReasonKind::Serial, EACCES, "/nonexistent/tty"),
              "Permission denied: add your user to the group dialout");
}

TEST(OpenReason, TheGroupIsTheNodesOwnWhenThatGroupMayUseIt)
{
    // /dev/null: group root, so joining its group is never the advice.
    EXPECT_EQ(port::accessGroup(ReasonKind::Serial, "/dev/null"), "dialout");
    EXPECT_EQ(port::accessGroup(ReasonKind::UsbNode, "/dev/null"), "lp");
}

struct DiagnosisCase {
    const char *what;
    int openError;
    const char *group;
    mode_t mode;
    std::vector<std::string> userGroups;
    bool listed;
    std::vector<Holder> holders;
    std::optional<bool> usblpBound;
    std::string problem, fix; // fix "" : none; compared as a prefix
};

TEST(Diagnosis, FromTheFactsOfAPort)
{
    const std::vector<Holder> someone{{321, "logger"}};
    const DiagnosisCase cases[] = {
        {"opens", 0, "dialout", 0660, {"alice"}, false, {}, {}, "", ""},
        {"not in the group",
         EACCES,
         "dialout",
         0660,
         {"alice"},
         false,
         {},
         {},
         "permission denied: add your user to the group dialout",
         "sudo usermod -aG dialout alice, then log in again"},
        {"joined, not logged in again",
         EACCES,
         "dialout",
         0660,
         {"alice"},
         true,
         {},
         {},
         "permission denied: you were added to the group dialout, but this login session does "
         "not have it yet",
         "log out and in again"},
        {"in the group and still denied",
         EACCES,
         "dialout",
         0660,
         {"alice", "dialout"},
         true,
         {},
         {},
         "permission denied although you are in the group dialout",
         ""},
        {"the group may not write",
         EACCES,
         "dialout",
         0640,
         {"alice"},
         false,
         {},
         {},
         "permission denied: only root may open it (mode 0640, group dialout)",
         "sudo chgrp dialout /dev/ttyX && sudo chmod 0660 /dev/ttyX"},
        {"busy, holder known",
         EBUSY,
         "dialout",
         0660,
         {"alice"},
         false,
         someone,
         {},
         "busy: logger (pid 321) has the port open",
         "end that program"},
        {"opens, but held",
         0,
         "dialout",
         0660,
         {"alice"},
         false,
         someone,
         {},
         "in use by logger (pid 321)",
         "end that program while you service the printer"},
        {"no hardware",
         EIO,
         "dialout",
         0660,
         {"alice"},
         false,
         {},
         {},
         "input/output error: no serial hardware answers at /dev/ttyX",
         ""},
        {"usblp not bound",
         ENODEV,
         "lp",
         0660,
         {"alice"},
         false,
         {},
         false,
         "the usblp driver is not bound",
         "sudo modprobe usblp"},
    };
    const UserFacts base{"alice", {}};
    for (const DiagnosisCase &c : cases) {
        Candidate port;
        port.path = "/dev/ttyX";
        port.usblpBound = c.usblpBound;
        NodeFacts node;
        node.exists = true;
        node.owner = "root";
        node.group = c.group;
        node.mode = c.mode;
        node.openError = c.openError;
        UserFacts user = base;
        user.groups = c.userGroups;
        const Diagnosis d = diagnose({port, node, c.holders, user, c.listed});
        EXPECT_EQ(d.problem.substr(0, c.problem.size()), c.problem) << c.what << ": " << d.problem;
        EXPECT_EQ(d.problem.empty(), c.problem.empty()) << c.what;
        EXPECT_EQ(d.fix.substr(0, c.fix.size()), c.fix) << c.what << ": " << d.fix;
        EXPECT_EQ(d.fix.empty(), c.fix.empty()) << c.what << ": " << d.fix;
    }
}

TEST(Diagnosis, AMakersNodeThatOnlyRootMayOpenNeedsTheUdevRule)
{
    Candidate port;
    port.path = "/dev/usb/lp0";
    port.kind = PortKind::Usb;
    port.model = "KT-9100X";
    NodeFacts node;
    node.exists = true;
    node.owner = node.group = "root";
    node.mode = 0600;
    node.openError = EACCES;
    const Diagnosis d = diagnose({port, node, {}, {"alice", {"alice"}}, false});
    EXPECT_NE(d.fix.find(kUdevRuleName), std::string::npos) << d.fix;
}

TEST(Diagnosis, TheHelpFileQuotesWhatDoctorSays)
{
    std::ifstream file(KT_HELP_FILE);
    std::ostringstream read;
    read << file.rdbuf();
    // The help wraps its lines: compare with single blanks.
    std::string help;
    for (char c : read.str())
        if (!std::isspace(static_cast<unsigned char>(c)) || (!help.empty() && help.back() != ' '))
            help += std::isspace(static_cast<unsigned char>(c)) ? ' ' : c;
    ASSERT_FALSE(help.empty());

    Candidate port;
    port.path = "/dev/ttyACM0";
    NodeFacts node;
    node.exists = true;
    node.owner = "root";
    const struct {
        const char *group;
        mode_t mode;
        int error;
        bool listed;
        std::optional<bool> bound;
    } facts[] = {
        {"dialout", 0660, EACCES, false, {}},
        {"dialout", 0660, EACCES, true, {}},
        {"root", 0600, EACCES, false, {}},
        {"lp", 0660, ENODEV, false, false},
    };
    for (const auto &f : facts) {
        node.group = f.group;
        node.mode = f.mode;
        node.openError = f.error;
        port.usblpBound = f.bound;
        const Diagnosis d = diagnose({port, node, {}, {"alice", {"alice"}}, f.listed});
        const std::string said = d.problem.substr(0, d.problem.find(", so"));
        EXPECT_NE(help.find(said), std::string::npos) << said;
    }
}

TEST(AddressRange, BlocksRangesAndSingleAddresses)
{
    const struct {
        const char *text, *first, *last;
        std::uint64_t count;
    } cases[] = {
        {"192.168.1.0/24", "192.168.1.1", "192.168.1.254", 254},
        {"192.168.1.77/24", "192.168.1.1", "192.168.1.254", 254},
        {"127.0.0.0/28", "127.0.0.1", "127.0.0.14", 14},
        {"10.0.0.8/31", "10.0.0.8", "10.0.0.9", 2},
        {"10.0.0.7/32", "10.0.0.7", "10.0.0.7", 1},
        {"10.0.0.10-10.0.0.40", "10.0.0.10", "10.0.0.40", 31},
        {"10.0.0.10-40", "10.0.0.10", "10.0.0.40", 31},
        {"10.0.0.255-10.0.1.1", "10.0.0.255", "10.0.1.1", 3},
        {"10.0.0.1", "10.0.0.1", "10.0.0.1", 1},
        {"0.0.0.0/0", "0.0.0.1", "255.255.255.254", 4294967294u},
    };
    for (const auto &c : cases) {
        std::string error;
        const auto range = parseAddressRange(c.text, error);
        ASSERT_TRUE(range) << c.text << ": " << error;
        EXPECT_EQ(addressText(range->first), c.first) << c.text;
        EXPECT_EQ(addressText(range->last), c.last) << c.text;
        EXPECT_EQ(range->count(), c.count) << c.text;
    }
}

TEST(AddressRange, RefusesWhatIsNoRange)
{
    for (const char *text :
         {"", "10.0.0.0/33", "10.0.0/24", "10.0.0.0/", "a-b", "10.0.0.1-256", "10.0.0.40-10",
          "10.0.0.1-10.0.0.0", "host", "010.0.0.1/8", "10.0.0.1/+8"}) {
        std::string error;
        EXPECT_FALSE(parseAddressRange(text, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}

} // namespace
} // namespace kt::ktsw
