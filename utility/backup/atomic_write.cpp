#include "atomic_write.h"

namespace kt::backup {

bool writeAll(int fd, std::string_view bytes) { return files::writeAll(fd, bytes); }

std::optional<std::string> writeAtomically(const std::filesystem::path &path,
                                           std::string_view content, const Writer &write)
{
    return files::replaceFile(path, [&](int fd) { return write(fd, content); });
}

} // namespace kt::backup
