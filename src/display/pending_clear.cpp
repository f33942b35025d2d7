#include "display/pending_clear.h"

#include <algorithm>

namespace zz {

void PendingClear::Start(SDL_Surface* target, uint32_t pixel) {
  if (!Follows(target) || pixel != pixel_) {
    target_ = target;
    width_ = target->w;
    pixel_ = pixel;
    rows_.assign(static_cast<std::size_t>(std::max(target->h, 0)), Row{State::kPending, 0, width_});
  }
  pendingRows_ = 0;
  for (Row& row : rows_) {
    if (row.state == State::kGround) continue;
    row.state = State::kPending;
    ++pendingRows_;
  }
}

void PendingClear::Settle(SDL_Surface* target, int64_t top, int64_t bottom, int64_t left, int64_t right) {
  if (!Follows(target)) {
    if (pendingRows_ == 0) return;
    Start(target, pixel_);
  }
  const int32_t first = static_cast<int32_t>(std::clamp<int64_t>(top, 0, target_->h));
  const int32_t end = static_cast<int32_t>(std::clamp<int64_t>(bottom, 0, target_->h));
  const int32_t from = static_cast<int32_t>(std::clamp<int64_t>(left, 0, width_));
  const int32_t to = static_cast<int32_t>(std::clamp<int64_t>(right, 0, width_));
  if (from >= to) return;
  FillPending(first, end);
  for (int32_t y = first; y < end; ++y) {
    Row& row = rows_[static_cast<std::size_t>(y)];
    if (row.state != State::kDrawn) row = Row{State::kDrawn, from, to};
    row.left = std::min(row.left, from);
    row.right = std::max(row.right, to);
  }
}

void PendingClear::SettleAll(SDL_Surface* target) {
  if (pendingRows_ == 0) return;
  if (!Follows(target)) Start(target, pixel_);
  FillPending(0, static_cast<int32_t>(rows_.size()));
}

// Rows pending over the same columns are filled in one go; a filled row holds the clear colour.
void PendingClear::FillPending(int32_t top, int32_t bottom) {
  int32_t y = top;
  while (y < bottom && pendingRows_ > 0) {
    const Row row = rows_[static_cast<std::size_t>(y)];
    if (row.state != State::kPending) {
      ++y;
      continue;
    }
    int32_t end = y;
    while (end < bottom) {
      Row& next = rows_[static_cast<std::size_t>(end)];
      if (next.state != State::kPending || next.left != row.left || next.right != row.right) break;
      next.state = State::kGround;
      --pendingRows_;
      ++end;
    }
    Fill(y, end, row);
    y = end;
  }
}

void PendingClear::Forget() {
  target_ = nullptr;
  rows_.clear();
  pendingRows_ = 0;
}

bool PendingClear::Follows(const SDL_Surface* target) const {
  return target == target_ && target->w == width_ && target->h == static_cast<int32_t>(rows_.size());
}

void PendingClear::Fill(int32_t top, int32_t bottom, const Row& span) {
  const SDL_Rect stretch{span.left, top, span.right - span.left, bottom - top};
  SDL_FillRect(target_, &stretch, pixel_);
}

}  // namespace zz
