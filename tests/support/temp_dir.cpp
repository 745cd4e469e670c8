#include "temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "bmp_writer.h"

namespace kt::test {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kt-bitmap-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::file(const std::string &name, const std::vector<std::uint8_t> &bytes) const
{
    std::string full = path_ + "/" + name;
    writeFile(full, bytes);
    return full;
}

} // namespace kt::test
