#include "display/frame_record.h"

#include <algorithm>

namespace zz {

bool GlyphPlacement::operator==(const GlyphPlacement& other) const {
  return font == other.font && character == other.character && left == other.left && top == other.top &&
         width == other.width && height == other.height && colour.r == other.colour.r &&
         colour.g == other.colour.g && colour.b == other.colour.b && colour.a == other.colour.a;
}

void FrameRecord::Open(const SDL_Surface* target, uint32_t clearPixel) {
  open_ = true;
  openTarget_ = target;
  openPixel_ = clearPixel;
  fonts_.clear();
  placements_.clear();
}

void FrameRecord::Use(const std::shared_ptr<Font>& font) {
  if (std::find(fonts_.begin(), fonts_.end(), font) == fonts_.end()) fonts_.push_back(font);
}

bool FrameRecord::CloseUnchanged(const SDL_Surface* target) {
  open_ = false;
  // The surface may have been made anew at the same address: its size is checked too.
  const bool sameSurface = known_ && target == openTarget_ && target == shownTarget_ &&
                           target->w == shownWidth_ && target->h == shownHeight_;
  if (sameSurface && openPixel_ == shownPixel_ && placements_ == shown_) return true;
  if (!sameSurface || openPixel_ != shownPixel_) {
    changed_.all = true;
  } else {
    Change(shown_);
    Change(placements_);
  }
  known_ = true;
  shownTarget_ = target;
  shownWidth_ = target->w;
  shownHeight_ = target->h;
  shownPixel_ = openPixel_;
  shown_.swap(placements_);
  placements_.clear();
  return false;
}

void FrameRecord::Forget() {
  open_ = false;
  fonts_.clear();
  placements_.clear();
  known_ = false;
  shown_.clear();
  changed_.all = true;
}

ChangedRows FrameRecord::TakeChangedRows() {
  const ChangedRows changed = changed_;
  changed_ = ChangedRows{};
  return changed;
}

void FrameRecord::Change(const std::vector<GlyphPlacement>& placements) {
  for (const GlyphPlacement& placement : placements) {
    const int32_t top = std::clamp(placement.top, 0, shownHeight_);
    const int32_t bottom =
        static_cast<int32_t>(std::clamp<int64_t>(int64_t{placement.top} + placement.height, 0, shownHeight_));
    if (top >= bottom) continue;
    if (changed_.top >= changed_.bottom) {
      changed_.top = top;
      changed_.bottom = bottom;
    } else {
      changed_.top = std::min(changed_.top, top);
      changed_.bottom = std::max(changed_.bottom, bottom);
    }
  }
}

}  // namespace zz
