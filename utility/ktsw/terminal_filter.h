// A stream in front of a terminal stream that shows control characters as
// \xNN: the texts ktsw prints include what a device answered, and an
// answer must not move the cursor, set colours or retitle the window.
#pragma once

#include <ostream>
#include <streambuf>

namespace kt::ktsw {

// Passes text through unchanged except C0 controls other than tab, line
// feed and carriage return, DEL, and the C1 controls U+0080..U+009F
// written as UTF-8; those become "\xNN" (NN the control's code).
class TerminalFilterBuf : public std::streambuf {
public:
    explicit TerminalFilterBuf(std::ostream &target) : target_(target) { }
    ~TerminalFilterBuf() override;
    TerminalFilterBuf(const TerminalFilterBuf &) = delete;
    TerminalFilterBuf &operator=(const TerminalFilterBuf &) = delete;

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    void escape(unsigned char code);
    void releasePendingLead();

    std::ostream &target_;
    bool pendingLead_ = false; // a 0xC2 that may start a C1 control
};

// An ostream over a TerminalFilterBuf.
class TerminalFilterStream : public std::ostream {
public:
    explicit TerminalFilterStream(std::ostream &target) : std::ostream(nullptr), buf_(target)
    {
        rdbuf(&buf_);
    }

private:
    TerminalFilterBuf buf_;
};

} // namespace kt::ktsw
