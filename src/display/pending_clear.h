// A clear of the software renderer's surface that is carried out row by row, as drawing reaches
// each row, and for the remaining rows just before the frame is shown or read. Glyphs are then
// blended into rows that are still in the processor's cache instead of rows that clearing the
// whole frame (8 MB at 1080p) has long pushed out of it; the picture is the same.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace zz {

class PendingClear {
 public:
  // Every row of the surface is to be filled with the pixel (in the surface's format).
  void Start(SDL_Surface* target, uint32_t pixel);

  // Fills the rows among [top, bottom) that are still to be filled, through the cache, for
  // drawing on them next. A surface other than the one the clear was started on has replaced it
  // (a resized window): the clear then covers all of the new one.
  void Settle(SDL_Surface* target, int64_t top, int64_t bottom);

  // Fills every row still to be filled, in stretches, the way SDL fills (its streaming stores
  // leave the cache alone, and nothing is drawn on these rows before they are shown).
  void SettleAll(SDL_Surface* target);

  // Forgets the rows still to be filled (the clear is done another way).
  void Cancel();

  bool pending() const { return pendingRows_ > 0; }
  uint32_t pixel() const { return pixel_; }

 private:
  void Follow(SDL_Surface* target);
  void FillRow(int32_t row);

  SDL_Surface* target_ = nullptr;
  int32_t width_ = 0;
  uint32_t pixel_ = 0;
  std::vector<uint8_t> rowPending_;
  int32_t pendingRows_ = 0;
};

}  // namespace zz
