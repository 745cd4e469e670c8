// KT_lastError and the per-thread error it reports.
#include "last_error.h"

#include <cstdio>
#include <cstring>

#include "KT4000.h"

namespace kt::last_error {
namespace {

thread_local int lastError = 0;

} // namespace

std::int32_t finish(Outcome outcome)
{
    lastError = outcome.error;
    return outcome.result;
}

void set(int error) { lastError = error; }

int get() { return lastError; }

} // namespace kt::last_error

int KT_lastError(char *text, int size)
{
    const int error = kt::last_error::get();
    if (text && size > 0) {
        char buffer[128];
        std::snprintf(text, static_cast<std::size_t>(size), "%s",
                      strerror_r(error, buffer, sizeof buffer));
    }
    return error;
}
