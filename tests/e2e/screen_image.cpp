#include "e2e/screen_image.h"

#include <algorithm>
#include <stdexcept>

namespace zz::e2e {

std::ostream& operator<<(std::ostream& out, Rgb colour) {
  return out << "(" << int{colour.red} << ", " << int{colour.green} << ", " << int{colour.blue} << ")";
}

std::ostream& operator<<(std::ostream& out, const Rect& rect) {
  return out << "[x " << rect.left << ".." << rect.right << ", y " << rect.top << ".." << rect.bottom << ")";
}

std::ostream& operator<<(std::ostream& out, const std::optional<Rect>& rect) {
  if (!rect) return out << "(nothing)";
  return out << *rect;
}

ScreenImage::ScreenImage(int width, int height, std::vector<Rgb> pixels)
    : width_(width), height_(height), pixels_(std::move(pixels)) {
  if (width_ < 0 || height_ < 0 || pixels_.size() != static_cast<std::size_t>(width_) * height_) {
    throw std::invalid_argument("screen image: pixel count does not match its size");
  }
}

Rgb ScreenImage::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) throw std::out_of_range("screen image: pixel outside");
  return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

Rect ScreenImage::Clipped(Rect region) const {
  region.left = std::clamp(region.left, 0, width_);
  region.right = std::clamp(region.right, region.left, width_);
  region.top = std::clamp(region.top, 0, height_);
  region.bottom = std::clamp(region.bottom, region.top, height_);
  return region;
}

template <typename Match>
int ScreenImage::CountWhere(Rect region, Match&& match) const {
  const Rect r = Clipped(region);
  int count = 0;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) count += match(pixels_[static_cast<std::size_t>(y) * width_ + x]);
  }
  return count;
}

template <typename Match>
std::optional<Rect> ScreenImage::BoundsWhere(Rect region, Match&& match) const {
  const Rect r = Clipped(region);
  std::optional<Rect> bounds;
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      if (!match(pixels_[static_cast<std::size_t>(y) * width_ + x])) continue;
      if (!bounds) bounds = Rect{x, y, x + 1, y + 1};
      bounds->left = std::min(bounds->left, x);
      bounds->right = std::max(bounds->right, x + 1);
      bounds->bottom = y + 1;
    }
  }
  return bounds;
}

int ScreenImage::Count(Rgb colour, Rect region) const {
  return CountWhere(region, [colour](Rgb p) { return p == colour; });
}

int ScreenImage::CountOther(Rgb background, Rect region) const {
  return CountWhere(region, [background](Rgb p) { return p != background; });
}

std::optional<Rect> ScreenImage::BoundsOf(Rgb colour, Rect region) const {
  return BoundsWhere(region, [colour](Rgb p) { return p == colour; });
}

std::optional<Rect> ScreenImage::InkBounds(Rgb background, Rect region) const {
  return BoundsWhere(region, [background](Rgb p) { return p != background; });
}

}  // namespace zz::e2e
