#include "session/log_history.h"

namespace kt::session {
namespace {

constexpr std::size_t kThresholdBytes = 16384; // twice the character count
constexpr std::size_t kDropChars = 4096;
constexpr std::size_t kKeepChars = 12287; // characters 4097 to 16383

} // namespace

std::string LogHistory::appended(std::string text, std::string_view line)
{
    if (2 * text.size() >= kThresholdBytes)
        text = text.substr(kDropChars, kKeepChars);
    if (!text.empty())
        text += "\r\n";
    text += line;
    return text;
}

void LogHistory::addLog(std::string_view line)
{
    view_.setText(control_, appended(view_.text(control_), line));
}

void LogHistory::clear() { view_.setText(control_, ""); }

} // namespace kt::session
