#include "node_holders.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <dirent.h>
#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace kt::ktsw {
namespace {

using Directory = std::unique_ptr<DIR, int (*)(DIR *)>;

Directory openDirectory(const std::string &path) { return {::opendir(path.c_str()), ::closedir}; }

bool isNumber(const char *name)
{
    return *name && std::all_of(name, name + std::char_traits<char>::length(name), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c));
    });
}

std::string commandName(const std::string &processDir)
{
    std::ifstream comm(processDir + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

// Adds the character devices the process has open; false when we may not
// read its descriptors (a process that ended meanwhile holds nothing).
bool addProcess(const std::string &processDir, int pid, OpenDevices &into)
{
    Directory fds = openDirectory(processDir + "/fd");
    if (!fds)
        return errno != EACCES && errno != EPERM;
    const std::size_t before = into.open.size();
    while (const dirent *entry = ::readdir(fds.get())) {
        if (!isNumber(entry->d_name))
            continue;
        // stat() follows the descriptor's link to the open file itself.
        struct stat st { };
        const std::string fd = processDir + "/fd/" + entry->d_name;
        if (::stat(fd.c_str(), &st) != 0 || !S_ISCHR(st.st_mode))
            continue;
        const bool seen = std::any_of(
            into.open.begin() + static_cast<std::ptrdiff_t>(before), into.open.end(),
            [&st](const OpenNode &n) { return n.filesystem == st.st_dev && n.inode == st.st_ino; });
        if (!seen)
            into.open.push_back({st.st_dev, st.st_ino, st.st_rdev, {pid, commandName(processDir)}});
    }
    return true;
}

} // namespace

std::vector<Holder> OpenDevices::holdersOf(const struct stat &node) const
{
    std::vector<Holder> found;
    for (const OpenNode &n : open) {
        const bool same = (n.filesystem == node.st_dev && n.inode == node.st_ino)
            || (node.st_rdev != 0 && n.device == node.st_rdev);
        const bool listed = std::any_of(found.begin(), found.end(),
                                        [&n](const Holder &h) { return h.pid == n.holder.pid; });
        if (same && !listed)
            found.push_back(n.holder);
    }
    return found;
}

OpenDevices openDevices(const std::string &procRoot)
{
    OpenDevices found;
    Directory proc = openDirectory(procRoot);
    if (!proc) {
        found.unreadable = -1;
        return found;
    }
    const int self = static_cast<int>(::getpid());
    while (const dirent *entry = ::readdir(proc.get())) {
        if (!isNumber(entry->d_name))
            continue;
        const int pid = std::stoi(entry->d_name);
        if (pid != self && !addProcess(procRoot + "/" + entry->d_name, pid, found))
            ++found.unreadable;
    }
    return found;
}

} // namespace kt::ktsw
