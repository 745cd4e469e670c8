// The system error number behind the calling thread's last call into the
// library, as KT_lastError reports it. Every export records it: 0 when the
// call succeeded.
#pragma once

#include <cerrno>
#include <cstdint>

namespace kt::last_error {

// An export's result code and the system error number that explains it.
struct [[nodiscard]] Outcome {
    std::int32_t result = 0;
    int error = 0;
};

// A successful result: no error.
inline Outcome success(std::int32_t result) { return {result, 0}; }

// A failed result; a failure without a system error of its own counts as
// an I/O error, so that a failure never reads as 0.
inline Outcome failure(std::int32_t result, int error)
{
    return {result, error != 0 ? error : EIO};
}

// Records the outcome's error for the calling thread and gives its result.
std::int32_t finish(Outcome outcome);

void set(int error);
int get();

} // namespace kt::last_error
