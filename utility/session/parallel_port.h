// The parallel port as a file (file number 1 of the classic program): a
// device opened for reading or for writing, one byte written at a time.
// Nothing here blocks without a bound: the device is opened non-blocking
// and every wait has a time-out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "session/device_names.h"
#include "session/io_status.h"

namespace kt::session {

// The message of a failed file operation: "Error no " + number with its
// leading blank + ": " + description.
std::string fileErrorMessage(const IoStatus &error);

class ParallelPort {
public:
    explicit ParallelPort(std::string device = std::string(kDefaultParallelDevice));
    ~ParallelPort();
    ParallelPort(const ParallelPort &) = delete;
    ParallelPort &operator=(const ParallelPort &) = delete;

    const std::string &device() const { return device_; }
    bool isOpen() const { return fd_ >= 0; }

    // Closes whatever is open, then opens the device for reading or writing.
    IoStatus open(bool forReading);
    // Closing a closed port is not an error.
    IoStatus close();

    // Writes one byte, waiting at most timeoutMs for the device to take it.
    IoStatus write(std::uint8_t byte, int timeoutMs = 2000);

    // Reads up to count bytes: waits at most firstByteMs for the first and
    // gapMs for each further one; returns what arrived (one char per byte).
    std::string read(std::size_t count, int firstByteMs = 300, int gapMs = 50);

private:
    std::string device_;
    int fd_ = -1;
};

} // namespace kt::session
