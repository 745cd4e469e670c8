// Runs a piece of a test in a forked child, so that a call that blocks, or
// one that must run under another user, cannot take the test run with it.
#pragma once

#include <chrono>
#include <functional>
#include <optional>

namespace kt::test {

// The child's exit code, or nothing when it did not exit within `limit`
// (it is killed then) or died by a signal.
std::optional<int> runInChild(const std::function<int()> &body, std::chrono::milliseconds limit);

} // namespace kt::test
