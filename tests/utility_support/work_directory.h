// Runs a test in a new, empty directory of its own: it becomes the current
// directory, and on scope end the previous one is current again and the
// new one is removed with everything in it.
#pragma once

#include <filesystem>
#include <string>

namespace kt::test {

class WorkDirectory {
public:
    WorkDirectory();
    ~WorkDirectory();
    WorkDirectory(const WorkDirectory &) = delete;
    WorkDirectory &operator=(const WorkDirectory &) = delete;

    // The directory as the program sees it (links resolved).
    const std::string &path() const { return path_; }
    // Writes a file of that name into the directory.
    void write(const std::string &name, const std::string &text) const;

private:
    std::filesystem::path previous_;
    std::string path_;
};

} // namespace kt::test
