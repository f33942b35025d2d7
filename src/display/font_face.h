// A TrueType face opened with FreeType at one pixel size, and the glyphs made from it on first
// use as coverage bitmaps. Knows nothing of the screen: the display turns coverage into images.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zz {

struct GlyphBitmap {
  bool loaded = false;  // false: the glyph failed to load (no image, advance 0)
  int32_t left = 0;     // bitmap_left
  int32_t top = 0;      // bitmap_top
  int32_t width = 0;
  int32_t height = 0;
  int32_t advance = 0;            // whole pixels
  std::vector<uint8_t> coverage;  // width * height, 0..255 (one-bit bitmaps as 0/255)
};

class FontFace {
 public:
  // Face 0 of the file at the pixel size (or the largest smaller size the face accepts), or
  // null when the file cannot be opened as a font or accepts no size.
  static std::unique_ptr<FontFace> Open(const std::string& path, int32_t pixelSize);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  int32_t ascender() const { return ascender_; }
  int32_t pixelSize() const { return pixelSize_; }

  // The face's glyph index for a character in its Unicode map; 0 means none.
  uint32_t GlyphIndex(uint32_t character) const;
  // Renders the glyph of that index, smoothed. An outline larger than any real glyph keeps its
  // advance but has no image.
  GlyphBitmap RenderGlyph(uint32_t glyphIndex) const;

 private:
  struct Impl;
  explicit FontFace(std::unique_ptr<Impl> impl, int32_t ascender, int32_t pixelSize);
  std::unique_ptr<Impl> impl_;
  int32_t ascender_ = 0;
  int32_t pixelSize_ = 0;
};

}  // namespace zz
