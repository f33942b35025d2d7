// The slowest of the last second's passes, in whole milliseconds: how early a pass must start to
// be ready for its present. A slow pass counts for one second, then is forgotten.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace zz {

class SlowestRecentPass {
 public:
  static constexpr std::size_t kPasses = 60;

  void Add(int32_t milliseconds) {
    passes_[next_] = std::max<int32_t>(milliseconds, 0);
    next_ = (next_ + 1) % kPasses;
    count_ = std::min(count_ + 1, kPasses);
  }

  bool empty() const { return count_ == 0; }
  int32_t value() const { return *std::max_element(passes_.begin(), passes_.begin() + count_); }

 private:
  std::array<int32_t, kPasses> passes_{};
  std::size_t next_ = 0;
  std::size_t count_ = 0;
};

}  // namespace zz
