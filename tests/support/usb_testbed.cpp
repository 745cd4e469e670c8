#include "usb_testbed.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
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
    ::chmod(umockdev_testbed_get_root_dir(bed_), 0755);
}

UsbTestbed::~UsbTestbed()
{
    for (int fd : heldOpen_)
        ::close(fd);
    g_object_unref(bed_);
}

std::string UsbTestbed::usbDevice(std::uint16_t vendorId, std::uint16_t productId)
{
    const int n = ++usbDevices_;
    char description[256];
    std::snprintf(description, sizeof description,
                  "P: /devices/pci0000:00/usb1/1-%d\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n"
                  "A: idVendor=%04x\nA: idProduct=%04x\n\n",
                  n, vendorId, productId);
    return description;
}

std::string UsbTestbed::addPrinter(std::uint16_t productId, std::uint16_t vendorId)
{
    const int n = printers_++;
    const std::string node = "/dev/usb/lp" + std::to_string(n);
    std::string description = usbDevice(vendorId, productId);
    const std::string device = "/devices/pci0000:00/usb1/1-" + std::to_string(usbDevices_);
    const std::string iface = device + "/1-" + std::to_string(usbDevices_) + ":1.0";
    // USB device, its printer interface driven by usblp, and the usblp node
    // below it; "N:" without contents makes the node a pseudo-terminal.
    description += "P: " + iface
        + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\nA: bInterfaceClass=07\n"
          "L: driver=../../../../../bus/usb/drivers/usblp\n\n"
        + "P: " + iface + "/usbmisc/lp" + std::to_string(n) + "\nN: usb/lp" + std::to_string(n)
        + "\nE: SUBSYSTEM=usbmisc\nE: DEVNAME=" + node + "\nA: dev=180:" + std::to_string(n) + "\n";
    return add(description, node);
}

void UsbTestbed::addUnboundPrinter(std::uint16_t productId, const std::string &driver)
{
    std::string description = usbDevice(kVendor, productId);
    const std::string n = std::to_string(usbDevices_);
    description += "P: /devices/pci0000:00/usb1/1-" + n + "/1-" + n
        + ":1.0\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\nA: bInterfaceClass=07\n";
    if (!driver.empty())
        description += "L: driver=../../../../../bus/usb/drivers/" + driver + "\n";
    addDevices(description);
}

std::string UsbTestbed::addUsbTerminal(const std::string &name, std::uint16_t productId,
                                       std::uint16_t vendorId)
{
    std::string description = usbDevice(vendorId, productId);
    const std::string n = std::to_string(usbDevices_);
    const std::string iface = "/devices/pci0000:00/usb1/1-" + n + "/1-" + n + ":1.0";
    description += "P: " + iface
        + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\nA: bInterfaceClass=02\n\n" + "P: " + iface
        + "/tty/" + name + "\nN: " + name + "\nE: SUBSYSTEM=tty\nE: DEVNAME=/dev/" + name + "\n";
    return add(description, "/dev/" + name);
}

std::string UsbTestbed::addSerialPort(const std::string &name, const std::string &driver, int type)
{
    const std::string hardware = "/devices/platform/serial8250." + name;
    std::string description = "P: " + hardware + "\nE: SUBSYSTEM=platform\n";
    if (!driver.empty())
        description += "L: driver=../../../bus/platform/drivers/" + driver + "\n";
    description += "\nP: " + hardware + "/tty/" + name + "\nN: " + name
        + "\nE: SUBSYSTEM=tty\nE: DEVNAME=/dev/" + name + "\n";
    if (type >= 0)
        description += "A: type=" + std::to_string(type) + "\n";
    return add(description, "/dev/" + name);
}

std::string UsbTestbed::addParallelPort(const std::string &name)
{
    const std::string description = "P: /devices/platform/parport_pc.0/parport0/" + name
        + "\nN: " + name + "\nE: SUBSYSTEM=printer\nE: DEVNAME=/dev/" + name + "\n";
    return add(description, "/dev/" + name);
}

void UsbTestbed::addDevices(const std::string &description)
{
    GError *error = nullptr;
    if (!umockdev_testbed_add_from_string(bed_, description.c_str(), &error)) {
        std::string message = error ? error->message : "umockdev refused the device";
        g_clear_error(&error);
        throw std::runtime_error(message);
    }
}

std::string UsbTestbed::add(const std::string &description, const std::string &node)
{
    addDevices(description);
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

std::string UsbTestbed::realPath(const std::string &node) const
{
    return std::string(umockdev_testbed_get_root_dir(bed_)) + node;
}

} // namespace kt::test
