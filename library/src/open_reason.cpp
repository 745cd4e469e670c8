#include "open_reason.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <grp.h>
#include <sys/stat.h>
#include <vector>

namespace kt::port {
namespace {

std::string groupName(gid_t gid)
{
    group entry{};
    group *found = nullptr;
    std::vector<char> buffer(4096);
    if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
        return {};
    return found->gr_name;
}

std::string noSuchDevice(ReasonKind kind, int error, const std::string &target)
{
    if (kind == ReasonKind::UsbSearch)
        return "no such device: no USB printer of the maker found";
    if (error == ENODEV)
        return "no such device: " + target + " is not a character device";
    return "no such device: nothing is attached at " + target;
}

} // namespace

std::string accessGroup(ReasonKind kind, const std::string &path)
{
    struct stat st { };
    constexpr mode_t groupReadWrite = S_IRGRP | S_IWGRP;
    // Joining root's group is never the fix; a node that its group may not
    // use needs a rule that sets its group and mode.
    if (!path.empty() && ::stat(path.c_str(), &st) == 0 && st.st_gid != 0
        && (st.st_mode & groupReadWrite) == groupReadWrite) {
        if (std::string name = groupName(st.st_gid); !name.empty())
            return name;
    }
    return kind == ReasonKind::Serial ? "dialout" : "lp";
}

std::string openReason(ReasonKind kind, int error, const std::string &target)
{
    const bool tcp = kind == ReasonKind::Tcp;
    switch (error) {
    case ENOENT:
    case ENODEV: return noSuchDevice(kind, error, target);
    case ENXIO:
        if (tcp)
            return "no such host";
        return kind == ReasonKind::Serial ? "no printer answers on the line (CTS/DSR off)"
                                          : "no such device: no printer is attached to " + target;
    case EIO:
        return kind == ReasonKind::Serial
            ? "input/output error: no serial hardware answers at " + target
            : std::strerror(error);
    case EACCES:
    case EPERM:
        return "permission denied: add your user to the group "
            + accessGroup(kind, kind == ReasonKind::UsbSearch ? "" : target);
    case EBUSY: return "busy: another program has the port open";
    case EADDRNOTAVAIL: return "unknown host '" + target + "'";
    case ECONNREFUSED: return "connection refused";
    case ETIMEDOUT: return tcp ? "no answer to the connection request" : "timed out";
    case EHOSTUNREACH:
    case ENETUNREACH: return "host unreachable";
    default: return std::strerror(error);
    }
}

std::string openReasonSentence(ReasonKind kind, int error, const std::string &target)
{
    std::string text = openReason(kind, error, target);
    if (!text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

} // namespace kt::port
