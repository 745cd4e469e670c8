#include "node_facts.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <grp.h>
#include <linux/serial.h>
#include <pwd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "port_types.h"

namespace kt::ktsw {
namespace {

std::string userName(uid_t uid)
{
    if (const passwd *p = ::getpwuid(uid))
        return p->pw_name;
    return std::to_string(uid);
}

std::string groupName(gid_t gid)
{
    if (const group *g = ::getgrgid(gid))
        return g->gr_name;
    return std::to_string(gid);
}

// PORT_UNKNOWN from the serial driver: the port exists in name only.
bool typeUnknown(int fd)
{
    serial_struct info{};
    return ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type == PORT_UNKNOWN;
}

} // namespace

NodeFacts inspectNode(const std::string &path, bool serialHardware)
{
    NodeFacts facts;
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0) {
        facts.openError = errno;
        return facts;
    }
    facts.exists = true;
    facts.owner = userName(st.st_uid);
    facts.group = groupName(st.st_gid);
    facts.mode = st.st_mode & 07777;
    facts.status = st;
    // access() checks the real user, the one who asked.
    if (::access(path.c_str(), R_OK | W_OK) != 0) {
        facts.openError = errno;
        return facts;
    }
    port::UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        facts.openError = errno;
        // A serial port without a UART refuses the open.
        facts.noSerialHardware = serialHardware && (errno == EIO || errno == ENXIO);
        return facts;
    }
    facts.noSerialHardware = serialHardware && typeUnknown(fd.get());
    return facts;
}

UserFacts currentUser()
{
    UserFacts user;
    const char *fromEnvironment = std::getenv("USER");
    if (const passwd *p = ::getpwuid(::getuid()))
        user.name = p->pw_name;
    else if (fromEnvironment && *fromEnvironment)
        user.name = fromEnvironment;
    else
        user.name = std::to_string(::getuid());
    std::vector<gid_t> ids{::getgid()};
    if (const int count = ::getgroups(0, nullptr); count > 0) {
        ids.resize(1 + static_cast<std::size_t>(count));
        if (::getgroups(count, ids.data() + 1) != count)
            ids.resize(1);
    }
    for (gid_t id : ids) {
        std::string name = groupName(id);
        if (std::find(user.groups.begin(), user.groups.end(), name) == user.groups.end())
            user.groups.push_back(std::move(name));
    }
    return user;
}

bool listedInGroup(const std::string &user, const std::string &groupName)
{
    const group *g = ::getgrnam(groupName.c_str());
    if (!g)
        return false;
    if (const passwd *p = ::getpwnam(user.c_str()); p && p->pw_gid == g->gr_gid)
        return true;
    for (char **member = g->gr_mem; member && *member; ++member)
        if (user == *member)
            return true;
    return false;
}

std::string modeText(mode_t mode)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

} // namespace kt::ktsw
