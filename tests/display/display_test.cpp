#include "display/display.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "display/builtin_font.h"
#include "display/font_face.h"
#include "display/sdl_display.h"
#include "support/manual_clock.h"

namespace zz {
namespace {

// Pinned: other faces metric-compatible with Arial put different pixels.
constexpr const char* kSans = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";
constexpr char16_t kNoGlyph = u'\uE000';  // private use: no glyph in the face

struct Colour {
  int32_t red, green, blue;
  uint32_t Pixel() const {
    return static_cast<uint32_t>(red) << 16 | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue);
  }
};

// The text and background colours the title card uses.
constexpr Colour kTextColours[] = {{255, 255, 255}, {0, 0, 0},       {255, 0, 0},
                                   {128, 255, 128}, {128, 128, 255}, {255, 255, 0}};
constexpr Colour kBackgrounds[] = {{0, 0, 0}, {255, 255, 255}, {0, 255, 0}, {0, 0, 255}};

// Per screen pixel, the glyph coverage a line puts there (0 where none), as the placement rule
// says: image top-left at (pen + left, y + ascender - top), whole-pixel advances.
class Coverage {
 public:
  Coverage(int32_t width, int32_t height) : width_(width), height_(height), values_(Size(width, height)) {}

  void AddLine(const char* face, int32_t size, std::u16string_view text, int32_t x, int32_t y) {
    const auto font = FontFace::Open(face, size);
    ASSERT_NE(font, nullptr);
    int32_t pen = x;
    for (const char16_t character : text) {
      const uint32_t index = font->GlyphIndex(character);
      if (index == 0) continue;
      const GlyphBitmap glyph = font->RenderGlyph(index);
      for (int32_t row = 0; row < glyph.height; ++row) {
        for (int32_t column = 0; column < glyph.width; ++column) {
          Set(pen + glyph.left + column, y + font->ascender() - glyph.top + row,
              glyph.coverage[static_cast<std::size_t>(row * glyph.width + column)]);
        }
      }
      pen += glyph.advance;
    }
  }

  void AddBuiltinLine(std::u16string_view text, int32_t x, int32_t y) {
    int32_t pen = x;
    for (const char16_t character : text) {
      if (character < kBuiltinFirstCharacter || character > kBuiltinLastCharacter) continue;
      const BuiltinGlyph& glyph = kBuiltinFont[static_cast<std::size_t>(character - kBuiltinFirstCharacter)];
      for (int32_t row = 0; row < kBuiltinGlyphHeight; ++row) {
        for (int32_t column = 0; column < kBuiltinGlyphWidth; ++column) {
          const bool set = (glyph[static_cast<std::size_t>(row)] & (0x80 >> column)) != 0;
          Set(pen + column, y + row, set ? 255 : 0);
        }
      }
      pen += kBuiltinGlyphWidth;
    }
  }

  uint8_t At(int32_t x, int32_t y) const { return values_[Index(x, y)]; }
  int32_t Count(uint8_t value) const {
    return static_cast<int32_t>(std::count(values_.begin(), values_.end(), value));
  }

 private:
  static std::size_t Size(int32_t width, int32_t height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  }
  std::size_t Index(int32_t x, int32_t y) const { return static_cast<std::size_t>(y) * width_ + x; }
  void Set(int32_t x, int32_t y, uint8_t value) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_ && value != 0) values_[Index(x, y)] = value;
  }

  int32_t width_;
  int32_t height_;
  std::vector<uint8_t> values_;
};

int32_t Channel(uint32_t pixel, int shift) {
  return static_cast<int32_t>(pixel >> shift & 0xFF);
}

class OffscreenDisplay : public testing::Test {
 protected:
  static constexpr int32_t kWidth = 320;
  static constexpr int32_t kHeight = 200;

  void SetUp() override {
    display = Display::OpenOffscreen(kWidth, kHeight, keyboard, clock);
    ASSERT_NE(display, nullptr);
    display->SetAlphaBlending();
  }

  // Every pixel is the background where the coverage is 0, exactly the text colour where it is
  // 255, and within 3 of the exactly rounded blend elsewhere.
  void ExpectBlended(const Coverage& coverage, Colour text, Colour background) {
    const std::vector<uint32_t> pixels = display->ReadPixels();
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(kWidth * kHeight));
    int32_t wrong = 0;
    for (int32_t y = 0; y < kHeight; ++y) {
      for (int32_t x = 0; x < kWidth; ++x) {
        const uint32_t pixel = pixels[static_cast<std::size_t>(y * kWidth + x)];
        const int32_t a = coverage.At(x, y);
        if (a == 0 || a == 255) {
          const uint32_t expected = a == 0 ? background.Pixel() : text.Pixel();
          if (pixel != expected && wrong++ < 5) ADD_FAILURE() << "at " << x << "," << y << " coverage " << a;
          continue;
        }
        const int32_t texts[] = {text.blue, text.green, text.red};
        const int32_t grounds[] = {background.blue, background.green, background.red};
        for (int channel = 0; channel < 3; ++channel) {
          const double exact = (texts[channel] * a + grounds[channel] * (255 - a)) / 255.0;
          if (std::abs(Channel(pixel, channel * 8) - exact) > 3.5 && wrong++ < 5) {
            ADD_FAILURE() << "at " << x << "," << y << " coverage " << a << " channel " << channel;
          }
        }
      }
    }
    EXPECT_EQ(wrong, 0);
  }

  void DrawLine(const std::shared_ptr<Font>& font, Colour text, Colour background, std::u16string_view line,
                int32_t x, int32_t y) {
    display->SetClearColour(background.red, background.green, background.blue);
    display->Clear();
    display->SelectFont(font);
    display->SetDrawColour(text.red, text.green, text.blue);
    display->DrawString(line, static_cast<float>(x), static_cast<float>(y));
  }

  KeyboardLayer keyboard;
  test::ManualClock clock;
  std::unique_ptr<Display> display;
};

TEST_F(OffscreenDisplay, ClearFillsWithTheClampedColour) {
  display->SetClearColour(300, -5, 128);
  display->Clear();
  const std::vector<uint32_t> pixels = display->ReadPixels();
  EXPECT_EQ(std::count(pixels.begin(), pixels.end(), 0xFF0080u), kWidth * kHeight);
}

struct Placement {
  int32_t x, y;
};

TEST_F(OffscreenDisplay, GlyphsLandWhereThePlacementRulePutsThemAndClipAtTheEdges) {
  const auto font = display->LoadFont(kSans, 40);
  ASSERT_NE(font, nullptr);
  ASSERT_EQ(FontFace::Open(kSans, 40)->GlyphIndex(kNoGlyph), 0u);
  const std::u16string line = u"Tg" + std::u16string(1, kNoGlyph) + u"j|";
  for (const Placement at : {Placement{37, 23}, Placement{-9, -17}, Placement{kWidth - 40, kHeight - 30}}) {
    SCOPED_TRACE(testing::Message() << "at " << at.x << "," << at.y);
    DrawLine(font, {255, 255, 255}, {0, 0, 0}, line, at.x, at.y);
    Coverage coverage(kWidth, kHeight);
    coverage.AddLine(kSans, 40, line, at.x, at.y);
    ASSERT_GT(coverage.Count(255), 20);
    ExpectBlended(coverage, {255, 255, 255}, {0, 0, 0});
  }
}

TEST_F(OffscreenDisplay, EveryTextColourIsExactOnEveryBackground) {
  const auto font = display->LoadFont(kSans, 36);
  ASSERT_NE(font, nullptr);
  Coverage coverage(kWidth, kHeight);
  coverage.AddLine(kSans, 36, u"Mog", 10, 10);
  for (const Colour& background : kBackgrounds) {
    for (const Colour& text : kTextColours) {
      SCOPED_TRACE(testing::Message() << std::hex << text.Pixel() << " on " << background.Pixel());
      DrawLine(font, text, background, u"Mog", 10, 10);
      ExpectBlended(coverage, text, background);
    }
  }
}

TEST_F(OffscreenDisplay, MissingFaceGivesTheBuiltInFontSixteenPixelsHigh) {
  const auto none = display->LoadFont("/nonexistent/arial.ttf", 64);
  EXPECT_EQ(none, nullptr);
  // Characters outside 32..127 are skipped without moving the pen.
  const std::u16string line =
      u"A\x1F"
      u"g~\u00E4\x7F#";
  DrawLine(none, {255, 255, 0}, {0, 0, 255}, line, 5, 7);
  Coverage coverage(kWidth, kHeight);
  coverage.AddBuiltinLine(line, 5, 7);
  ExpectBlended(coverage, {255, 255, 0}, {0, 0, 255});
}

// The surface is kept from frame to frame and only rows drawn on are cleared again: whatever
// came before, each frame must be what a fresh display draws.
TEST_F(OffscreenDisplay, EachFrameIsWhatAFreshDisplayDraws) {
  struct Frame {
    Colour background;
    const char* face;  // null: the built-in font
    int32_t size;
    std::u16string_view text;
    int32_t x, y;
  };
  // Frames that repeat the one before are among them: the surface holds them already.
  const Frame frames[] = {
      {{0, 0, 0}, kSans, 40, u"Tgj", 10, 20},
      {{0, 0, 0}, kSans, 40, u"Tgj", 10, 20},
      {{0, 0, 0}, kSans, 40, u"Tgj", 10, 120},
      {{0, 0, 0}, kSans, 24, u"", 0, 0},
      {{0, 0, 0}, kSans, 24, u"", 0, 0},
      {{0, 0, 0}, nullptr, 0, u"Tgj", 10, 60},
      {{0, 0, 0}, nullptr, 0, u"Tgj", 10, 60},
      {{0, 0, 0}, kSans, 40, u"Tgj", 10, 58},
      {{0, 0, 255}, kSans, 40, u"Tgj", 10, 58},
      {{0, 0, 255}, kSans, 40, u"Tgj", 10, 58},
      {{0, 0, 255}, kSans, 40, u"Tgj", -20, -25},
      {{0, 0, 255}, kSans, 12, u"x", 300, 190},
      {{0, 0, 255}, kSans, 12, u"x", 300, 190},
      // A line's text longer, shorter, changed where it shows and where it runs past the edge.
      {{0, 0, 0}, kSans, 40, u"Tgj", 10, 20},
      {{0, 0, 0}, kSans, 40, u"Tgjx", 10, 20},
      {{0, 0, 0}, kSans, 40, u"Tg", 10, 20},
      {{0, 0, 0}, kSans, 40, u"MMMMMMMMMMMMMMM", 10, 20},
      {{0, 0, 0}, kSans, 40, u"MMMiMMMMMMMMMMM", 10, 20},
      {{0, 0, 0}, kSans, 40, u"MMMiMMMMMMMMMMi", 10, 20},
      {{0, 0, 0}, kSans, 40, u"MMMiMMMMMMMMM", 10, 20},
  };
  for (const Frame& frame : frames) {
    SCOPED_TRACE(testing::Message() << "text at " << frame.x << "," << frame.y);
    const auto draw = [&](Display& on) {
      on.SetClearColour(frame.background.red, frame.background.green, frame.background.blue);
      on.Clear();
      on.SetClearColour(1, 2, 3);  // the next clear's colour: this frame keeps its own
      on.SelectFont(frame.face != nullptr ? on.LoadFont(frame.face, frame.size) : nullptr);
      on.SetDrawColour(255, 255, 0);
      on.DrawString(frame.text, static_cast<float>(frame.x), static_cast<float>(frame.y));
      std::vector<uint32_t> pixels = on.ReadPixels();
      on.Present();
      return pixels;
    };
    KeyboardLayer freshKeyboard;
    test::ManualClock freshClock;
    const auto fresh = Display::OpenOffscreen(kWidth, kHeight, freshKeyboard, freshClock);
    fresh->SetAlphaBlending();
    const std::vector<uint32_t> drawn = draw(*display);
    EXPECT_EQ(drawn, draw(*fresh));
    EXPECT_EQ(drawn.back(), frame.background.Pixel());
  }
}

// A line is drawn when its frame is shown: the fonts it was laid out in must live until then, even
// when nothing else holds them any more.
TEST_F(OffscreenDisplay, AFontLetGoOfBeforeTheFrameIsShownStillDrawsItsLine) {
  DrawLine(display->LoadFont(kSans, 36), {255, 255, 255}, {0, 0, 0}, u"Mog", 10, 10);
  for (int32_t size = 100; size < 120; ++size) display->LoadFont(kSans, size);  // pushed out
  display->SelectFont(display->LoadFont(kSans, 12));
  Coverage coverage(kWidth, kHeight);
  coverage.AddLine(kSans, 36, u"Mog", 10, 10);
  ExpectBlended(coverage, {255, 255, 255}, {0, 0, 0});
}

// Lines drawn after a frame is shown, without a clear, land on top of it; the next clear then
// starts from what is really there.
TEST_F(OffscreenDisplay, LinesDrawnWithoutAClearLandOnTheFrameShown) {
  const auto font = display->LoadFont(kSans, 36);
  DrawLine(font, {255, 255, 255}, {0, 0, 0}, u"Mo", 10, 10);
  display->Present();
  display->DrawString(u"g", 100, 10);
  display->Present();
  Coverage both(kWidth, kHeight);
  both.AddLine(kSans, 36, u"Mo", 10, 10);
  both.AddLine(kSans, 36, u"g", 100, 10);
  ExpectBlended(both, {255, 255, 255}, {0, 0, 0});

  DrawLine(font, {255, 255, 255}, {0, 0, 0}, u"Mo", 10, 10);
  Coverage first(kWidth, kHeight);
  first.AddLine(kSans, 36, u"Mo", 10, 10);
  ExpectBlended(first, {255, 255, 255}, {0, 0, 0});
}

TEST_F(OffscreenDisplay, FontsAreKeptByPathAndSizeButFailuresAreTriedAgain) {
  const auto font = display->LoadFont(kSans, 24);
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(display->LoadFont(kSans, 24), font);
  EXPECT_NE(display->LoadFont(kSans, 25), font);

  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const auto path =
      std::filesystem::temp_directory_path() / ("zizezed-font-" + std::to_string(stamp) + ".ttf");
  std::ofstream(path) << "not a font";
  EXPECT_EQ(display->LoadFont(path.string(), 24), nullptr);
  std::filesystem::copy_file(kSans, path, std::filesystem::copy_options::overwrite_existing);
  const auto loaded = display->LoadFont(path.string(), 24);
  std::filesystem::remove(path);
  EXPECT_NE(loaded, nullptr);
  EXPECT_EQ(display->LoadFont(path.string(), 24), loaded);  // kept: the file is not opened again

  // Bounded: once enough other fonts have been loaded, the first one is made afresh.
  for (int32_t size = 100; size < 180; ++size) display->LoadFont(kSans, size);
  EXPECT_NE(display->LoadFont(kSans, 24), font);
}

TEST_F(OffscreenDisplay, RenderResetMakesTheGlyphImagesAgain) {
  const auto font = display->LoadFont(kSans, 30);
  ASSERT_NE(font, nullptr);
  const auto drawBoth = [&] {
    DrawLine(font, {128, 255, 128}, {0, 0, 0}, u"Reset", 10, 10);
    display->SelectFont(nullptr);
    display->DrawString(u"Reset", 10, 100);
    return display->ReadPixels();
  };
  const std::vector<uint32_t> before = drawBoth();
  for (const uint32_t type : {SDL_RENDER_TARGETS_RESET, SDL_RENDER_DEVICE_RESET}) {
    SDL_Event reset{};
    reset.type = type;
    static_cast<SdlDisplay&>(*display).OnPlatformEvent(reset);
    EXPECT_EQ(drawBoth(), before);
  }
  Coverage coverage(kWidth, kHeight);
  coverage.AddLine(kSans, 30, u"Reset", 10, 10);
  coverage.AddBuiltinLine(u"Reset", 10, 100);
  ExpectBlended(coverage, {128, 255, 128}, {0, 0, 0});
}

TEST_F(OffscreenDisplay, FontsMayOutliveTheDisplay) {
  auto font = display->LoadFont(kSans, 20);
  display->SelectFont(font);
  display->DrawString(u"kept", 0, 0);
  display.reset();
  font.reset();  // must not touch the textures the renderer freed
}

// Moves on a little at every reading, so the timing test's second passes in a few hundred presents.
class TickingClock final : public Clock {
 public:
  uint32_t Milliseconds() override { return now_ += 5; }
  void Sleep(uint32_t ms) override { now_ += ms; }

 private:
  uint32_t now_ = 0;
};

void PushKeyDown(SDL_Scancode scancode, SDL_Keycode symbol) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.state = SDL_PRESSED;
  event.key.keysym.scancode = scancode;
  event.key.keysym.sym = symbol;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

TEST(FullScreenDisplay, OpensAtTheDesktopSizeAndRecordsOnlyKeysThatComeAfter) {
  SDL_setenv("SDL_VIDEODRIVER", "dummy", 0);  // never a real window from a unit test
  std::string reason;
  ASSERT_TRUE(StartPlatform(&reason)) << reason;
  DisplayRequest request;
  ASSERT_TRUE(DesktopSize(&request.width, &request.height));
  KeyboardLayer keyboard;
  TickingClock clock;

  DisplayRequest tooWide = request;
  ++tooWide.width;
  EXPECT_EQ(Display::OpenFullScreen(tooWide, keyboard, clock, &reason), nullptr);
  EXPECT_EQ(reason, "UNSUPPORTEDMODE");

  PushKeyDown(SDL_SCANCODE_SPACE, SDLK_SPACE);  // pending while the display opens: discarded
  auto display = Display::OpenFullScreen(request, keyboard, clock, &reason);
  ASSERT_NE(display, nullptr) << reason;
  EXPECT_EQ(display->width(), request.width);
  EXPECT_EQ(display->height(), request.height);
  EXPECT_EQ(display->presentingRule().mode(), PacingMode::timer);  // the software renderer has no blank
  EXPECT_EQ(keyboard.KeyHit(kVkSpace), 0);
  PushKeyDown(SDL_SCANCODE_SPACE, SDLK_SPACE);
  EXPECT_EQ(keyboard.KeyHit(kVkSpace), 1);

  display.reset();  // the recorder and the event source leave with the display
  PushKeyDown(SDL_SCANCODE_SPACE, SDLK_SPACE);
  EXPECT_EQ(keyboard.KeyHit(kVkSpace), 0);
  StopPlatform();
}

}  // namespace
}  // namespace zz
