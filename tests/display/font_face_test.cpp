#include "display/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace zz {
namespace {

namespace fs = std::filesystem;

const std::string kSans = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";
// A bitmap-only face with one 10-pixel strike and a one-bit 'A' of 10 x 3 pixels.
const std::string kFixedBitmapFont = std::string(ZZ_SOURCE_DIR) + "/tests/fixtures/fonts/fixed-10px.bdf";

// A directory of its own for files made by one test, removed afterwards.
class ScratchDir {
 public:
  ScratchDir()
      : path_(fs::temp_directory_path() / ("zz-font-face-" + std::to_string(std::random_device()()))) {
    fs::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }

  // A copy of the first `bytes` bytes of a file.
  std::string Truncated(const std::string& source, std::size_t bytes, const std::string& name) const {
    std::ifstream in(source, std::ios::binary);
    std::vector<char> data(bytes);
    in.read(data.data(), static_cast<std::streamsize>(bytes));
    return Write(name, std::string(data.data(), static_cast<std::size_t>(in.gcount())));
  }
  std::string Write(const std::string& name, const std::string& contents) const {
    const fs::path file = path_ / name;
    std::ofstream(file, std::ios::binary) << contents;
    return file.string();
  }

 private:
  fs::path path_;
};

// What FreeType itself makes of the face at a pixel size, to compare against.
class ReferenceFace {
 public:
  ReferenceFace(const std::string& path, int size) {
    FT_Init_FreeType(&library_);
    FT_New_Face(library_, path.c_str(), 0, &face_);
    FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(size));
  }
  ~ReferenceFace() {
    FT_Done_Face(face_);
    FT_Done_FreeType(library_);
  }
  FT_Face face() const { return face_; }

 private:
  FT_Library library_ = nullptr;
  FT_Face face_ = nullptr;
};

TEST(FontFace, OpensAScalableFaceAtTheAskedSizeWithFreeTypesAscender) {
  const auto font = FontFace::Open(kSans, 64);
  ASSERT_NE(font, nullptr);
  const ReferenceFace reference(kSans, 64);
  EXPECT_EQ(font->pixelSize(), 64);
  EXPECT_EQ(font->ascender(), reference.face()->size->metrics.ascender >> 6);
  EXPECT_GT(font->ascender(), 40);
}

TEST(FontFace, RendersGlyphsAsFreeTypesCoverageTopRowFirst) {
  const auto font = FontFace::Open(kSans, 64);
  ASSERT_NE(font, nullptr);
  const ReferenceFace reference(kSans, 64);
  for (char32_t c : {U'A', U'g', U'Q'}) {
    SCOPED_TRACE(static_cast<char>(c));
    const GlyphBitmap glyph = font->RenderGlyph(font->GlyphIndex(c));
    ASSERT_EQ(FT_Load_Char(reference.face(), c, FT_LOAD_RENDER), 0);
    const FT_GlyphSlot slot = reference.face()->glyph;
    ASSERT_TRUE(glyph.loaded);
    EXPECT_EQ(glyph.left, slot->bitmap_left);
    EXPECT_EQ(glyph.top, slot->bitmap_top);
    EXPECT_EQ(glyph.advance, slot->advance.x >> 6);
    ASSERT_EQ(glyph.width, static_cast<int32_t>(slot->bitmap.width));
    ASSERT_EQ(glyph.height, static_cast<int32_t>(slot->bitmap.rows));
    ASSERT_EQ(glyph.coverage.size(), static_cast<std::size_t>(glyph.width * glyph.height));
    for (int32_t row = 0; row < glyph.height; ++row) {
      const unsigned char* expected = slot->bitmap.buffer + row * slot->bitmap.pitch;
      EXPECT_TRUE(std::equal(expected, expected + glyph.width, glyph.coverage.begin() + row * glyph.width))
          << "row " << row;
    }
    EXPECT_NE(std::find(glyph.coverage.begin(), glyph.coverage.end(), 255), glyph.coverage.end());
  }
}

TEST(FontFace, SpaceHasAnAdvanceButNoImage) {
  const auto font = FontFace::Open(kSans, 64);
  ASSERT_NE(font, nullptr);
  const GlyphBitmap space = font->RenderGlyph(font->GlyphIndex(U' '));
  EXPECT_TRUE(space.loaded);
  EXPECT_GT(space.advance, 0);
  EXPECT_TRUE(space.coverage.empty());
}

TEST(FontFace, CharactersTheFaceLacksHaveGlyphIndexZero) {
  const auto font = FontFace::Open(kSans, 24);
  ASSERT_NE(font, nullptr);
  EXPECT_NE(font->GlyphIndex(U'A'), 0u);
  EXPECT_NE(font->GlyphIndex(U'\u00e4'), 0u);
  EXPECT_EQ(font->GlyphIndex(0xE000), 0u);  // private use
  EXPECT_EQ(font->GlyphIndex(0x10FFFF), 0u);
}

TEST(FontFace, AGlyphThatFailsToLoadHasNoImageAndNoAdvance) {
  const auto font = FontFace::Open(kSans, 24);
  ASSERT_NE(font, nullptr);
  const GlyphBitmap glyph = font->RenderGlyph(0xFFFFFF);  // beyond the face's glyphs
  EXPECT_FALSE(glyph.loaded);
  EXPECT_EQ(glyph.advance, 0);
  EXPECT_TRUE(glyph.coverage.empty());
}

TEST(FontFace, OneBitGlyphsBecomeFullOrNoCoverage) {
  const auto font = FontFace::Open(kFixedBitmapFont, 10);
  ASSERT_NE(font, nullptr);
  const GlyphBitmap glyph = font->RenderGlyph(font->GlyphIndex(U'A'));
  ASSERT_TRUE(glyph.loaded);
  EXPECT_EQ(glyph.left, 1);
  EXPECT_EQ(glyph.top, 5);  // the bitmap sits 2 pixels above the baseline
  EXPECT_EQ(glyph.advance, 11);
  ASSERT_EQ(glyph.width, 10);
  ASSERT_EQ(glyph.height, 3);
  // Rows 8040, 4080 and FFC0 of the fixture: ten pixels each, over two bytes.
  const std::vector<uint8_t> expected = {
      255, 0,   0,   0,   0,   0,   0,   0,   0,   255,  //
      0,   255, 0,   0,   0,   0,   0,   0,   255, 0,    //
      255, 255, 255, 255, 255, 255, 255, 255, 255, 255,  //
  };
  EXPECT_EQ(glyph.coverage, expected);
}

TEST(FontFace, AFaceRefusingTheSizeTakesTheLargestSmallerOneItAccepts) {
  struct Case {
    int32_t asked;
    int32_t expected;  // 0: no font
  };
  for (const Case& c :
       {Case{10, 10}, Case{11, 10}, Case{82, 10}, Case{1 << 30, 10}, Case{9, 0}, Case{1, 0}}) {
    SCOPED_TRACE(c.asked);
    const auto font = FontFace::Open(kFixedBitmapFont, c.asked);
    if (c.expected == 0) {
      EXPECT_EQ(font, nullptr);
    } else {
      ASSERT_NE(font, nullptr);
      EXPECT_EQ(font->pixelSize(), c.expected);
      EXPECT_EQ(font->ascender(), 8);
    }
  }
}

TEST(FontFace, WhatCannotBeUsedAsAFontOpensAsNone) {
  const ScratchDir scratch;
  struct Case {
    const char* what;
    std::string path;
    int32_t size;
  };
  const std::vector<Case> cases = {
      {"empty path", "", 24},
      {"missing file", (scratch.path() / "missing.ttf").string(), 24},
      {"directory", scratch.path().string(), 24},
      {"text file", scratch.Write("notes.ttf", "not a font at all\n"), 24},
      {"empty file", scratch.Truncated(kSans, 0, "empty.ttf"), 24},
      {"header only", scratch.Truncated(kSans, 12, "header.ttf"), 24},
      {"cut in its tables", scratch.Truncated(kSans, 1000, "tables.ttf"), 24},
      {"size zero", kSans, 0},
      {"negative size", kSans, -64},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FontFace::Open(c.path, c.size), nullptr) << c.what;
  }
}

TEST(FontFace, AFaceCutInItsGlyphDataRendersEveryGlyphWithinBounds) {
  const ScratchDir scratch;
  const std::string cut = scratch.Truncated(kSans, 100000, "glyphs.ttf");
  const auto font = FontFace::Open(cut, 64);
  ASSERT_NE(font, nullptr);  // the tables are intact; the outlines past the cut are lost
  const ReferenceFace reference(cut, 64);
  for (FT_Long index = 0; index < reference.face()->num_glyphs; ++index) {
    const GlyphBitmap glyph = font->RenderGlyph(static_cast<uint32_t>(index));
    ASSERT_EQ(glyph.coverage.size(),
              static_cast<std::size_t>(glyph.width) * static_cast<std::size_t>(glyph.height));
  }
}

// Found by the font fuzzer: a few hundred bytes whose 'g' covers thousands of pixels once loaded.
// Rendering it took most of a second and 200 MB; it keeps its advance and draws nothing.
TEST(FontFace, AGlyphFarLargerThanAnyRealOneHasNoImage) {
  const std::string path =
      std::string(ZZ_SOURCE_DIR) + "/tests/fixtures/fonts/crashes/glyph-of-thousands-of-pixels.ttf";
  constexpr int kSize = 24;
  const auto font = FontFace::Open(path, kSize);
  ASSERT_NE(font, nullptr);
  const ReferenceFace reference(path, kSize);
  const uint32_t index = font->GlyphIndex(U'g');
  ASSERT_EQ(FT_Load_Glyph(reference.face(), index, FT_LOAD_DEFAULT), 0);
  FT_BBox box;
  FT_Outline_Get_CBox(&reference.face()->glyph->outline, &box);
  ASSERT_GT((box.yMax - box.yMin) / 64, 100 * kSize);  // the fixture still shows the fault
  const GlyphBitmap glyph = font->RenderGlyph(index);
  EXPECT_TRUE(glyph.loaded);
  EXPECT_EQ(glyph.advance, reference.face()->glyph->advance.x >> 6);
  EXPECT_TRUE(glyph.coverage.empty());
  EXPECT_EQ(glyph.width * glyph.height, 0);
}

TEST(FontFace, FacesStayUsableWhileOthersComeAndGo) {
  auto first = FontFace::Open(kSans, 24);
  ASSERT_NE(first, nullptr);
  for (int i = 0; i < 3; ++i) {
    auto other = FontFace::Open(kSans, 36);
    ASSERT_NE(other, nullptr);
  }
  const GlyphBitmap glyph = first->RenderGlyph(first->GlyphIndex(U'x'));
  EXPECT_TRUE(glyph.loaded);
  EXPECT_FALSE(glyph.coverage.empty());
}

}  // namespace
}  // namespace zz
