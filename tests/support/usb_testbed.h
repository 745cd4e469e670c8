// A umockdev testbed with usblp printer nodes (/dev/usb/lpN under a USB
// device with idVendor and idProduct), for USB discovery without hardware.
// Only works in a process started by umockdev-wrapper: register such tests
// with kt_gtest(target WRAPPER umockdev-wrapper).
//
//   kt::test::UsbTestbed bed;
//   std::string node = bed.addPrinter(0x0384);          // a KT-9100X
//   kt::test::FdServer printer(bed.deviceFd(node));     // serve it
//
// The testbed's directory may be entered by every user, so that a program
// run as another user sees the same devices.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

typedef struct _UMockdevTestbed UMockdevTestbed;

namespace kt::test {

class UsbTestbed {
public:
    static constexpr std::uint16_t kVendor = 0x5e1b;

    // True in a process started by umockdev-wrapper.
    static bool available();

    // An empty testbed; throws std::runtime_error when not available().
    UsbTestbed();
    ~UsbTestbed(); // removes the testbed and every node in it
    UsbTestbed(const UsbTestbed &) = delete;
    UsbTestbed &operator=(const UsbTestbed &) = delete;

    // Adds one printer; nodes are /dev/usb/lp0, lp1, ... in the order added
    // (also udev's order for up to nine printers). Returns the node.
    std::string addPrinter(std::uint16_t productId, std::uint16_t vendorId = kVendor);

    // A printer interface of a USB printer without a usblp node (no driver,
    // or `driver` when given).
    void addUnboundPrinter(std::uint16_t productId, const std::string &driver = "");

    // A USB serial or CDC terminal ("ttyACM0", "ttyUSB0") of a USB device.
    // Returns the node.
    std::string addUsbTerminal(const std::string &name, std::uint16_t productId,
                               std::uint16_t vendorId = kVendor);

    // A ttyS* port: with `driver` bound to its device or none, and the
    // serial core's port type (0: unknown; -1: not told). Returns the node.
    std::string addSerialPort(const std::string &name, const std::string &driver, int type);

    // A parallel port ("lp0" in the printer class). Returns the node.
    std::string addParallelPort(const std::string &name);

    // The test's end of a node: it reads what the code under test wrote and
    // writes what that code will read. Raw, blocking; owned by the testbed.
    int deviceFd(const std::string &node) const;

    // Where a node is outside the testbed: the pseudo-terminal behind it,
    // for chown and chmod, which the testbed does not redirect.
    std::string realPath(const std::string &node) const;

private:
    void addDevices(const std::string &description);
    // Adds the devices of a description and holds the node open.
    std::string add(const std::string &description, const std::string &node);
    std::string usbDevice(std::uint16_t vendorId, std::uint16_t productId);

    UMockdevTestbed *bed_ = nullptr;
    int printers_ = 0;
    int usbDevices_ = 0;
    std::vector<int> heldOpen_; // the slave side of every node
};

} // namespace kt::test
