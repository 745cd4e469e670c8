// How received bytes become the reply text. The reply of a query begins
// with the header "_"; the rules that strip it differ per transport.
#pragma once

#include <string>
#include <string_view>

namespace kt::session {

inline constexpr char kReplyHeader = '_';

// USB buffers: a "_" while no header was seen sets the flag and discards
// what was collected before it; once the flag is set NULs are skipped;
// every other byte (and a NUL before the header) is appended. The flag is
// carried from the first read into the second.
void scanUsbBuffer(std::string_view buffer, bool &headerSeen, std::string &reply);

// Serial, parallel and TCP: only the first "_" is dropped, every other byte
// (NULs and later "_" included) is kept; nothing is discarded before it.
std::string scanStream(std::string_view received);

} // namespace kt::session
