// A picture of the whole X screen, read back as 8-bit RGB, with the few questions the tests ask
// of it: the colour of a pixel, where the pixels of a colour lie, and how many there are.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <vector>

namespace zz::e2e {

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

constexpr Rgb kBlack{0, 0, 0};

// A rectangle of pixels; right and bottom are exclusive.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  Rect Moved(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  bool operator==(const Rect&) const = default;
};

std::ostream& operator<<(std::ostream& out, Rgb colour);
std::ostream& operator<<(std::ostream& out, const Rect& rect);
std::ostream& operator<<(std::ostream& out, const std::optional<Rect>& rect);

class ScreenImage {
 public:
  ScreenImage(int width, int height, std::vector<Rgb> pixels);

  int width() const { return width_; }
  int height() const { return height_; }
  Rect Whole() const { return {0, 0, width_, height_}; }
  // The full-width strip of rows top..bottom-1.
  Rect Rows(int top, int bottom) const { return {0, top, width_, bottom}; }
  const std::vector<Rgb>& pixels() const { return pixels_; }

  Rgb At(int x, int y) const;
  // Regions are clipped to the screen.
  int Count(Rgb colour, Rect region) const;
  int CountOther(Rgb background, Rect region) const;
  // Bounding box of the pixels of exactly this colour; none when there are none.
  std::optional<Rect> BoundsOf(Rgb colour, Rect region) const;
  // Bounding box of the ink: every pixel that is not the background, blended edges included.
  std::optional<Rect> InkBounds(Rgb background, Rect region) const;

  bool operator==(const ScreenImage&) const = default;

 private:
  Rect Clipped(Rect region) const;
  template <typename Match>
  std::optional<Rect> BoundsWhere(Rect region, Match&& match) const;
  template <typename Match>
  int CountWhere(Rect region, Match&& match) const;

  int width_;
  int height_;
  std::vector<Rgb> pixels_;
};

}  // namespace zz::e2e
