#include "display/frame_record.h"

#include <algorithm>

namespace zz {

bool LineLayout::SamePicture(const LineLayout& other) const {
  return font == other.font && SameColour(colour, other.colour) && glyphs == other.glyphs;
}

void FrameRecord::Open(const SDL_Surface* target, uint32_t clearPixel) {
  open_ = true;
  openTarget_ = target;
  openPixel_ = clearPixel;
  fonts_.clear();
  lines_.clear();
}

void FrameRecord::Add(const std::shared_ptr<Font>& font, std::shared_ptr<const LineLayout> line) {
  if (std::find(fonts_.begin(), fonts_.end(), font) == fonts_.end()) fonts_.push_back(font);
  lines_.push_back(std::move(line));
}

bool FrameRecord::CloseUnchanged(const SDL_Surface* target) {
  open_ = false;
  // The surface may have been made anew at the same address: its size is checked too.
  const bool sameSurface = known_ && target == openTarget_ && target == shownTarget_ &&
                           target->w == shownWidth_ && target->h == shownHeight_;
  const bool sameGround = sameSurface && openPixel_ == shownPixel_;
  if (sameGround && std::equal(lines_.begin(), lines_.end(), shown_.begin(), shown_.end(), &SameLine))
    return true;
  if (sameGround) {
    ChangeWhereTheyDiffer(shown_, lines_);
  } else {
    changed_.all = true;
  }
  known_ = true;
  shownTarget_ = target;
  shownWidth_ = target->w;
  shownHeight_ = target->h;
  shownPixel_ = openPixel_;
  shown_.swap(lines_);
  lines_.clear();
  return false;
}

void FrameRecord::Forget() {
  open_ = false;
  fonts_.clear();
  lines_.clear();
  known_ = false;
  shown_.clear();
  changed_.all = true;
}

ChangedRows FrameRecord::TakeChangedRows() {
  const ChangedRows changed = changed_;
  changed_ = ChangedRows{};
  return changed;
}

// The same layout handed out again is the same picture without a look at its glyphs.
bool FrameRecord::SameLine(const std::shared_ptr<const LineLayout>& a,
                           const std::shared_ptr<const LineLayout>& b) {
  return a == b || a->SamePicture(*b);
}

void FrameRecord::ChangeWhereTheyDiffer(const Lines& before, const Lines& after) {
  const std::size_t lines = std::max(before.size(), after.size());
  for (std::size_t i = 0; i < lines; ++i) {
    const bool both = i < before.size() && i < after.size();
    if (both && SameLine(before[i], after[i])) continue;
    if (i < before.size()) Change(*before[i]);
    if (i < after.size()) Change(*after[i]);
  }
}

void FrameRecord::Change(const LineLayout& line) {
  for (const GlyphPlacement& placement : line.glyphs) {
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
