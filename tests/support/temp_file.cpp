#include "temp_file.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace kt::test {

TempFile::TempFile(bool created)
{
    const char *dir = std::getenv("TMPDIR");
    std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/kt-test-XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        throw std::runtime_error("mkstemp failed");
    ::close(fd);
    path_ = pattern;
    if (!created)
        ::unlink(path_.c_str());
}

TempFile::~TempFile() { ::unlink(path_.c_str()); }

bool TempFile::exists() const
{
    struct stat st { };
    return ::stat(path_.c_str(), &st) == 0;
}

std::string TempFile::contents() const
{
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace kt::test
