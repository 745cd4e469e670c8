#include "session/reply_scan.h"

namespace kt::session {

void scanUsbBuffer(std::string_view buffer, bool &headerSeen, std::string &reply)
{
    for (char c : buffer) {
        if (c == kReplyHeader && !headerSeen) {
            headerSeen = true;
            reply.clear();
        } else if (c == '\0' && headerSeen) {
            continue;
        } else {
            reply += c;
        }
    }
}

std::string scanStream(std::string_view received)
{
    std::string reply;
    reply.reserve(received.size());
    bool headerSeen = false;
    for (char c : received) {
        if (c == kReplyHeader && !headerSeen)
            headerSeen = true;
        else
            reply += c;
    }
    return reply;
}

} // namespace kt::session
