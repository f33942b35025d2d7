#include "display/presenting_rule.h"

#include <algorithm>

namespace zz {

void PresentingRule::RunTimingTest(Clock& clock,
                                   const std::function<void()>& presentWaitingForVerticalBlank) {
  const uint32_t deadline = clock.Milliseconds() + kTimingTestMilliseconds;
  int32_t run = 0;
  mode_ = PacingMode::timer;
  while (MillisecondsBetween(clock.Milliseconds(), deadline) > 0) {
    const uint32_t before = clock.Milliseconds();
    presentWaitingForVerticalBlank();
    const int32_t difference = MillisecondsBetween(before, clock.Milliseconds()) - kPeriod;
    run = (difference >= -1 && difference <= 1) ? run + 1 : 0;
    if (run == 3) {
      mode_ = PacingMode::verticalSync;
      break;
    }
  }
  remainder_ = 0;
  target_ = clock.Milliseconds();
}

bool PresentingRule::WaitForTurn(Clock& clock) {
  if (mode_ == PacingMode::verticalSync) return true;
  const uint32_t now = clock.Milliseconds();
  if (passStarted_) slowestPass_.Add(MillisecondsBetween(passStart_, now));
  passStarted_ = false;
  target_ += kPeriod;
  remainder_ += kRemainderStep;
  if (remainder_ >= kRate) {
    remainder_ -= kRate;
    target_ += 1;
  }
  const int32_t ahead = MillisecondsBetween(now, target_);
  if (ahead > 0 && ahead < kFurthestAhead) {
    clock.Sleep(static_cast<uint32_t>(ahead));
  } else {
    target_ = now;  // a late frame is shown at once and later frames do not make up for it
  }
  return false;
}

void PresentingRule::WaitForFrameStart(Clock& clock) {
  if (mode_ == PacingMode::verticalSync) return;
  if (!slowestPass_.empty()) {
    const int32_t lead = std::min(slowestPass_.value() + kFrameStartMargin, kLongestStep);
    const int32_t ahead = MillisecondsBetween(clock.Milliseconds(), NextTarget());
    if (ahead > lead && ahead < kFurthestAhead) clock.Sleep(static_cast<uint32_t>(ahead - lead));
  }
  passStarted_ = true;
  passStart_ = clock.Milliseconds();
}

uint32_t PresentingRule::NextTarget() const {
  return target_ + kPeriod + (remainder_ + kRemainderStep >= kRate ? 1 : 0);
}

}  // namespace zz
