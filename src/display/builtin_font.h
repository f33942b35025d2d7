// The built-in fixed-pitch font: 96 glyphs of 8 x 16 pixels for the characters 32..127.
#pragma once

#include <array>
#include <cstdint>

namespace zz {

constexpr int32_t kBuiltinGlyphWidth = 8;
constexpr int32_t kBuiltinGlyphHeight = 16;
constexpr int32_t kBuiltinFirstCharacter = 32;
constexpr int32_t kBuiltinLastCharacter = 127;
constexpr int32_t kBuiltinGlyphCount = kBuiltinLastCharacter - kBuiltinFirstCharacter + 1;

// One byte per row, the most significant bit the leftmost pixel.
using BuiltinGlyph = std::array<uint8_t, kBuiltinGlyphHeight>;
extern const std::array<BuiltinGlyph, kBuiltinGlyphCount> kBuiltinFont;

}  // namespace zz
