// The title state: two layers of text with their position, colour, size and face, the current
// layer, the background and the help overlay, and the constant tables the indices point into.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zz {

struct Rgb {
  int32_t red;
  int32_t green;
  int32_t blue;
};

constexpr int32_t kLayerCount = 2;

// The font files as the Windows font folder names them; the platform resolves them elsewhere.
extern const std::array<const char*, 6> kFontFacePaths;
// The splash screen's face and size.
extern const char* const kSplashFontPath;
constexpr int32_t kSplashFontSize = 18;

struct TitleState {
  // Tables: the palettes are flat red, green, blue triplets.
  std::array<int32_t, 18> textPalette{};
  std::array<int32_t, 12> backgroundPalette{};
  std::array<int32_t, 7> fontSizes{};
  std::array<std::string, 6> fontFaces{};

  // Per-layer values, indexed by layer (0 the name line, 1 the subtitle line).
  std::array<std::u16string, kLayerCount> layerText{};
  std::array<int32_t, kLayerCount> layerX{};
  std::array<int32_t, kLayerCount> layerY{};
  std::array<int32_t, kLayerCount> layerColourIndex{};
  std::array<int32_t, kLayerCount> layerSizeIndex{};
  std::array<int32_t, kLayerCount> layerFaceIndex{};

  int32_t currentLayer = 0;
  int32_t backgroundIndex = 0;
  int32_t helpShown = 0;
};

// Sets the tables and the layers to their initial values, in their set-up order. fontFaces gets
// the face files as found on this system, in the order of kFontFacePaths.
void SetUpTitleState(TitleState& state, const std::array<std::string, 6>& faceFiles);

// The colour of palette entry i: (palette[3i], palette[3i+1], palette[3i+2]).
template <std::size_t N>
Rgb PaletteColour(const std::array<int32_t, N>& palette, int32_t entry) {
  const auto i = static_cast<std::size_t>(entry) * 3;
  return Rgb{palette[i], palette[i + 1], palette[i + 2]};
}

}  // namespace zz
