#include "work_directory.h"

#include <fstream>
#include <stdexcept>
#include <stdlib.h>

namespace kt::test {

WorkDirectory::WorkDirectory() : previous_(std::filesystem::current_path())
{
    std::string pattern = (std::filesystem::temp_directory_path() / "kt-work-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    std::filesystem::current_path(pattern);
    path_ = std::filesystem::current_path().string();
}

WorkDirectory::~WorkDirectory()
{
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(path_, ignored);
}

void WorkDirectory::write(const std::string &name, const std::string &text) const
{
    std::ofstream(std::filesystem::path(path_) / name, std::ios::binary) << text;
}

} // namespace kt::test
