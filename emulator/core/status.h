// The outcome of an emulator step that can fail at run time (file and
// descriptor I/O, settings checks): success, or the error text that names
// the cause. Set-up that cannot go on throws from constructors instead, and
// parsers throw for malformed input.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace kt::emu {

class [[nodiscard]] Status {
public:
    static Status success() { return Status(); }
    static Status failure(std::string why)
    {
        Status s;
        s.error_ = std::move(why);
        return s;
    }

    bool ok() const { return !error_; }
    explicit operator bool() const { return ok(); }
    // Why it failed; empty on success.
    const std::string &error() const
    {
        static const std::string none;
        return error_ ? *error_ : none;
    }

private:
    std::optional<std::string> error_;
};

// A value, or the error that kept it from being made.
template <typename T> class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) { }
    Result(Status failed) : value_(std::move(failed)) { }

    bool ok() const { return std::holds_alternative<T>(value_); }
    explicit operator bool() const { return ok(); }
    T &value() { return std::get<T>(value_); }
    const T &value() const { return std::get<T>(value_); }
    T *operator->() { return &value(); }
    const T *operator->() const { return &value(); }
    T &operator*() { return value(); }
    const T &operator*() const { return value(); }
    const std::string &error() const
    {
        static const std::string none;
        return ok() ? none : std::get<Status>(value_).error();
    }
    Status status() const { return ok() ? Status::success() : std::get<Status>(value_); }

private:
    std::variant<T, Status> value_;
};

} // namespace kt::emu
