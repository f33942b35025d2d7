#include "title/title_state.h"

namespace zz {

const std::array<const char*, 6> kFontFacePaths = {
    "C:\\WINDOWS\\Fonts\\arial.ttf",  "C:\\WINDOWS\\Fonts\\ariblk.ttf", "C:\\WINDOWS\\Fonts\\cour.ttf",
    "C:\\WINDOWS\\Fonts\\courbd.ttf", "C:\\WINDOWS\\Fonts\\times.ttf",  "C:\\WINDOWS\\Fonts\\timesbd.ttf",
};

const char* const kSplashFontPath = "C:\\WINDOWS\\Fonts\\arial.ttf";

void SetUpTitleState(TitleState& state, const std::array<std::string, 6>& faceFiles) {
  state.textPalette = {255, 255, 255, 0, 0, 0, 255, 0, 0, 128, 255, 128, 128, 128, 255, 255, 255, 0};
  state.backgroundPalette = {0, 0, 0, 255, 255, 255, 0, 255, 0, 0, 0, 255};
  state.fontSizes = {12, 18, 24, 36, 48, 64, 82};
  state.fontFaces = faceFiles;
  state.layerText = {u"Vorname Name", u"Untertitel"};
  state.layerColourIndex = {0, 4};
  state.layerX = {20, 20};
  state.layerY = {500, 600};
  state.layerSizeIndex = {5, 2};
  state.layerFaceIndex = {1, 0};
}

}  // namespace zz
