#include "display/pending_clear.h"

#include <algorithm>

namespace zz {

void PendingClear::Start(SDL_Surface* target, uint32_t pixel) {
  target_ = target;
  width_ = target->w;
  pixel_ = pixel;
  rowPending_.assign(static_cast<std::size_t>(std::max(target->h, 0)), 1);
  pendingRows_ = std::max(target->h, 0);
}

void PendingClear::Settle(SDL_Surface* target, int64_t top, int64_t bottom) {
  if (pendingRows_ == 0) return;
  Follow(target);
  const int32_t first = static_cast<int32_t>(std::clamp<int64_t>(top, 0, target_->h));
  const int32_t end = static_cast<int32_t>(std::clamp<int64_t>(bottom, 0, target_->h));
  for (int32_t row = first; row < end; ++row) {
    if (rowPending_[static_cast<std::size_t>(row)] == 0) continue;
    FillRow(row);
    rowPending_[static_cast<std::size_t>(row)] = 0;
    --pendingRows_;
  }
}

void PendingClear::SettleAll(SDL_Surface* target) {
  if (pendingRows_ == 0) return;
  Follow(target);
  const int32_t rows = static_cast<int32_t>(rowPending_.size());
  int32_t row = 0;
  while (row < rows) {
    if (rowPending_[static_cast<std::size_t>(row)] == 0) {
      ++row;
      continue;
    }
    int32_t end = row;
    while (end < rows && rowPending_[static_cast<std::size_t>(end)] != 0)
      rowPending_[static_cast<std::size_t>(end++)] = 0;
    const SDL_Rect stretch{0, row, width_, end - row};
    SDL_FillRect(target_, &stretch, pixel_);
    row = end;
  }
  pendingRows_ = 0;
}

void PendingClear::Cancel() {
  pendingRows_ = 0;
  target_ = nullptr;
}

void PendingClear::Follow(SDL_Surface* target) {
  if (target != target_ || target->w != width_ || target->h != static_cast<int32_t>(rowPending_.size()))
    Start(target, pixel_);
}

void PendingClear::FillRow(int32_t row) {
  auto* const pixels = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(target_->pixels) +
                                                   static_cast<std::ptrdiff_t>(row) * target_->pitch);
  std::fill_n(pixels, target_->w, pixel_);
}

}  // namespace zz
