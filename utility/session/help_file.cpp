#include "session/help_file.h"

#include <filesystem>
#include <fstream>

namespace kt::session {
namespace {

constexpr std::uintmax_t kMaxHelpBytes = 1 << 20;

bool isFile(const std::filesystem::path &path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

std::optional<std::string> findHelpFile(const std::vector<std::string> &directories)
{
    if (isFile(kHelpFileName))
        return kHelpFileName;
    for (const std::string &directory : directories) {
        const std::filesystem::path candidate = std::filesystem::path(directory) / kHelpFileName;
        if (candidate.is_absolute() && isFile(candidate))
            return candidate.string();
    }
    return std::nullopt;
}

std::optional<std::string> readHelpText(const std::string &path)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kMaxHelpBytes)
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::string text(static_cast<std::size_t>(size), '\0');
    if (!in.read(text.data(), static_cast<std::streamsize>(text.size())))
        return std::nullopt;
    return text;
}

} // namespace kt::session
