// ktsw doctor over umockdev testbeds: which ports it lists, with which
// model, mode, problem and fix, who holds a node, and which port answers
// as which printer. Runs under umockdev-wrapper; ktsw inherits the testbed.
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/emulator.h"
#include "ktsw_process.h"
#include "usb_testbed.h"

namespace kt::test {
namespace {

using nlohmann::json;

// A process of its own that holds a node open until the holder goes.
class NodeHolder {
public:
    explicit NodeHolder(const std::string &node)
    {
        int ready[2], release[2];
        if (::pipe(ready) != 0 || ::pipe(release) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            // Only the node may be open here: the descriptors inherited
            // from the testbed lead to the other nodes as well.
            for (int fd = 3; fd < 1024; ++fd)
                if (fd != ready[1] && fd != release[0])
                    ::close(fd);
            const int fd = ::open(node.c_str(), O_RDWR | O_NOCTTY);
            const char opened = fd >= 0 ? 1 : 0;
            if (::write(ready[1], &opened, 1) != 1)
                ::_exit(2);
            char c;
            while (::read(release[0], &c, 1) > 0) { }
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release[0]);
        release_ = release[1];
        char opened = 0;
        held_ = ::read(ready[0], &opened, 1) == 1 && opened == 1;
        ::close(ready[0]);
    }
    ~NodeHolder()
    {
        ::close(release_);
        if (pid_ > 0)
            ::waitpid(pid_, nullptr, 0);
    }
    NodeHolder(const NodeHolder &) = delete;
    NodeHolder &operator=(const NodeHolder &) = delete;

    bool held() const { return held_; }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int release_ = -1;
    bool held_ = false;
};

class Doctor : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!kt::test::UsbTestbed::available())
            GTEST_SKIP() << "needs umockdev-wrapper";
        bed_ = std::make_unique<kt::test::UsbTestbed>();
    }

    // The port entry of `path` in the report ("" for a printer without a node).
    static json portOf(const json &report, const std::string &path)
    {
        for (const json &port : report["ports"])
            if ((port["path"].is_null() ? "" : port["path"].get<std::string>()) == path)
                return port;
        return nullptr;
    }

    // Gives the node to the group with the mode, as udev would.
    void own(const std::string &node, const char *group, mode_t mode) const
    {
        const struct group *g = ::getgrnam(group);
        ASSERT_NE(g, nullptr) << group;
        ASSERT_EQ(::chown(bed_->realPath(node).c_str(), 0, g->gr_gid), 0) << node;
        ASSERT_EQ(::chmod(bed_->realPath(node).c_str(), mode), 0) << node;
    }

    std::unique_ptr<kt::test::UsbTestbed> bed_;
};

TEST_F(Doctor, ListsEveryPrinterPortWithItsKindAndModel)
{
    bed_->addPrinter(0x0384);
    bed_->addPrinter(0x0001, 0x1234); // a printer of another maker
    bed_->addUnboundPrinter(0x0338);
    bed_->addUsbTerminal("ttyACM0", 0x0376); // a printer in virtual-serial mode
    bed_->addUsbTerminal("ttyUSB0", 0x6001, 0x1234);
    bed_->addSerialPort("ttyS0", "serial8250", 4);
    bed_->addSerialPort("ttyS1", "serial8250", 0); // no UART behind it
    bed_->addSerialPort("ttyS2", "", 4);           // no driver bound
    bed_->addParallelPort("lp0");
    own("/dev/ttyACM0", "dialout", 0660);

    const Outcome run = ktsw({"doctor", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const json report = run.json();
    EXPECT_EQ(report["user"], "root");

    const struct {
        std::string path;
        const char *kind;
        json model;
        json usblpBound;
    } expected[] = {
        {"", "usb", "KT-7700", false},
        {"/dev/usb/lp0", "usb", "KT-9100X", true},
        {"/dev/usb/lp1", "usb", nullptr, true},
        {"/dev/ttyACM0", "serial", "TW86_USB", nullptr},
        {"/dev/ttyS0", "serial", nullptr, nullptr},
        {"/dev/ttyUSB0", "serial", nullptr, nullptr},
        {"/dev/lp0", "parallel", nullptr, nullptr},
    };
    ASSERT_EQ(report["ports"].size(), std::size(expected)) << report.dump(2);
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const json &port = report["ports"][i];
        const auto &e = expected[i];
        EXPECT_EQ(port["path"].is_null() ? "" : port["path"].get<std::string>(), e.path) << i;
        EXPECT_EQ(port["kind"], e.kind) << e.path;
        EXPECT_EQ(port["model"], e.model) << e.path;
        EXPECT_EQ(port.value("usblp_bound", json()), e.usblpBound) << e.path;
    }

    const json acm = portOf(report, "/dev/ttyACM0");
    EXPECT_EQ(acm["group"], "dialout");
    EXPECT_EQ(acm["mode"], "0660");
    EXPECT_EQ(acm["owner"], "root");
    EXPECT_EQ(acm["can_open"], true);
    // The testbed itself holds every node open: that is the only remark.
    EXPECT_TRUE(acm["problem"].is_null() || acm["problem"].get<std::string>().starts_with("in use"))
        << acm["problem"];
    EXPECT_EQ(portOf(report, "/dev/usb/lp0")["usb_id"], "5e1b:0384");

    const json unbound = portOf(report, "");
    EXPECT_EQ(unbound["can_open"], false);
    EXPECT_NE(unbound["problem"].get<std::string>().find("usblp driver is not bound"),
              std::string::npos);
    EXPECT_NE(unbound["fix"].get<std::string>().find("modprobe usblp"), std::string::npos);
}

TEST_F(Doctor, TellsAnUnprivilegedUserWhyAndHowToFixIt)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to become the user nobody";
    const std::string usb = bed_->addPrinter(0x0384);
    const std::string acm = bed_->addUsbTerminal("ttyACM0", 0x0376);
    const std::string serial = bed_->addSerialPort("ttyS0", "serial8250", 4);
    const std::string parallel = bed_->addParallelPort("lp0");
    own(usb, "lp", 0660);
    own(acm, "dialout", 0660);
    own(serial, "root", 0600);
    own(parallel, "lp", 0600);

    const Outcome run = ktsw({"doctor", "--json"}, true);
    EXPECT_EQ(run.status, 1) << "no port opens for nobody: " << run.err;
    const json report = run.json();
    EXPECT_EQ(report["user"], "nobody");
    EXPECT_GT(report["processes_not_looked_into"], 0) << "root's processes are closed to nobody";
    const struct {
        std::string path, problem, fix;
    } cases[] = {
        {usb, "permission denied: add your user to the group lp",
         "sudo usermod -aG lp nobody, then log in again"},
        {acm, "permission denied: add your user to the group dialout",
         "sudo usermod -aG dialout nobody, then log in again"},
        {serial, "permission denied: only root may open it (mode 0600, group root)",
         "sudo chgrp dialout /dev/ttyS0 && sudo chmod 0660 /dev/ttyS0"},
        {parallel, "permission denied: only root may open it (mode 0600, group lp)",
         "sudo chgrp lp /dev/lp0 && sudo chmod 0660 /dev/lp0"},
    };
    for (const auto &c : cases) {
        const json port = portOf(report, c.path);
        ASSERT_FALSE(port.is_null()) << c.path << ": " << report.dump(2);
        EXPECT_EQ(port["can_open"], false) << c.path;
        EXPECT_EQ(port["problem"], c.problem) << c.path;
        EXPECT_EQ(port["fix"].get<std::string>().rfind(c.fix, 0), 0u)
            << c.path << ": " << port["fix"];
    }

    const Outcome text = ktsw({"doctor"}, true);
    EXPECT_NE(text.out.find("fix: sudo usermod -aG dialout nobody, then log in again"),
              std::string::npos)
        << text.out;
}

TEST_F(Doctor, NamesTheProcessThatHoldsANode)
{
    const std::string node = bed_->addUsbTerminal("ttyUSB0", 0x6001, 0x1234);
    const std::string free = bed_->addUsbTerminal("ttyUSB1", 0x6001, 0x1234);
    const NodeHolder holder(node);
    ASSERT_TRUE(holder.held());

    const json report = ktsw({"doctor", "--json"}).json();
    const json held = portOf(report, node);
    bool named = false;
    for (const json &h : held["holder"])
        named = named || h["pid"] == holder.pid();
    EXPECT_TRUE(named) << held.dump(2);
    EXPECT_NE(held["problem"].get<std::string>().find("in use by"), std::string::npos);
    const json other = portOf(report, free);
    for (const json &h : other["holder"])
        EXPECT_NE(h["pid"], holder.pid()) << "only the node it opened: " << other.dump(2);
}

TEST_F(Doctor, ProbeTellsWhichPortAnswersAsWhichPrinter)
{
    emu::EmulatorOptions o;
    o.model = "KT-9100X";
    emu::Emulator printer(o);
    const std::string usb = bed_->addPrinter(*printer.profile().usbProductId);
    printer.serveFd(bed_->deviceFd(usb));
    const std::string mute = bed_->addUsbTerminal("ttyACM0", 0x0376);
    bed_->addParallelPort("lp0");

    const Outcome run = ktsw({"doctor", "--probe", "--json", "--timeout", "200"});
    printer.stop();
    ASSERT_EQ(run.status, 0) << run.err;
    const json report = run.json();
    const json answered = portOf(report, usb);
    ASSERT_TRUE(answered["answers"].is_object()) << answered.dump(2);
    EXPECT_EQ(answered["answers"]["model"], "KT-9100X");
    EXPECT_NE(answered["answers"]["maker"].get<std::string>().find("TALVORIN"), std::string::npos);
    EXPECT_TRUE(portOf(report, mute)["answers"].is_null());
    EXPECT_NE(portOf(report, mute)["probe"].get<std::string>().find("no answer"),
              std::string::npos);
    EXPECT_NE(portOf(report, "/dev/lp0")["probe"].get<std::string>().find("only takes data"),
              std::string::npos);
}

TEST_F(Doctor, AMachineWithoutPortsSaysSoAndExitsOne)
{
    const Outcome run = ktsw({"doctor"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("No printer port found"), std::string::npos) << run.out;
}

} // namespace
} // namespace kt::test
