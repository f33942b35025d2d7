// The millisecond clock and sleep. Readings wrap like a 32-bit millisecond timer; compare them
// by signed difference, never directly.
#pragma once

#include <cstdint>

namespace zz {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint32_t Milliseconds() = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;
};

// Milliseconds from a to b, correct across the wrap of the 32-bit reading.
inline int32_t MillisecondsBetween(uint32_t a, uint32_t b) {
  return static_cast<int32_t>(b - a);
}

// The platform's clock, with 1 ms resolution for the run.
class SystemClock final : public Clock {
 public:
  uint32_t Milliseconds() override;
  void Sleep(uint32_t milliseconds) override;
};

}  // namespace zz
