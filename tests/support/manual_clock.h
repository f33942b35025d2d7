// A clock for tests and tools that moves only when slept on, so pacing never waits for real time.
#pragma once

#include "display/clock.h"

namespace zz::test {

class ManualClock final : public Clock {
 public:
  uint32_t Milliseconds() override { return now_; }
  void Sleep(uint32_t milliseconds) override { now_ += milliseconds; }

 private:
  uint32_t now_ = 0;
};

}  // namespace zz::test
