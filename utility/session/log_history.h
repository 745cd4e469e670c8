// The log history: the text of the multi-line box txtLOG, bounded so that it
// never holds much more than 8192 characters plus one line.
#pragma once

#include <string>
#include <string_view>

#include "session/control_names.h"
#include "session/form_view.h"

namespace kt::session {

class LogHistory {
public:
    explicit LogHistory(FormView &view, std::string control = std::string(controls::txtLOG))
        : view_(view), control_(std::move(control))
    { }

    // Appends one line at the bottom; CR LF goes only between lines. When the
    // text has reached 8192 characters (16384 bytes in its two-byte form) its
    // first 4096 characters are dropped first, cutting at a character
    // position rather than a line boundary.
    void addLog(std::string_view line);

    // The "Clear" button.
    void clear();

    // The trimming rule on a plain text, for callers without a view.
    static std::string appended(std::string text, std::string_view line);

private:
    FormView &view_;
    std::string control_;
};

} // namespace kt::session
