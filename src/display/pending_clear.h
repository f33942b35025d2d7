// Clearing the software renderer's surface as drawing reaches each row. A clear only marks rows:
// a glyph fills its rows just before it is blended into them, and the rows no glyph touched are
// filled before the frame is shown or read, or anything else draws. The surface is kept across
// presents, so a row that still holds the clear colour is not filled again, and of a row drawn on
// only the stretch that was drawn on is. The picture is always the same as a fill of the whole
// surface; what is saved is filling 8 MB a frame at 1080p, and blending into rows that such a
// fill has pushed out of the cache. Every fill is SDL's: its streaming stores are several times
// faster than writing through the cache, even for rows about to be drawn on.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace zz {

class PendingClear {
 public:
  // The surface is to be cleared to the pixel (in its format).
  void Start(SDL_Surface* target, uint32_t pixel);

  // Something is about to be drawn on rows [top, bottom), columns [left, right): fills what is
  // still to be filled of those rows, and notes the columns as drawn on. A
  // surface other than the one the clear was started on has replaced it (a resized window): the
  // clear then covers all of the new one.
  void Settle(SDL_Surface* target, int64_t top, int64_t bottom, int64_t left, int64_t right);

  // Fills everything still to be filled.
  void SettleAll(SDL_Surface* target);

  // Something other than our glyphs may draw on the surface: no row is known to hold the clear
  // colour any more. Nothing is left pending either.
  void Forget();

  bool pending() const { return pendingRows_ > 0; }

 private:
  enum class State : uint8_t { kGround, kPending, kDrawn };
  // Columns [left, right) of a row may differ from the clear colour (pending: until filled).
  struct Row {
    State state;
    int32_t left;
    int32_t right;
  };

  bool Follows(const SDL_Surface* target) const;
  void FillPending(int32_t top, int32_t bottom);
  // Fills rows [top, bottom), all pending over the same columns.
  void Fill(int32_t top, int32_t bottom, const Row& span);

  SDL_Surface* target_ = nullptr;
  int32_t width_ = 0;
  uint32_t pixel_ = 0;
  std::vector<Row> rows_;
  int32_t pendingRows_ = 0;
};

}  // namespace zz
