#include "display/pending_clear.h"

#include <algorithm>

namespace zz {

void PendingClear::Start(SDL_Surface* target, uint32_t pixel) {
  if (!Follows(target) || pixel != pixel_) {
    target_ = target;
    width_ = target->w;
    pixel_ = pixel;
    rows_.assign(static_cast<std::size_t>(std::max(target->h, 0)), kUnknown);
  }
  pendingRows_ = 0;
  for (RowState& row : rows_) {
    if (row == kGround) continue;
    row = kPending;
    ++pendingRows_;
  }
}

void PendingClear::Settle(SDL_Surface* target, int64_t top, int64_t bottom) {
  if (!Follows(target)) {
    if (pendingRows_ == 0) return;
    Start(target, pixel_);
  }
  const int32_t first = static_cast<int32_t>(std::clamp<int64_t>(top, 0, target_->h));
  const int32_t end = static_cast<int32_t>(std::clamp<int64_t>(bottom, 0, target_->h));
  for (int32_t row = first; row < end; ++row) {
    RowState& state = rows_[static_cast<std::size_t>(row)];
    if (state == kPending) {
      FillRow(row);
      --pendingRows_;
    }
    state = kDrawn;
  }
}

void PendingClear::SettleAll(SDL_Surface* target) {
  if (pendingRows_ == 0) return;
  if (!Follows(target)) Start(target, pixel_);
  const int32_t rows = static_cast<int32_t>(rows_.size());
  int32_t row = 0;
  while (row < rows) {
    if (rows_[static_cast<std::size_t>(row)] != kPending) {
      ++row;
      continue;
    }
    int32_t end = row;
    while (end < rows && rows_[static_cast<std::size_t>(end)] == kPending)
      rows_[static_cast<std::size_t>(end++)] = kGround;
    const SDL_Rect stretch{0, row, width_, end - row};
    SDL_FillRect(target_, &stretch, pixel_);
    row = end;
  }
  pendingRows_ = 0;
}

void PendingClear::Forget() {
  target_ = nullptr;
  rows_.clear();
  pendingRows_ = 0;
}

bool PendingClear::Follows(const SDL_Surface* target) const {
  return target == target_ && target->w == width_ && target->h == static_cast<int32_t>(rows_.size());
}

void PendingClear::FillRow(int32_t row) {
  auto* const pixels = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(target_->pixels) +
                                                   static_cast<std::ptrdiff_t>(row) * target_->pitch);
  std::fill_n(pixels, target_->w, pixel_);
}

}  // namespace zz
