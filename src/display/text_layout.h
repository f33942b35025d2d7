// Laying out one line of text in whole pixels: where each glyph image lands and which of them
// fall on the screen. Pens are 64-bit so that a line far off the screen, or a million characters
// long, never overflows; drawing stops once the pen has left the screen on the right.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zz {

struct GlyphShape {
  int32_t left = 0;  // image left of the pen
  int32_t top = 0;   // image top below the line's top
  int32_t width = 0;
  int32_t height = 0;
  int32_t advance = 0;
};

struct ScreenSize {
  int32_t width = 0;
  int32_t height = 0;
};

// How far a font's glyph images may lie from the pen and the line's top: lets a line that cannot
// touch the screen be skipped at once, and ends a line whose pen has passed the right edge.
struct LineReach {
  int64_t left = 0;    // at most every image's left offset
  int64_t top = 0;     // at most every image's top offset
  int64_t bottom = 0;  // at least every image's bottom offset
};

// Positions beyond this lie off every screen; keeping pens within it rules out overflow.
constexpr int64_t kFarOff = int64_t{1} << 40;

// A drawing position in whole pixels (floor), clamped far off the screen; NaN lies far off too.
inline int64_t PixelPosition(float position) {
  constexpr double kLimit = static_cast<double>(kFarOff);
  const double value = std::floor(static_cast<double>(position));
  if (std::isnan(value)) return kFarOff;
  return static_cast<int64_t>(std::clamp(value, -kLimit, kLimit));
}

// Calls glyphFor(character) for each character, which returns a pointer to a glyph with a
// `shape` (null: the character is skipped and the pen stays), and blit(glyph, x, y) for each
// glyph image that touches the screen. The reach is read afresh for every character, as glyphs
// made during the line may widen it. Returns how many characters were looked at: the rest of the
// line cannot touch the screen.
template <typename GlyphFor, typename Blit>
std::size_t LayOutLine(std::u16string_view text, float x, float y, ScreenSize screen, const LineReach& reach,
                       GlyphFor&& glyphFor, Blit&& blit) {
  const int64_t lineTop = PixelPosition(y);
  if (lineTop + reach.bottom <= 0 || lineTop + reach.top >= screen.height) return 0;
  int64_t pen = PixelPosition(x);
  std::size_t seen = 0;
  for (const char16_t character : text) {
    if (pen + reach.left >= screen.width) return seen;
    ++seen;
    auto* const glyph = glyphFor(character);
    if (glyph == nullptr) continue;
    const GlyphShape& shape = glyph->shape;
    const int64_t left = pen + shape.left;
    const int64_t top = lineTop + shape.top;
    if (shape.width > 0 && shape.height > 0 && left < screen.width && left + shape.width > 0 &&
        top < screen.height && top + shape.height > 0) {
      blit(*glyph, static_cast<int32_t>(left), static_cast<int32_t>(top));
    }
    pen = std::clamp(pen + shape.advance, -kFarOff, kFarOff);
  }
  return seen;
}

}  // namespace zz
