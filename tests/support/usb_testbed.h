// A umockdev testbed with usblp printer nodes (/dev/usb/lpN under a USB
// device with idVendor and idProduct), for USB discovery without hardware.
// Only works in a process started by umockdev-wrapper: register such tests
// with kt_gtest(target WRAPPER umockdev-wrapper).
//
//   kt::test::UsbTestbed bed;
//   std::string node = bed.addPrinter(0x0384);          // a KT-9100X
//   kt::test::FdServer printer(bed.deviceFd(node));     // serve it
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

    // The test's end of a node: it reads what the code under test wrote and
    // writes what that code will read. Raw, blocking; owned by the testbed.
    int deviceFd(const std::string &node) const;

private:
    UMockdevTestbed *bed_ = nullptr;
    int printers_ = 0;
    std::vector<int> heldOpen_; // the slave side of every node
};

} // namespace kt::test
