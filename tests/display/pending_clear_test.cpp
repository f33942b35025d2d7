#include "display/pending_clear.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/owned_surface.h"

namespace zz {
namespace {

constexpr uint32_t kOld = 0x11111111;
constexpr uint32_t kGround = 0x00AABBCC;

using Surface = test::OwnedSurface;

// A surface whose rows are one wider in memory than on screen, filled with kOld throughout.
Surface MakeSurface(int width, int height) {
  Surface surface(SDL_CreateRGBSurfaceWithFormat(0, width + 1, height, 32, SDL_PIXELFORMAT_XRGB8888));
  SDL_FillRect(surface.get(), nullptr, kOld);
  surface->w = width;  // the padding past w must never be written
  return surface;
}

// One letter a row: G filled with the ground, o still old, ? anything else; the padding pixel
// follows a bar.
std::string Rows(const SDL_Surface* surface) {
  std::string picture;
  for (int y = 0; y < surface->h; ++y) {
    const auto* row =
        reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch);
    for (int x = 0; x <= surface->w; ++x) {
      if (x == surface->w) picture += '|';
      picture += row[x] == kGround ? 'G' : row[x] == kOld ? 'o' : '?';
    }
    picture += '\n';
  }
  return picture;
}

TEST(PendingClear, FillsOnlyTheRowsAskedForThenTheRest) {
  Surface surface = MakeSurface(3, 5);
  PendingClear clear;
  clear.Start(surface.get(), kGround);
  EXPECT_EQ(Rows(surface.get()), "ooo|o\nooo|o\nooo|o\nooo|o\nooo|o\n");  // nothing yet
  clear.Settle(surface.get(), 1, 3, 0, INT64_MAX);
  EXPECT_EQ(Rows(surface.get()), "ooo|o\nGGG|o\nGGG|o\nooo|o\nooo|o\n");
  // A row once filled is not filled again: what was drawn on it stays.
  static_cast<uint32_t*>(surface->pixels)[surface->pitch / 4 + 1] = kOld;
  clear.Settle(surface.get(), -100, 2, 0, INT64_MAX);
  EXPECT_EQ(Rows(surface.get()), "GGG|o\nGoG|o\nGGG|o\nooo|o\nooo|o\n");
  EXPECT_TRUE(clear.pending());
  clear.SettleAll(surface.get());
  EXPECT_EQ(Rows(surface.get()), "GGG|o\nGoG|o\nGGG|o\nGGG|o\nGGG|o\n");
  EXPECT_FALSE(clear.pending());
}

TEST(PendingClear, RangesBeyondTheSurfaceAreClipped) {
  Surface surface = MakeSurface(2, 3);
  PendingClear clear;
  clear.Start(surface.get(), kGround);
  clear.Settle(surface.get(), INT64_MIN, -1, 0, INT64_MAX);
  clear.Settle(surface.get(), 3, INT64_MAX, 0, INT64_MAX);
  EXPECT_EQ(Rows(surface.get()), "oo|o\noo|o\noo|o\n");
  clear.Settle(surface.get(), 2, INT64_MAX, 0, INT64_MAX);
  EXPECT_EQ(Rows(surface.get()), "oo|o\noo|o\nGG|o\n");
}

TEST(PendingClear, AReplacedSurfaceIsClearedWholeAndAFinishedClearTouchesNothing) {
  Surface first = MakeSurface(2, 2);
  Surface second = MakeSurface(3, 4);
  PendingClear clear;
  clear.Start(first.get(), kGround);
  clear.Settle(first.get(), 0, 1, 0, INT64_MAX);
  clear.Settle(second.get(), 0, 1, 0, INT64_MAX);  // the window was resized meanwhile
  EXPECT_EQ(Rows(second.get()), "GGG|o\nooo|o\nooo|o\nooo|o\n");
  clear.SettleAll(second.get());
  EXPECT_EQ(Rows(second.get()), "GGG|o\nGGG|o\nGGG|o\nGGG|o\n");
  Surface third = MakeSurface(2, 2);
  clear.SettleAll(third.get());  // nothing pending: a new surface is not cleared
  EXPECT_EQ(Rows(third.get()), "oo|o\noo|o\n");
}

// Sets one pixel of a row behind the clear's back, as drawing by others would.
void Mark(SDL_Surface* surface, int row) {
  static_cast<uint32_t*>(surface->pixels)[row * surface->pitch / 4] = kOld;
}

TEST(PendingClear, OnlyRowsDrawnOnSinceTheLastClearAreFilledAgain) {
  Surface surface = MakeSurface(2, 4);
  PendingClear clear;
  clear.Start(surface.get(), kGround);
  clear.SettleAll(surface.get());
  clear.Settle(surface.get(), 1, 2, 0, INT64_MAX);  // a glyph on row 1
  Mark(surface.get(), 1);
  Mark(surface.get(), 3);  // stands for a row the clear must not write again
  clear.Start(surface.get(), kGround);
  EXPECT_TRUE(clear.pending());
  clear.SettleAll(surface.get());
  EXPECT_EQ(Rows(surface.get()), "GG|o\nGG|o\nGG|o\noG|o\n");
  // A clear that finds every row bare leaves nothing pending.
  clear.Start(surface.get(), kGround);
  EXPECT_FALSE(clear.pending());
}

TEST(PendingClear, AnotherColourOrForgettingFillsEveryRowAgain) {
  Surface surface = MakeSurface(2, 3);
  PendingClear clear;
  clear.Start(surface.get(), kOld);
  clear.SettleAll(surface.get());
  clear.Start(surface.get(), kGround);
  clear.SettleAll(surface.get());
  EXPECT_EQ(Rows(surface.get()), "GG|o\nGG|o\nGG|o\n");
  Mark(surface.get(), 0);
  clear.Forget();  // others drew
  clear.Start(surface.get(), kGround);
  clear.SettleAll(surface.get());
  EXPECT_EQ(Rows(surface.get()), "GG|o\nGG|o\nGG|o\n");
}

TEST(PendingClear, OfARowDrawnOnOnlyTheColumnsDrawnOnAreFilledAgain) {
  Surface surface = MakeSurface(5, 2);
  PendingClear clear;
  clear.Start(surface.get(), kGround);
  clear.SettleAll(surface.get());
  clear.Settle(surface.get(), 0, 2, 1, 2);  // two glyphs on both rows
  clear.Settle(surface.get(), 1, 2, 3, 99);
  for (uint32_t* pixel = static_cast<uint32_t*>(surface->pixels);
       pixel < static_cast<uint32_t*>(surface->pixels) + 12; ++pixel)
    *pixel = kOld;  // stands for the glyphs, and for columns the clear must not write again
  clear.Start(surface.get(), kGround);
  clear.Settle(surface.get(), 0, 1, 4, 5);  // row 0 first filled for drawing, row 1 at the end
  clear.SettleAll(surface.get());
  EXPECT_EQ(Rows(surface.get()), "oGooo|o\noGGGG|o\n");
  // Row 0 was then drawn on at column 4 only: that is all the next clear fills.
  clear.Start(surface.get(), kGround);
  clear.SettleAll(surface.get());
  EXPECT_EQ(Rows(surface.get()), "oGooG|o\noGGGG|o\n");
}

}  // namespace
}  // namespace zz
