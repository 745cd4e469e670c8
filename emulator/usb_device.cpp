#include "usb_device.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

#include <umockdev.h>

namespace kt::emu {
namespace {

std::string hex4(std::uint16_t v)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04x", v);
    return buf;
}

// The USB device, its printer-class interface and the usblp node below it,
// in umockdev's description format. A node given without contents becomes
// a pseudo-terminal whose other end the testbed hands out.
std::string description(std::uint16_t productId)
{
    const std::string device = "/devices/pci0000:00/usb1/1-1";
    const std::string interface = device + "/1-1:1.0";
    std::string d;
    d += "P: " + device + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n";
    d += "A: idVendor=" + hex4(UsbDevice::kVendorId) + "\nA: idProduct=" + hex4(productId) + "\n\n";
    d += "P: " + interface + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n";
    d += "A: bInterfaceClass=07\n\n";
    d += "P: " + interface + "/usbmisc/lp0\nN: usb/lp0\nE: SUBSYSTEM=usbmisc\n";
    d += "E: DEVNAME=" + std::string(UsbDevice::kNode) + "\nA: dev=180:0\n";
    return d;
}

} // namespace

UsbDevice::UsbDevice(std::uint16_t productId)
{
    bed_ = umockdev_testbed_new();
    if (!bed_)
        throw std::runtime_error("cannot make a umockdev testbed");
    GError *error = nullptr;
    if (!umockdev_testbed_add_from_string(bed_, description(productId).c_str(), &error)) {
        const std::string why = error ? error->message : "umockdev refused the device";
        g_clear_error(&error);
        g_object_unref(bed_);
        throw std::runtime_error("cannot add the USB printer: " + why);
    }
    if (const char *root = umockdev_testbed_get_root_dir(bed_))
        directory_ = root;
    printerFd_ = umockdev_testbed_get_dev_fd(bed_, kNode);
    const char *clientEnd = printerFd_ >= 0 ? ::ptsname(printerFd_) : nullptr;
    if (clientEnd)
        heldOpen_ = ::open(clientEnd, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (heldOpen_ < 0) {
        g_object_unref(bed_);
        throw std::runtime_error("the testbed gave no terminal for " + std::string(kNode));
    }
}

UsbDevice::~UsbDevice()
{
    ::close(heldOpen_);
    g_object_unref(bed_);
}

std::vector<std::string> UsbDevice::clientEnvironment() const
{
    const char *preload = std::getenv("LD_PRELOAD");
    std::string libraries = kPreload;
    if (preload && *preload)
        libraries += std::string(":") + preload;
    return {"UMOCKDEV_DIR=" + directory_, "LD_PRELOAD=" + libraries};
}

} // namespace kt::emu
