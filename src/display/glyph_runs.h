// A glyph image as the runs of inked pixels on each of its rows, blended straight into a 32-bit
// surface: pixels the glyph does not cover are never touched, fully covered ones are written with
// the colour as it stands, and only the edge pixels are blended (exactly rounded). This is what
// keeps the text's cost small beside clearing the screen on the software renderer.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <vector>

namespace zz {

// The drawing colour in a surface's pixel format, with its blends over the cleared background
// made once: most edge pixels lie on the bare background, so blending one is a look-up.
class Ink {
 public:
  // Makes the blends again only when the colour, background or format has changed.
  void Prepare(const SDL_PixelFormat& format, SDL_Color colour, SDL_Color ground);

  uint32_t colour() const { return colour_; }
  uint32_t ground() const { return ground_; }
  uint32_t keep() const { return keep_; }
  uint32_t OverGround(uint8_t alpha) const { return overGround_[alpha]; }
  // The colour at that coverage over any pixel.
  uint32_t Over(uint32_t pixel, uint32_t alpha) const;

 private:
  const SDL_PixelFormat* format_ = nullptr;
  uint32_t formatCode_ = 0;
  SDL_Color colourAsGiven_{0, 0, 0, 0};
  SDL_Color groundAsGiven_{0, 0, 0, 0};
  uint32_t colour_ = 0;
  uint32_t ground_ = 0;
  uint32_t keep_ = 0;  // bits of no colour channel (alpha or padding): they stay as they are
  uint64_t spread_ = 0;
  std::array<uint32_t, 256> overGround_{};
};

class GlyphRuns {
 public:
  GlyphRuns() = default;
  GlyphRuns(const uint8_t* coverage, int32_t width, int32_t height);

  // Whether the surface's pixels can be written here: 4 bytes a pixel, no lock needed.
  static bool CanDrawInto(const SDL_Surface* target);

  // Draws the image with its top-left at (x, y), clipped to the surface, in the prepared ink.
  void Draw(SDL_Surface* target, int32_t x, int32_t y, const Ink& ink) const;

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }

 private:
  static constexpr uint32_t kSolid = UINT32_MAX;  // the offset of a fully covered run

  struct Run {
    int32_t row;
    int32_t column;
    int32_t length;
    uint32_t offset;  // of its first pixel in coverage_, or kSolid
  };

  void DrawClipped(SDL_Surface* target, int32_t x, int32_t y, const Ink& ink) const;
  // The run's coverage from its pixel `skip` on; null for a fully covered run.
  const uint8_t* Coverage(const Run& run, int32_t skip) const;

  std::vector<Run> runs_;
  std::vector<uint8_t> coverage_;  // the edge runs' coverage, one after another
  int32_t width_ = 0;
  int32_t height_ = 0;
};

}  // namespace zz
