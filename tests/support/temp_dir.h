// A scratch directory removed with everything in it when the test ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kt::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::string &path() const { return path_; }
    // Writes the bytes to a file of that name in the directory; its path.
    std::string file(const std::string &name, const std::vector<std::uint8_t> &bytes) const;

private:
    std::string path_;
};

} // namespace kt::test
