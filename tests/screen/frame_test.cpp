#include "screen/frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <optional>

#include "display/builtin_font.h"
#include "display/font_face.h"
#include "support/manual_clock.h"

namespace zz {
namespace {

constexpr const char* kSans = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";
constexpr const char* kSansBold = "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf";
constexpr const char* kMono = "/usr/share/fonts/truetype/liberation2/LiberationMono-Regular.ttf";
constexpr uint32_t kBlack = 0x000000;

struct Box {
  int32_t left = std::numeric_limits<int32_t>::max();
  int32_t top = std::numeric_limits<int32_t>::max();
  int32_t right = std::numeric_limits<int32_t>::min();  // exclusive
  int32_t bottom = std::numeric_limits<int32_t>::min();
  bool empty() const { return left > right; }
  void Add(int32_t x, int32_t y) {
    left = std::min(left, x);
    top = std::min(top, y);
    right = std::max(right, x + 1);
    bottom = std::max(bottom, y + 1);
  }
  bool operator==(const Box&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Box& b) {
  return out << "(" << b.left << "," << b.top << ")-(" << b.right << "," << b.bottom << ")";
}

uint32_t Pixel(const Rgb& c) {
  return static_cast<uint32_t>(c.red) << 16 | static_cast<uint32_t>(c.green) << 8 |
         static_cast<uint32_t>(c.blue);
}

// Where FreeType puts the ink of a line whose top-left is (x, y).
Box ExpectedInk(const char* face, int32_t size, std::u16string_view text, int32_t x, int32_t y) {
  auto font = FontFace::Open(face, size);
  Box box;
  int32_t pen = x;
  for (char16_t c : text) {
    const uint32_t index = font->GlyphIndex(c);
    if (index == 0) continue;
    const GlyphBitmap glyph = font->RenderGlyph(index);
    for (int32_t row = 0; row < glyph.height; ++row) {
      for (int32_t col = 0; col < glyph.width; ++col) {
        if (glyph.coverage[static_cast<std::size_t>(row * glyph.width + col)] != 0) {
          box.Add(pen + glyph.left + col, y + font->ascender() - glyph.top + row);
        }
      }
    }
    pen += glyph.advance;
  }
  return box;
}

class Frame : public testing::Test {
 protected:
  static constexpr int32_t kWidth = 800;
  static constexpr int32_t kHeight = 700;

  void SetUp() override {
    SetUpTitleState(state, {kSans, kSansBold, kMono, "", "/nonexistent/times.ttf", kSans});
    display = Display::OpenOffscreen(kWidth, kHeight, keyboard, clock);
    ASSERT_NE(display, nullptr);
    display->SetAlphaBlending();
    helpFont = display->LoadFont(state.fontFaces[0], state.fontSizes[1]);
  }

  void Compose() {
    ComposeFrame(state, *display, helpFont);
    pixels = display->ReadPixels();
  }
  uint32_t At(int32_t x, int32_t y) const { return pixels[static_cast<std::size_t>(y * kWidth + x)]; }

  // Pixels in the region that differ from the background.
  Box InkIn(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t background) const {
    Box box;
    for (int32_t y = std::max(top, 0); y < std::min(bottom, kHeight); ++y) {
      for (int32_t x = std::max(left, 0); x < std::min(right, kWidth); ++x) {
        if (At(x, y) != background) box.Add(x, y);
      }
    }
    return box;
  }
  int32_t Count(uint32_t colour) const {
    return static_cast<int32_t>(std::count(pixels.begin(), pixels.end(), colour));
  }

  TitleState state;
  KeyboardLayer keyboard;
  test::ManualClock clock;
  std::unique_ptr<Display> display;
  std::shared_ptr<Font> helpFont;
  std::vector<uint32_t> pixels;
};

TEST_F(Frame, InitialCardPutsBothLayersWhereFreeTypeDoes) {
  Compose();
  const Box name = ExpectedInk(kSansBold, 64, u"Vorname Name", 20, 500);
  const Box subtitle = ExpectedInk(kSans, 24, u"Untertitel", 20, 600);
  EXPECT_EQ(InkIn(0, 0, kWidth, 590, kBlack), name);
  EXPECT_EQ(InkIn(0, 590, kWidth, kHeight, kBlack), subtitle);
  EXPECT_GT(Count(0xFFFFFF), 500);
  EXPECT_GT(Count(0x8080FF), 50);
  EXPECT_EQ(At(0, 0), kBlack);
  EXPECT_EQ(At(kWidth - 1, kHeight - 1), kBlack);
}

TEST_F(Frame, FullyCoveredPixelsAreExactlyTheTextColourOnEveryBackground) {
  for (int32_t background = 0; background < 4; ++background) {
    for (int32_t colour = 0; colour < 6; ++colour) {
      state.backgroundIndex = background;
      state.layerColourIndex[0] = colour;
      Compose();
      const uint32_t bg = Pixel(PaletteColour(state.backgroundPalette, background));
      EXPECT_EQ(At(0, 0), bg);
      EXPECT_EQ(At(kWidth - 1, kHeight - 1), bg);
      if (colour != 1 || background != 0) {
        EXPECT_GT(Count(Pixel(PaletteColour(state.textPalette, colour))), 500) << background << " " << colour;
      }
    }
  }
}

TEST_F(Frame, HelpOverlayShowsNineGreyLinesUnderTheLayers) {
  state.layerText[1] = u"";
  state.layerY[0] = 40;  // over the first help lines
  Compose();
  const std::vector<uint32_t> withoutHelp = pixels;
  state.helpShown = 1;
  Compose();
  EXPECT_GT(Count(0x7F7F7F), 500);
  const Box last = ExpectedInk(kSans, 18, kHelpLines[8].text, 50, 340);
  EXPECT_EQ(InkIn(0, 335, kWidth, 380, kBlack), last);
  const Box name = ExpectedInk(kSansBold, 64, u"Vorname Name", 20, 40);
  // Where the name's ink is fully covered it shows white, never the grey below it.
  const int32_t centreY = (name.top + name.bottom) / 2;
  bool sawWhite = false;
  for (int32_t x = name.left; x < name.right; ++x) sawWhite |= At(x, centreY) == 0xFFFFFF;
  EXPECT_TRUE(sawWhite);

  state.helpShown = 0;
  Compose();
  EXPECT_EQ(pixels, withoutHelp);
}

TEST_F(Frame, LayerOneCoversLayerZero) {
  state.layerText = {u"MMMM", u"MMMM"};
  state.layerSizeIndex = {5, 5};
  state.layerFaceIndex = {0, 0};
  state.layerY[1] = 500;
  state.layerColourIndex = {2, 5};  // red under yellow
  Compose();
  EXPECT_EQ(Count(0xFF0000), 0);
  EXPECT_GT(Count(0xFFFF00), 500);
}

TEST_F(Frame, MissingFaceDrawsTheBuiltInFont) {
  state.layerText = {u"", u"A~"};
  state.layerFaceIndex[1] = 3;  // an empty path
  state.layerX[1] = 101;
  state.layerY[1] = 203;
  for (int32_t sizeIndex : {0, 6}) {
    state.layerSizeIndex[1] = sizeIndex;
    Compose();
    for (int32_t c = 0; c < 2; ++c) {
      const BuiltinGlyph& glyph = kBuiltinFont[static_cast<std::size_t>(u"A~"[c] - kBuiltinFirstCharacter)];
      for (int32_t row = 0; row < kBuiltinGlyphHeight; ++row) {
        for (int32_t col = 0; col < kBuiltinGlyphWidth; ++col) {
          const bool set = (glyph[static_cast<std::size_t>(row)] & (0x80 >> col)) != 0;
          ASSERT_EQ(At(101 + c * 8 + col, 203 + row), set ? 0x8080FFu : kBlack)
              << c << " " << row << " " << col;
        }
      }
    }
    EXPECT_TRUE(InkIn(0, 219, kWidth, kHeight, kBlack).empty());
  }
}

TEST_F(Frame, SizeAndFaceChangesShowInTheNextFrame) {
  Compose();
  const Box before = InkIn(0, 0, kWidth, 590, kBlack);
  state.layerSizeIndex[0] = 6;
  Compose();
  EXPECT_EQ(InkIn(0, 0, kWidth, 595, kBlack), ExpectedInk(kSansBold, 82, u"Vorname Name", 20, 500));
  state.layerFaceIndex[0] = 2;
  Compose();
  EXPECT_EQ(InkIn(0, 0, kWidth, 595, kBlack), ExpectedInk(kMono, 82, u"Vorname Name", 20, 500));
  EXPECT_NE(before, InkIn(0, 0, kWidth, 595, kBlack));
}

TEST_F(Frame, AMillionCharacterLineShowsWhatItsVisiblePartShows) {
  state.layerText[0] = std::u16string(1'000'000, u'W');
  Compose();
  const std::vector<uint32_t> longLine = pixels;
  state.layerText[0] = std::u16string(40, u'W');
  Compose();
  EXPECT_EQ(longLine, pixels);
}

TEST_F(Frame, TextAtTheEndsOfThePositionRangeIsClipped) {
  const int32_t lo = std::numeric_limits<int32_t>::min();
  const int32_t hi = std::numeric_limits<int32_t>::max();
  for (auto [x, y] : {std::pair{lo, lo}, {hi, hi}, {lo, 500}, {hi, 500}, {20, lo}, {20, hi}, {-40, 10}}) {
    state.layerX = {x, x};
    state.layerY = {y, y};
    state.layerFaceIndex[1] = 3;  // built-in font too
    Compose();
    if (x != -40) {
      EXPECT_EQ(Count(kBlack), kWidth * kHeight) << x << " " << y;
    }
  }
  EXPECT_GT(Count(0xFFFFFF), 0);  // partly on screen at the left edge
}

}  // namespace
}  // namespace zz
