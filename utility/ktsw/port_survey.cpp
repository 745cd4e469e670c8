#include "port_survey.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <set>
#include <string_view>

#include <libudev.h>

#include "port_usb.h"
#include "udev_handles.h"
#include "usb_models.h"

namespace kt::ktsw {
namespace {

using port::UdevPtr;

constexpr std::string_view kPrinterInterfaceClass = "07";
constexpr std::string_view kUsblpDriver = "usblp";

std::string text(const char *s) { return s ? s : ""; }

// Syspaths of the devices of a subsystem whose names match one of the
// patterns, or below `parent` when given.
std::vector<std::string> listDevices(udev *u, const char *subsystem,
                                     std::initializer_list<const char *> names,
                                     udev_device *parent = nullptr)
{
    std::vector<std::string> paths;
    UdevPtr<udev_enumerate> e(udev_enumerate_new(u));
    if (!e || udev_enumerate_add_match_subsystem(e.get(), subsystem) < 0)
        return paths;
    for (const char *name : names)
        udev_enumerate_add_match_sysname(e.get(), name);
    if (parent)
        udev_enumerate_add_match_parent(e.get(), parent);
    if (udev_enumerate_scan_devices(e.get()) < 0)
        return paths;
    udev_list_entry *entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e.get()))
        paths.emplace_back(udev_list_entry_get_name(entry));
    return paths;
}

// The USB device above `dev` (not owned: the child holds it), or nullptr.
udev_device *usbDeviceOf(udev_device *dev)
{
    return udev_device_get_parent_with_subsystem_devtype(dev, "usb", "usb_device");
}

// Model and ids of a device on USB; the model only for the maker's devices.
void describeUsb(udev_device *usb, Candidate &c)
{
    if (!usb)
        return;
    const std::string vendor = text(udev_device_get_sysattr_value(usb, "idVendor"));
    const std::string product = text(udev_device_get_sysattr_value(usb, "idProduct"));
    c.usbId = vendor + ":" + product;
    if (const usb::ModelRow *row
        = usb::rowByFragment(port::usbIdText(vendor.c_str(), product.c_str())))
        c.model = row->model;
}

bool isPrinterInterface(udev_device *dev)
{
    return text(udev_device_get_devtype(dev)) == "usb_interface"
        && text(udev_device_get_sysattr_value(dev, "bInterfaceClass")) == kPrinterInterfaceClass;
}

// Adds a candidate of `kind` for every device node of the subsystem that
// `describe` keeps (it fills in the rest and gives true).
template <class Describe>
void addNodes(udev *u, const char *subsystem, std::initializer_list<const char *> names,
              PortKind kind, std::vector<Candidate> &out, Describe describe)
{
    for (const std::string &syspath : listDevices(u, subsystem, names)) {
        UdevPtr<udev_device> dev(udev_device_new_from_syspath(u, syspath.c_str()));
        const char *node = dev ? udev_device_get_devnode(dev.get()) : nullptr;
        if (!node)
            continue;
        Candidate c;
        c.path = node;
        c.kind = kind;
        if (describe(dev.get(), c))
            out.push_back(std::move(c));
    }
}

// usblp nodes of every maker, with the state of their interface's driver.
void addUsblpNodes(udev *u, std::vector<Candidate> &out, std::set<std::string> &interfaces)
{
    addNodes(u, "usbmisc", {"lp*"}, PortKind::Usb, out, [&](udev_device *dev, Candidate &c) {
        describeUsb(usbDeviceOf(dev), c);
        if (udev_device *iface
            = udev_device_get_parent_with_subsystem_devtype(dev, "usb", "usb_interface")) {
            interfaces.insert(udev_device_get_syspath(iface));
            c.usblpBound = text(udev_device_get_driver(iface)) == kUsblpDriver;
        }
        return true;
    });
}

// Printer interfaces of the maker's devices that have no usblp node: the
// driver is not bound, so nothing can open them.
void addUnboundPrinters(udev *u, std::vector<Candidate> &out,
                        const std::set<std::string> &interfaces)
{
    for (const std::string &syspath : listDevices(u, "usb", {})) {
        UdevPtr<udev_device> dev(udev_device_new_from_syspath(u, syspath.c_str()));
        if (!dev || !isPrinterInterface(dev.get()) || interfaces.contains(syspath))
            continue;
        udev_device *usb = usbDeviceOf(dev.get());
        if (!usb || text(udev_device_get_sysattr_value(usb, "idVendor")) != usb::kMakerVendorId)
            continue;
        Candidate c;
        c.kind = PortKind::Usb;
        describeUsb(usb, c);
        c.usblpBound = text(udev_device_get_driver(dev.get())) == kUsblpDriver;
        out.push_back(std::move(c));
    }
}

// The serial core's port type of a ttyS* port (0: unknown), when told.
std::optional<int> portType(udev_device *dev)
{
    const char *type = udev_device_get_sysattr_value(dev, "type");
    if (!type || !*type)
        return std::nullopt;
    return std::atoi(type);
}

void addTerminals(udev *u, std::vector<Candidate> &out)
{
    addNodes(u, "tty", {"ttyUSB*", "ttyACM*", "ttyS*"}, PortKind::Serial, out,
             [](udev_device *dev, Candidate &c) {
                 if (std::string_view(udev_device_get_sysname(dev)).starts_with("ttyS")) {
                     // Most machines list ttyS0..31 whether or not a UART is there.
                     udev_device *hardware = udev_device_get_parent(dev);
                     if (!hardware || !udev_device_get_driver(hardware))
                         return false;
                     c.serialPortType = portType(dev);
                     if (c.serialPortType == 0)
                         return false;
                 }
                 describeUsb(usbDeviceOf(dev), c);
                 return true;
             });
}

void addParallelPorts(udev *u, std::vector<Candidate> &out)
{
    addNodes(u, "printer", {"lp*"}, PortKind::Parallel, out,
             [](udev_device *, Candidate &) { return true; });
}

} // namespace

const char *kindName(PortKind kind)
{
    switch (kind) {
    case PortKind::Usb: return "usb";
    case PortKind::Parallel: return "parallel";
    case PortKind::Serial: break;
    }
    return "serial";
}

std::vector<Candidate> surveyPorts()
{
    std::vector<Candidate> found;
    UdevPtr<udev> u(udev_new());
    if (!u)
        return found;
    std::set<std::string> interfaces;
    addUsblpNodes(u.get(), found, interfaces);
    addUnboundPrinters(u.get(), found, interfaces);
    addTerminals(u.get(), found);
    addParallelPorts(u.get(), found);
    std::stable_sort(found.begin(), found.end(), [](const Candidate &a, const Candidate &b) {
        return a.kind != b.kind ? a.kind < b.kind : a.path < b.path;
    });
    return found;
}

} // namespace kt::ktsw
