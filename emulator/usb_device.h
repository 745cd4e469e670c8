// The printer as a USB printer for clients on this machine: a umockdev
// testbed in which /dev/usb/lp0 is a usblp node below a USB device with the
// maker's vendor id and the model's product id. A client finds it only when
// it runs with the testbed's environment (clientEnvironment()); the
// emulator serves the node's other end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

typedef struct _UMockdevTestbed UMockdevTestbed;

namespace kt::emu {

class UsbDevice {
public:
    static constexpr std::uint16_t kVendorId = 0x5e1b;
    static constexpr const char *kNode = "/dev/usb/lp0";
    static constexpr const char *kPreload = "libumockdev-preload.so.0";

    // Makes the testbed (its directory goes into UMOCKDEV_DIR of this
    // process) and the device. Throws std::runtime_error naming the cause.
    explicit UsbDevice(std::uint16_t productId);
    ~UsbDevice(); // removes the testbed with its directory
    UsbDevice(const UsbDevice &) = delete;
    UsbDevice &operator=(const UsbDevice &) = delete;

    // The emulator's end of the node (a terminal; owned here).
    int printerFd() const { return printerFd_; }
    const std::string &directory() const { return directory_; }
    // "UMOCKDEV_DIR=... LD_PRELOAD=..." for a client started by hand.
    std::vector<std::string> clientEnvironment() const;

private:
    UMockdevTestbed *bed_ = nullptr;
    int printerFd_ = -1;
    // The client's end, held open so that the node never reports a hang-up
    // between the opens of clients.
    int heldOpen_ = -1;
    std::string directory_;
};

} // namespace kt::emu
