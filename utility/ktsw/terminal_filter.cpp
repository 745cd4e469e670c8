#include "terminal_filter.h"

namespace kt::ktsw {

TerminalFilterBuf::~TerminalFilterBuf()
{
    releasePendingLead();
    target_.flush();
}

void TerminalFilterBuf::escape(unsigned char code)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    const char text[] = {'\\', 'x', kHex[code >> 4], kHex[code & 0x0F]};
    target_.write(text, sizeof text);
}

void TerminalFilterBuf::releasePendingLead()
{
    if (pendingLead_)
        target_.put(static_cast<char>(0xC2));
    pendingLead_ = false;
}

TerminalFilterBuf::int_type TerminalFilterBuf::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    const auto byte = static_cast<unsigned char>(traits_type::to_char_type(c));
    if (pendingLead_ && byte >= 0x80 && byte <= 0x9F) {
        pendingLead_ = false;
        escape(byte);
    } else if (byte == 0xC2) {
        releasePendingLead();
        pendingLead_ = true;
    } else {
        releasePendingLead();
        const bool control
            = (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') || byte == 0x7F;
        if (control)
            escape(byte);
        else
            target_.put(static_cast<char>(byte));
    }
    return target_ ? c : traits_type::eof();
}

int TerminalFilterBuf::sync()
{
    // A lone 0xC2 at a flush waits for its next byte; the stream ends by
    // the destructor, which writes it out.
    target_.flush();
    return target_ ? 0 : -1;
}

} // namespace kt::ktsw
