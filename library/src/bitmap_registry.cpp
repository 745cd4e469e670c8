#include "bitmap_registry.h"

#include <cstring>

namespace kt::bitmap::registry {
namespace {

std::vector<std::string> &list()
{
    static std::vector<std::string> registered;
    return registered;
}

} // namespace

Added add(const char *name)
{
    if (list().size() >= kMaxNames)
        return Added::Full;
    const std::size_t length = ::strnlen(name, kMaxNameLength + 1);
    if (length > kMaxNameLength)
        return Added::NameTooLong;
    list().emplace_back(name, length);
    return Added::Ok;
}

void clear() { list().clear(); }

const std::vector<std::string> &names() { return list(); }

} // namespace kt::bitmap::registry
