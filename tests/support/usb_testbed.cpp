#include "usb_testbed.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

#include <umockdev.h>

namespace kt::test {

bool UsbTestbed::available()
{
    // umockdev_in_mock_environment() only tells whether a testbed exists;
    // redirection needs the preload library that umockdev-wrapper adds.
    const char *preload = std::getenv("LD_PRELOAD");
    return preload && std::strstr(preload, "libumockdev-preload");
}

UsbTestbed::UsbTestbed()
{
    if (!available())
        throw std::runtime_error("not running under umockdev-wrapper");
    bed_ = umockdev_testbed_new();
}

UsbTestbed::~UsbTestbed()
{
    for (int fd : heldOpen_)
        ::close(fd);
    g_object_unref(bed_);
}

std::string UsbTestbed::addPrinter(std::uint16_t productId, std::uint16_t vendorId)
{
    const int n = printers_;
    std::string node = "/dev/usb/lp" + std::to_string(n);
    // USB device, its printer interface, and the usblp node below it; "N:"
    // without contents makes the node a pseudo-terminal.
    char description[1024];
    std::snprintf(
        description, sizeof description,
        "P: /devices/pci0000:00/usb1/1-%d\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n"
        "A: idVendor=%04x\nA: idProduct=%04x\n\n"
        "P: /devices/pci0000:00/usb1/1-%d/1-%d:1.0\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n"
        "A: bInterfaceClass=07\n\n"
        "P: /devices/pci0000:00/usb1/1-%d/1-%d:1.0/usbmisc/lp%d\nN: usb/lp%d\n"
        "E: SUBSYSTEM=usbmisc\nE: DEVNAME=%s\nA: dev=180:%d\n",
        n + 1, vendorId, productId, n + 1, n + 1, n + 1, n + 1, n, n, node.c_str(), n);
    GError *error = nullptr;
    if (!umockdev_testbed_add_from_string(bed_, description, &error)) {
        std::string message = error ? error->message : "umockdev refused the device";
        g_clear_error(&error);
        throw std::runtime_error(message);
    }
    ++printers_;
    // The node's line discipline must pass every byte as it is.
    const int fd = deviceFd(node);
    termios t{};
    if (fd < 0 || tcgetattr(fd, &t) != 0)
        throw std::runtime_error("no device fd for " + node);
    cfmakeraw(&t);
    tcsetattr(fd, TCSANOW, &t);
    // Without an open slave the master reports a hang-up; keep one open so
    // the node can be served before and between the opens under test.
    const int slave = ::open(node.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0)
        throw std::runtime_error("cannot hold " + node + " open");
    heldOpen_.push_back(slave);
    return node;
}

int UsbTestbed::deviceFd(const std::string &node) const
{
    return umockdev_testbed_get_dev_fd(bed_, node.c_str());
}

} // namespace kt::test
