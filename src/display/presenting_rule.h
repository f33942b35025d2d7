// The presenting rule: how every frame is shown and paced to 60 a second. Only the arithmetic
// lives here; the clock and the presents are passed in, so the rule runs on a fake clock in tests.
#pragma once

#include <cstdint>
#include <functional>

#include "display/clock.h"
#include "display/slowest_recent_pass.h"

namespace zz {

enum class PacingMode { verticalSync, timer };

class PresentingRule {
 public:
  static constexpr int32_t kRate = 60;
  static constexpr int32_t kPeriod = 1000 / kRate;                   // 16
  static constexpr int32_t kRemainderStep = 1000 - kPeriod * kRate;  // 40
  static constexpr int32_t kTimingTestMilliseconds = 1000;
  static constexpr int32_t kLongestStep = kPeriod + 1;
  // A target lies about a step ahead of the clock at most (a little more when a sleep ends a
  // millisecond early by the clock's reading). One that seems a second ahead is long past, read
  // across the clock's wrap (a splash left waiting for weeks), and counts as late.
  static constexpr int32_t kFurthestAhead = 1000;
  // Room left before a target beyond the slowest recent pass: the clock's tick and a sleep's
  // overshoot.
  static constexpr int32_t kFrameStartMargin = 3;

  // Presents waiting for the vertical blank for up to one second; three presents of 15..17 ms in
  // a row choose vertical-sync pacing, otherwise timer pacing. Sets the target to the clock.
  void RunTimingTest(Clock& clock, const std::function<void()>& presentWaitingForVerticalBlank);

  // Under timer pacing: advances the target and sleeps until it (a late frame resets it).
  // Returns whether the present that follows waits for the vertical blank.
  bool WaitForTurn(Clock& clock);

  // Under timer pacing: sleeps until a pass that starts now is still ready by the next target
  // (the slowest pass of the last second, plus the margin, before it). Input taken after this
  // wait is shown at the next present, not a whole period later. A pass measures from here to
  // its present; until one has, passes start at once.
  void WaitForFrameStart(Clock& clock);

  // The target that the next present will wait for.
  uint32_t NextTarget() const;

  PacingMode mode() const { return mode_; }
  uint32_t target() const { return target_; }
  int32_t remainder() const { return remainder_; }

  void SetMode(PacingMode mode) { mode_ = mode; }
  void SetTarget(uint32_t target) { target_ = target; }

 private:
  PacingMode mode_ = PacingMode::timer;
  int32_t remainder_ = 0;
  uint32_t target_ = 0;
  bool passStarted_ = false;
  uint32_t passStart_ = 0;
  SlowestRecentPass slowestPass_;
};

}  // namespace zz
