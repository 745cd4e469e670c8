// Exit codes of ktsw, and the result type every step that can fail gives.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace kt::ktsw {

// The exit codes every command shares; a command's own (diff, restore,
// deploy) are defined beside it.
inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage
    = 2;                            // arguments, values or switches refused before anything is sent
inline constexpr int kExitPort = 3; // the port could not be opened
inline constexpr int kExitNoAnswer = 4;   // no answer within the time-out, or the connection ended
inline constexpr int kExitNotKept = 5;    // a write was not confirmed by the read-back
inline constexpr int kExitWrongMaker = 6; // not a printer of the maker
inline constexpr int kExitPrinterError = 7; // the printer reports an error condition

struct Failure {
    int code = kExitUsage;
    std::string message;
    int error = 0; // the system error behind it, when one is known
};

// A value, or why there is none.
template <class T> class [[nodiscard]] Result {
public:
    Result(T value) : v_(std::move(value)) { }
    Result(Failure failure) : v_(std::move(failure)) { }

    bool ok() const { return std::holds_alternative<T>(v_); }
    T &value() { return std::get<T>(v_); }
    const T &value() const { return std::get<T>(v_); }
    const Failure &failure() const { return std::get<Failure>(v_); }

private:
    std::variant<T, Failure> v_;
};

// Success without a value.
struct Done { };

} // namespace kt::ktsw
