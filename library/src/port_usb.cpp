#include "port_usb.h"

#include <cctype>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <libudev.h>

#include "diag_log.h"
#include "udev_handles.h"
#include "usb_models.h"

namespace kt::port {
namespace {

// Syspaths of the usblp printer nodes present now, in udev's order.
std::vector<std::string> printerNodes(udev *u, udev_enumerate **shown)
{
    std::vector<std::string> paths;
    UdevPtr<udev_enumerate> e(udev_enumerate_new(u));
    *shown = e.get();
    if (!e || udev_enumerate_add_match_subsystem(e.get(), "usbmisc") < 0
        || udev_enumerate_add_match_sysname(e.get(), "lp*") < 0
        || udev_enumerate_scan_devices(e.get()) < 0) {
        *shown = nullptr;
        return paths;
    }
    udev_list_entry *entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e.get()))
        paths.emplace_back(udev_list_entry_get_name(entry));
    return paths;
}

void logAttempt(const char *name, int fd, int index)
{
    diag::write(" openDev %s=%p, id=%d \n", name, logHandle(fd), index);
}

} // namespace

std::string usbIdText(const char *vendor, const char *product)
{
    std::string s
        = std::string("vid_") + (vendor ? vendor : "") + "&pid_" + (product ? product : "");
    for (char &ch : s)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

int openDev(const std::string &fragment, int &index)
{
    diag::write(" in openDev, id=%d, type=%s \n", index, fragment.c_str());
    errno = 0;
    UdevPtr<udev> u(udev_new());
    udev_enumerate *shown = nullptr;
    std::vector<std::string> nodes;
    if (u)
        nodes = printerNodes(u.get(), &shown);
    diag::write(" SetupDGCD=%p, lerr=%lx \n", static_cast<void *>(shown),
                static_cast<unsigned long>(errno));
    if (!shown) {
        errno = ENODEV;
        return -1;
    }

    for (int i = index;; ++i) {
        if (i < 0 || static_cast<std::size_t>(i) >= nodes.size()) {
            diag::write(" SetupDEDI=%d, lerr=%lx \n", 0, static_cast<unsigned long>(ENODEV));
            index = kNoMoreItems;
            errno = ENODEV;
            return -1;
        }
        errno = 0;
        UdevPtr<udev_device> dev(
            udev_device_new_from_syspath(u.get(), nodes[static_cast<std::size_t>(i)].c_str()));
        diag::write(" SetupDEDI=%d, lerr=%lx \n", dev ? 1 : 0, static_cast<unsigned long>(errno));
        if (!dev)
            continue;
        // The parent is owned by the child device: no unref.
        udev_device *usb
            = udev_device_get_parent_with_subsystem_devtype(dev.get(), "usb", "usb_device");
        const char *node = udev_device_get_devnode(dev.get());
        const bool detail = usb && node;
        const std::string id = detail ? usbIdText(udev_device_get_sysattr_value(usb, "idVendor"),
                                                  udev_device_get_sysattr_value(usb, "idProduct"))
                                      : std::string();
        diag::write(" SetupDGDID=%d, ds=%lu, lerr=%lx \n", detail ? 1 : 0,
                    static_cast<unsigned long>(id.size() + 1), static_cast<unsigned long>(errno));
        diag::write(" SetupDGDID=%d, lerr=%lx \n", detail ? 1 : 0,
                    static_cast<unsigned long>(errno));
        // A node without a USB parent cannot be matched; it does not end the search.
        if (!detail)
            continue;
        if (fragment.empty() || id.find(fragment) != std::string::npos) {
            index = i;
            return ::open(node, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        }
    }
}

namespace {

// A printer that was found but could not be opened (EACCES, EBUSY) says
// more than the rows after it that found nothing (ENODEV).
int keptError(int kept, int next) { return kept != 0 && kept != ENODEV ? kept : next; }

Status openUSB(const OpenRequest &, Opened &opened)
{
    const std::string &selected = usb::selectedFragment();
    int index = 0;
    int fd = openDev(selected, index);
    int error = fd < 0 ? errno : 0;
    logAttempt(selected.c_str(), fd, index);
    // The first attempt searches the selected row: that row's model is the one found.
    const usb::ModelRow *row = usb::rowByFragment(selected);
    usb::setCurrentModel(row ? row->model : usb::modelTable().front().model);
    if (fd < 0) {
        for (const usb::ModelRow &r : usb::modelTable()) {
            index = 0;
            fd = openDev(r.fragment, index);
            error = fd < 0 ? keptError(error, errno) : 0;
            logAttempt(r.tag, fd, index);
            usb::setCurrentModel(r.model);
            if (fd >= 0)
                break;
        }
    }
    opened.fd = fd;
    return {error};
}

Transfer readUSB(int fd, unsigned char *buffer, std::size_t n)
{
    return readFirstArrival(fd, buffer, n, kUsbReadMs, readDescriptor);
}

// The first printer whose id text holds the request's fragment.
Status openByFragment(const OpenRequest &request, Opened &opened)
{
    int index = 0;
    opened.fd = openDev(request.text ? request.text : "", index);
    return {opened.fd < 0 ? errno : 0};
}

// A usblp node by its path; only a character device is opened.
Status openNode(const OpenRequest &request, Opened &opened)
{
    if (!request.text)
        return {EINVAL};
    UniqueFd fd(::open(request.text, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    struct stat st { };
    if (fd.get() < 0)
        return {errno};
    if (::fstat(fd.get(), &st) != 0 || !S_ISCHR(st.st_mode))
        return {ENODEV};
    opened.fd = fd.release();
    return {};
}

} // namespace

const Operations usbOperations{Kind::Usb,       openUSB, closeDescriptor,
                               writeDescriptor, readUSB, kUsbWriteMs};
const Operations usbFragmentOperations{Kind::Usb,       openByFragment, closeDescriptor,
                                       writeDescriptor, readUSB,        kUsbWriteMs};
const Operations usbNodeOperations{Kind::Usb,       openNode, closeDescriptor,
                                   writeDescriptor, readUSB,  kUsbWriteMs};

} // namespace kt::port
