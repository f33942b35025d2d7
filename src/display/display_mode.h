// Choosing the full-screen display mode from the modes the display lists.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace zz {

struct ListedMode {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPixel = 0;
  int32_t refreshRate = 0;  // Hz; 0 when the display does not say
};

// The index of the mode of exactly width x height whose refresh rate is nearest the wanted one,
// the first listed on a tie, searching the wanted depth first and then 24 and 16 bits per pixel.
// A mode of unknown refresh rate counts as farther than any mode of known rate.
std::optional<std::size_t> ChooseDisplayMode(const std::vector<ListedMode>& modes, int32_t width,
                                             int32_t height, int32_t bitsPerPixel, int32_t refreshRate);

// The depth a mode of this pixel format counts as: 4-byte formats of 8-bit channels are 32 bits
// per pixel whether or not their fourth byte is alpha.
int32_t ModeBitsPerPixel(uint32_t pixelFormat);

}  // namespace zz
