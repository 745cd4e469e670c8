#include "printer_state.h"

#include <algorithm>

namespace kt::emu {

PrinterState defaultState(const ModelProfile &profile)
{
    PrinterState s;
    s.parameters = profile.parameters;
    return s;
}

void incrementCounter(PrinterState &state, int number)
{
    auto &v = state.parameters[number];
    if (v.empty() || v.size() > 9
        || !std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return;
    v = std::to_string(std::stoull(v) + 1);
}

} // namespace kt::emu
