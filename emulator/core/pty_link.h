// The serial transport: a pseudo-terminal in raw mode whose slave side the
// library and the utility open as a serial port, optionally through a
// symbolic link at a chosen path.
#pragma once

#include <filesystem>
#include <string>

namespace kt::emu {

class PtyLink {
public:
    // Opens the pseudo-terminal and, when `link` is not empty, points a
    // symbolic link there at its slave (an old link there is replaced, any
    // other file is not touched). Throws std::runtime_error on failure.
    explicit PtyLink(const std::filesystem::path &link = {});
    ~PtyLink(); // closes both sides and removes the link
    PtyLink(const PtyLink &) = delete;
    PtyLink &operator=(const PtyLink &) = delete;

    int master() const { return master_; }
    const std::string &slavePath() const { return slavePath_; }
    const std::filesystem::path &link() const { return link_; }
    // The path clients should open: the link, or the slave itself.
    std::string path() const { return link_.empty() ? slavePath_ : link_.string(); }

private:
    int master_ = -1;
    // Kept open so that clients closing the slave never hang up the master.
    int slave_ = -1;
    std::string slavePath_;
    std::filesystem::path link_;
};

} // namespace kt::emu
