// Owning handles of libudev objects: each releases its reference when it
// goes out of scope.
#pragma once

#include <memory>

#include <libudev.h>

namespace kt::port {

struct UdevDeleter {
    void operator()(udev *u) const { udev_unref(u); }
    void operator()(udev_enumerate *e) const { udev_enumerate_unref(e); }
    void operator()(udev_device *d) const { udev_device_unref(d); }
};
template <class T> using UdevPtr = std::unique_ptr<T, UdevDeleter>;

} // namespace kt::port
