#include "display/glyph_runs.h"

#include <algorithm>

namespace zz {

namespace {

// The four bytes of a pixel spread into 16-bit lanes, so that all of them blend in one go
// whatever the order of the surface's channels.
inline uint64_t Spread(uint32_t pixel) {
  const uint64_t p = pixel;
  return (p & 0xFF) | (p & 0xFF00) << 8 | (p & 0xFF0000) << 16 | (p & 0xFF000000) << 24;
}

inline uint32_t Gather(uint64_t lanes) {
  return static_cast<uint32_t>((lanes & 0xFF) | (lanes >> 8 & 0xFF00) | (lanes >> 16 & 0xFF0000) |
                               (lanes >> 24 & 0xFF000000));
}

constexpr uint64_t kLaneLow = 0x00FF00FF00FF00FF;
constexpr uint64_t kLaneRounding = 0x0080008000800080;

// colour * alpha + ground * (255 - alpha), divided by 255 and rounded exactly, lane by lane
// (no lane exceeds 16 bits on the way).
inline uint32_t Blend(uint64_t colour, uint32_t ground, uint32_t alpha) {
  uint64_t lanes = colour * alpha + Spread(ground) * (255 - alpha) + kLaneRounding;
  lanes = (lanes + (lanes >> 8 & kLaneLow)) >> 8 & kLaneLow;
  return Gather(lanes);
}

// Fully covered pixels take the colour; edge pixels on the bare background take its blend over
// the background from the table, others are blended.
inline void DrawPixels(uint32_t* pixels, const uint8_t* alpha, int32_t length, const Ink& ink) {
  if (alpha == nullptr) {
    const uint32_t keep = ink.keep();
    const uint32_t colour = ink.colour();
    for (int32_t i = 0; i < length; ++i) pixels[i] = (pixels[i] & keep) | colour;
    return;
  }
  const uint32_t ground = ink.ground();
  for (int32_t i = 0; i < length; ++i) {
    const uint32_t old = pixels[i];
    pixels[i] = old == ground ? ink.OverGround(alpha[i]) : ink.Over(old, alpha[i]);
  }
}

bool SameColour(SDL_Color a, SDL_Color b) {
  return a.r == b.r && a.g == b.g && a.b == b.b;
}

}  // namespace

void Ink::Prepare(const SDL_PixelFormat& format, SDL_Color colour, SDL_Color ground) {
  if (format_ == &format && formatCode_ == format.format && SameColour(colour, colourAsGiven_) &&
      SameColour(ground, groundAsGiven_))
    return;
  format_ = &format;
  formatCode_ = format.format;
  colourAsGiven_ = colour;
  groundAsGiven_ = ground;
  keep_ = ~(format.Rmask | format.Gmask | format.Bmask);
  colour_ = static_cast<uint32_t>(colour.r) << format.Rshift |
            static_cast<uint32_t>(colour.g) << format.Gshift |
            static_cast<uint32_t>(colour.b) << format.Bshift;
  spread_ = Spread(colour_);
  // As the renderer's clear writes it.
  ground_ = SDL_MapRGBA(&format, ground.r, ground.g, ground.b, 255);
  for (uint32_t alpha = 0; alpha < overGround_.size(); ++alpha) overGround_[alpha] = Over(ground_, alpha);
}

uint32_t Ink::Over(uint32_t pixel, uint32_t alpha) const {
  return (Blend(spread_, pixel, alpha) & ~keep_) | (pixel & keep_);
}

GlyphRuns::GlyphRuns(const uint8_t* coverage, int32_t width, int32_t height)
    : width_(width), height_(height) {
  for (int32_t row = 0; row < height; ++row) {
    const uint8_t* line = coverage + static_cast<std::size_t>(row) * static_cast<std::size_t>(width);
    int32_t column = 0;
    while (column < width) {
      const uint8_t value = line[column];
      int32_t end = column + 1;
      if (value == 0) {
        while (end < width && line[end] == 0) ++end;
      } else if (value == 255) {
        while (end < width && line[end] == 255) ++end;
        runs_.push_back({row, column, end - column, kSolid});
      } else {
        while (end < width && line[end] != 0 && line[end] != 255) ++end;
        runs_.push_back({row, column, end - column, static_cast<uint32_t>(coverage_.size())});
        coverage_.insert(coverage_.end(), line + column, line + end);
      }
      column = end;
    }
  }
}

bool GlyphRuns::CanDrawInto(const SDL_Surface* target) {
  return target != nullptr && target->pixels != nullptr && target->format != nullptr &&
         target->format->BytesPerPixel == 4 && !SDL_MUSTLOCK(target);
}

const uint8_t* GlyphRuns::Coverage(const Run& run, int32_t skip) const {
  return run.offset == kSolid ? nullptr : coverage_.data() + run.offset + skip;
}

void GlyphRuns::Draw(SDL_Surface* target, int32_t x, int32_t y, const Ink& ink) const {
  const SDL_Rect& clip = target->clip_rect;
  if (x < clip.x || y < clip.y || x + width_ > clip.x + clip.w || y + height_ > clip.y + clip.h) {
    DrawClipped(target, x, y, ink);
    return;
  }
  // Wholly inside: no run needs clipping.
  auto* const origin = static_cast<uint8_t*>(target->pixels) +
                       static_cast<std::ptrdiff_t>(y) * target->pitch + static_cast<std::ptrdiff_t>(x) * 4;
  for (const Run& run : runs_) {
    auto* const row =
        reinterpret_cast<uint32_t*>(origin + static_cast<std::ptrdiff_t>(run.row) * target->pitch);
    DrawPixels(row + run.column, Coverage(run, 0), run.length, ink);
  }
}

void GlyphRuns::DrawClipped(SDL_Surface* target, int32_t x, int32_t y, const Ink& ink) const {
  const SDL_Rect& clip = target->clip_rect;
  for (const Run& run : runs_) {
    const int32_t row = y + run.row;
    if (row < clip.y || row >= clip.y + clip.h) continue;
    const int32_t from = std::max(x + run.column, clip.x);
    const int32_t to = std::min(x + run.column + run.length, clip.x + clip.w);
    if (from >= to) continue;
    auto* const pixels = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(target->pixels) +
                                                     static_cast<std::ptrdiff_t>(row) * target->pitch);
    DrawPixels(pixels + from, Coverage(run, from - x - run.column), to - from, ink);
  }
}

}  // namespace zz
