#include "display/frame_record.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/owned_surface.h"

namespace zz {
namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kBlue = 0x0000FF;

using Surface = test::OwnedSurface;

Surface MakeSurface(int width, int height) {
  return Surface(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_XRGB8888));
}

using Line = std::shared_ptr<const LineLayout>;

// A line of one 10x20 glyph.
Line Glyph(char16_t character, int32_t left, int32_t top, uint8_t red = 255, uint64_t font = 1) {
  auto line = std::make_shared<LineLayout>();
  line->font = font;
  line->colour = SDL_Color{red, 255, 255, 255};
  line->glyphs.push_back(GlyphPlacement{character, left, top, 10, 20});
  return line;
}

// Shows a frame of the lines on a clear to the pixel; whether the surface already held it.
bool Show(FrameRecord& record, const SDL_Surface* surface, uint32_t pixel, const std::vector<Line>& lines) {
  record.Open(surface, pixel);
  for (const Line& line : lines) record.Add(nullptr, line);
  return record.CloseUnchanged(surface);
}

TEST(FrameRecord, AFrameIsDrawnUnlessTheSurfaceHoldsItAlready) {
  Surface surface = MakeSurface(100, 200);
  FrameRecord record;
  const std::vector<Line> card = {Glyph('V', 10, 50), Glyph('o', 20, 55)};
  EXPECT_FALSE(Show(record, surface.get(), kBlack, card));  // nothing known yet
  EXPECT_TRUE(Show(record, surface.get(), kBlack, card));
  EXPECT_EQ(record.shown(), card);
  // Lines laid out anew that put the same glyphs on the screen are the same picture.
  EXPECT_TRUE(Show(record, surface.get(), kBlack, {Glyph('V', 10, 50), Glyph('o', 20, 55)}));

  // Any difference of the clear or of one line's font, colour, or a glyph's character, place or
  // size; a line more or less.
  auto taller = std::make_shared<LineLayout>(*card[1]);
  taller->glyphs[0].height = 21;
  auto twice = std::make_shared<LineLayout>(*card[1]);
  twice->glyphs.push_back(twice->glyphs[0]);
  auto green = std::make_shared<LineLayout>(*card[1]);
  green->colour.g = 254;
  const std::vector<std::vector<Line>> others = {
      {card[0], Glyph('o', 20, 56)},
      {card[0], Glyph('o', 21, 55)},
      {card[0], Glyph('e', 20, 55)},
      {card[0], green},
      {card[0], Glyph('o', 20, 55, 255, 2)},
      {card[0], taller},
      {card[0], twice},
      {card[0]},
      {card[0], card[1], card[1]},
  };
  for (const auto& other : others) {
    EXPECT_FALSE(Show(record, surface.get(), kBlack, other));
    EXPECT_FALSE(Show(record, surface.get(), kBlack, card));
  }
  EXPECT_FALSE(Show(record, surface.get(), kBlue, card));
  EXPECT_TRUE(Show(record, surface.get(), kBlue, card));
}

TEST(FrameRecord, ChangedRowsCoverTheGlyphsOfBothFramesClippedToTheSurface) {
  Surface surface = MakeSurface(100, 200);
  FrameRecord record;
  Show(record, surface.get(), kBlack, {Glyph('a', 0, 50)});
  EXPECT_TRUE(record.TakeChangedRows().all);  // the first frame is new everywhere
  EXPECT_TRUE(record.TakeChangedRows().empty());

  Show(record, surface.get(), kBlack, {Glyph('a', 0, 50)});
  EXPECT_TRUE(record.TakeChangedRows().empty());  // standing still: nothing to send

  Show(record, surface.get(), kBlack, {Glyph('a', 0, 100), Glyph('b', 0, 190)});
  ChangedRows rows = record.TakeChangedRows();
  EXPECT_FALSE(rows.all);
  EXPECT_EQ(rows.top, 50);      // where 'a' was
  EXPECT_EQ(rows.bottom, 200);  // 'b' reaches past the bottom edge

  // Changes add up until taken; a glyph wholly above the surface changes nothing.
  Show(record, surface.get(), kBlack, {Glyph('a', 0, -30)});
  Show(record, surface.get(), kBlack, {Glyph('a', 0, -30), Glyph('c', 0, 10)});
  rows = record.TakeChangedRows();
  EXPECT_EQ(rows.top, 10);
  EXPECT_EQ(rows.bottom, 200);  // still where b was
}

TEST(FrameRecord, AnUnknownSurfaceIsDrawnAndSentWhole) {
  Surface surface = MakeSurface(100, 200);
  Surface other = MakeSurface(100, 201);
  FrameRecord record;
  const std::vector<Line> card = {Glyph('a', 0, 50)};
  Show(record, surface.get(), kBlack, card);
  record.TakeChangedRows();

  record.Forget();  // something else drew on it
  EXPECT_TRUE(record.TakeChangedRows().all);
  EXPECT_FALSE(Show(record, surface.get(), kBlack, card));
  EXPECT_TRUE(record.TakeChangedRows().all);

  Show(record, surface.get(), kBlack, card);
  EXPECT_FALSE(Show(record, surface.get(), kBlue, card));  // another clear colour
  EXPECT_TRUE(record.TakeChangedRows().all);

  EXPECT_FALSE(Show(record, other.get(), kBlue, card));  // a surface made anew
  EXPECT_TRUE(record.TakeChangedRows().all);
  // Made anew at the same address with another size.
  other->h = 150;
  EXPECT_FALSE(Show(record, other.get(), kBlue, card));
  other->h = 201;
}

}  // namespace
}  // namespace zz
