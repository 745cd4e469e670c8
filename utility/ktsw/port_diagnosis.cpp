#include "port_diagnosis.h"

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

#include "open_reason.h"

namespace kt::ktsw {
namespace {

port::ReasonKind reasonKind(PortKind kind)
{
    switch (kind) {
    case PortKind::Usb: return port::ReasonKind::UsbNode;
    case PortKind::Parallel: return port::ReasonKind::Parallel;
    case PortKind::Serial: break;
    }
    return port::ReasonKind::Serial;
}

bool hasGroup(const UserFacts &user, const std::string &group)
{
    return std::find(user.groups.begin(), user.groups.end(), group) != user.groups.end();
}

std::string ruleFix()
{
    return std::string("install the udev rule ") + kUdevRuleName
        + " that comes with ktsw into /etc/udev/rules.d, run 'sudo udevadm control --reload'"
          " and plug the printer in again";
}

Diagnosis permissionDenied(const PortFacts &f)
{
    const NodeFacts &node = f.node;
    constexpr mode_t groupReadWrite = S_IRGRP | S_IWGRP;
    const bool groupMayOpen
        = (node.mode & groupReadWrite) == groupReadWrite && node.group != "root";
    if (!groupMayOpen) {
        const std::string group = port::accessGroup(reasonKind(f.port.kind), "");
        const std::string problem = "permission denied: only " + node.owner + " may open it (mode "
            + modeText(node.mode) + ", group " + node.group + ")";
        if (f.port.kind == PortKind::Usb || f.port.model)
            return {problem, ruleFix()};
        return {problem,
                "sudo chgrp " + group + " " + f.port.path + " && sudo chmod 0660 " + f.port.path
                    + " (until the next boot; a udev rule makes it last)"};
    }
    if (hasGroup(f.user, node.group))
        return {"permission denied although you are in the group " + node.group, ""};
    if (f.listedInNodeGroup)
        return {"permission denied: you were added to the group " + node.group
                    + ", but this login session does not have it yet",
                "log out and in again (or run 'newgrp " + node.group + "')"};
    return {"permission denied: add your user to the group " + node.group,
            "sudo usermod -aG " + node.group + " " + f.user.name + ", then log in again"};
}

} // namespace

std::string holderText(const std::vector<Holder> &holders)
{
    std::string text;
    for (const Holder &h : holders) {
        if (!text.empty())
            text += ", ";
        text += (h.name.empty() ? "?" : h.name) + " (pid " + std::to_string(h.pid) + ")";
    }
    return text;
}

Diagnosis diagnose(const PortFacts &f)
{
    if (f.port.usblpBound == false)
        return {"the usblp driver is not bound to the printer's interface, so it has no "
                "/dev/usb/lp node",
                "sudo modprobe usblp, and make sure no file in /etc/modprobe.d blacklists it"};
    if (f.port.path.empty())
        return {"the printer has no device node", ""};
    const int error = f.node.openError;
    if (error == EACCES || error == EPERM)
        return permissionDenied(f);
    if (error == EBUSY && !f.holders.empty())
        return {"busy: " + holderText(f.holders) + " has the port open",
                "end that program, or make it let go of " + f.port.path};
    if (error != 0)
        return {port::openReason(reasonKind(f.port.kind), error, f.port.path), ""};
    if (!f.holders.empty())
        return {"in use by " + holderText(f.holders)
                    + ": the printer may get data from both, or refuse the second opener",
                "end that program while you service the printer"};
    return {};
}

} // namespace kt::ktsw
