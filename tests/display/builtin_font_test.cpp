#include "display/builtin_font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string_view>

namespace zz {
namespace {

const BuiltinGlyph& Glyph(char c) {
  return kBuiltinFont[static_cast<std::size_t>(c - kBuiltinFirstCharacter)];
}

bool Blank(const BuiltinGlyph& glyph) {
  return std::all_of(glyph.begin(), glyph.end(), [](uint8_t row) { return row == 0; });
}

// The lowest row with ink, or -1 for a blank glyph.
int LowestInkRow(const BuiltinGlyph& glyph) {
  for (int row = kBuiltinGlyphHeight - 1; row >= 0; --row) {
    if (glyph[static_cast<std::size_t>(row)] != 0) return row;
  }
  return -1;
}

TEST(BuiltinFont, SpaceIsBlankAndEveryPrintableCharacterHasInk) {
  EXPECT_TRUE(Blank(Glyph(' ')));
  for (char c = 33; c <= 126; ++c) EXPECT_FALSE(Blank(Glyph(c))) << c;
}

TEST(BuiltinFont, PrintableCharactersAllLookDifferent) {
  std::set<BuiltinGlyph> seen;
  for (char c = 33; c <= 126; ++c)
    EXPECT_TRUE(seen.insert(Glyph(c)).second) << c << " repeats an earlier glyph";
}

// Letters and digits sit on one baseline and descenders go below it, with room for them in the cell.
TEST(BuiltinFont, GlyphsShareOneBaseline) {
  constexpr std::string_view kOnBaseline = "ABCDEFGHIKLMNOPRSTUVWXYZ0123456789abcdefhiklmnorstuvwxz";
  const int baseline = LowestInkRow(Glyph('H'));
  EXPECT_GE(baseline, 10);
  EXPECT_LE(baseline, 13);
  for (char c : kOnBaseline) EXPECT_EQ(LowestInkRow(Glyph(c)), baseline) << c;
  for (char c : std::string_view("gjpqy")) EXPECT_GT(LowestInkRow(Glyph(c)), baseline) << c;
}

}  // namespace
}  // namespace zz
