// Waiting for the program: every wait polls a condition until a deadline instead of sleeping
// for a guessed time, so tests are as fast as the program and still patient with a slow machine.
#pragma once

#include <chrono>
#include <thread>

namespace zz::e2e {

using namespace std::chrono_literals;

constexpr std::chrono::milliseconds kDefaultDeadline = 10s;
constexpr std::chrono::milliseconds kPollInterval = 20ms;

// Returns whether `holds()` became true before the deadline passed.
template <typename Condition>
bool WaitUntil(Condition&& holds, std::chrono::milliseconds deadline = kDefaultDeadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (true) {
    if (holds()) return true;
    if (std::chrono::steady_clock::now() >= end) return false;
    std::this_thread::sleep_for(kPollInterval);
  }
}

}  // namespace zz::e2e
