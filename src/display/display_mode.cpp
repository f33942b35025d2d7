#include "display/display_mode.h"

#include <SDL.h>

#include <cstdlib>
#include <limits>

namespace zz {

namespace {

int64_t RefreshDistance(int32_t rate, int32_t wanted) {
  if (rate <= 0) return std::numeric_limits<int64_t>::max();
  return std::llabs(static_cast<int64_t>(rate) - wanted);
}

std::optional<std::size_t> NearestAtDepth(const std::vector<ListedMode>& modes, int32_t width, int32_t height,
                                          int32_t depth, int32_t refreshRate) {
  std::optional<std::size_t> best;
  for (std::size_t i = 0; i < modes.size(); ++i) {
    const ListedMode& m = modes[i];
    if (m.width != width || m.height != height || m.bitsPerPixel != depth) continue;
    // Strictly nearer only, so the first listed wins a tie.
    if (!best || RefreshDistance(m.refreshRate, refreshRate) <
                     RefreshDistance(modes[*best].refreshRate, refreshRate)) {
      best = i;
    }
  }
  return best;
}

}  // namespace

std::optional<std::size_t> ChooseDisplayMode(const std::vector<ListedMode>& modes, int32_t width,
                                             int32_t height, int32_t bitsPerPixel, int32_t refreshRate) {
  for (const int32_t depth : {bitsPerPixel, 24, 16}) {
    if (depth > bitsPerPixel) continue;
    if (auto chosen = NearestAtDepth(modes, width, height, depth, refreshRate)) return chosen;
  }
  return std::nullopt;
}

int32_t ModeBitsPerPixel(uint32_t pixelFormat) {
  if (SDL_ISPIXELFORMAT_FOURCC(pixelFormat)) return 0;
  const int32_t bytes = SDL_BYTESPERPIXEL(pixelFormat);
  if (bytes == 4 && SDL_PIXELLAYOUT(pixelFormat) == SDL_PACKEDLAYOUT_8888) return 32;
  if (bytes == 3) return 24;
  if (bytes == 2) return 16;
  return SDL_BITSPERPIXEL(pixelFormat);
}

}  // namespace zz
