// Clearing the software renderer's surface as drawing reaches each row. A clear only marks rows:
// a glyph fills its rows through the cache just before it is blended into them, and the rows no
// glyph touched are filled in stretches before the frame is shown or read, or anything else
// draws. Rows that already hold the clear colour, untouched since they were filled with it (the
// surface is kept across presents), are not filled again. The picture is always the same as a
// fill of the whole surface; what is saved is filling 8 MB a frame at 1080p, and blending into
// rows that such a fill has pushed out of the cache.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace zz {

class PendingClear {
 public:
  // The surface is to be cleared to the pixel (in its format).
  void Start(SDL_Surface* target, uint32_t pixel);

  // Fills the rows among [top, bottom) that are still to be filled, through the cache, and counts
  // them as drawn on. A surface other than the one the clear was started on has replaced it (a
  // resized window): the clear then covers all of the new one.
  void Settle(SDL_Surface* target, int64_t top, int64_t bottom);

  // Fills every row still to be filled, in stretches, the way SDL fills (its streaming stores
  // leave the cache alone: nothing is drawn on these rows before they are shown).
  void SettleAll(SDL_Surface* target);

  // Something other than our glyphs may draw on the surface: no row is known to hold the clear
  // colour any more. Nothing is left pending either.
  void Forget();

  bool pending() const { return pendingRows_ > 0; }

 private:
  enum RowState : uint8_t { kUnknown, kGround, kPending, kDrawn };

  bool Follows(const SDL_Surface* target) const;
  void FillRow(int32_t row);

  SDL_Surface* target_ = nullptr;
  int32_t width_ = 0;
  uint32_t pixel_ = 0;
  std::vector<RowState> rows_;
  int32_t pendingRows_ = 0;
};

}  // namespace zz
