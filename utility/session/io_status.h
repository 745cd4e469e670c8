// The outcome of one I/O step of the session's ports and controls:
// success, or the error that stopped it, with its number (an errno value,
// or the control's own numbering), the part that raised it when that is
// told, and a description. It is the one result type of the session's
// I/O; set-up that cannot go on throws from constructors instead.
#pragma once

#include <string>
#include <utility>

namespace kt::session {

class [[nodiscard]] IoStatus {
public:
    static IoStatus success() { return IoStatus(); }
    // number is not 0: 0 means success.
    static IoStatus failure(int number, std::string description, std::string source = {})
    {
        IoStatus s;
        s.number_ = number;
        s.description_ = std::move(description);
        s.source_ = std::move(source);
        return s;
    }

    bool ok() const { return number_ == 0; }
    explicit operator bool() const { return ok(); }

    int number() const { return number_; }
    const std::string &description() const { return description_; }
    const std::string &source() const { return source_; }

private:
    int number_ = 0;
    std::string description_;
    std::string source_;
};

} // namespace kt::session
