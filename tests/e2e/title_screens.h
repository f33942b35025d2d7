// What the program's screens look like from outside: where the splash lines and the two layers
// of the initial card lie and in which colours, and how to tell that a screen is showing.
#pragma once

#include <array>

#include "e2e/screen_image.h"

namespace zz::e2e {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kSplashGrey{180, 180, 180};
constexpr Rgb kHelpGrey{127, 127, 127};
constexpr Rgb kLightBlue{128, 128, 255};
constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};

struct SplashLine {
  int y;
  Rgb colour;
};

// Lines 1 to 6 of the splash, all at x = 50 in an 18-pixel face.
constexpr std::array<SplashLine, 6> kSplashLines = {{
    {50, kWhite},
    {100, kSplashGrey},
    {130, kSplashGrey},
    {160, kSplashGrey},
    {220, kSplashGrey},
    {250, kSplashGrey},
}};
constexpr int kSplashX = 50;
// Each line's ink lies in the 30 rows from its top, the spacing of the closest lines.
constexpr int kSplashBandHeight = 30;

// The rows each layer of the card can reach in the tests: layer 0 ("Vorname Name", line top at
// y = 500, up to 82 pixels) and layer 1 ("Untertitel", line top at y = 600, 24 pixels).
constexpr int kLayer0Top = 400;
constexpr int kLayer1Top = 598;
constexpr int kCardBottom = 720;
// The help overlay and the splash both lie above this row.
constexpr int kOverlayBottom = 400;

inline Rect SplashBand(const ScreenImage& screen, const SplashLine& line) {
  return screen.Rows(line.y, line.y + kSplashBandHeight);
}
inline Rect Layer0Region(const ScreenImage& screen) {
  return screen.Rows(kLayer0Top, kLayer1Top);
}
inline Rect Layer1Region(const ScreenImage& screen) {
  return screen.Rows(kLayer1Top, kCardBottom);
}
inline Rect OverlayRegion(const ScreenImage& screen) {
  return screen.Rows(0, kOverlayBottom);
}

// The second splash frame is up: its first and last lines are drawn.
inline bool SplashShown(const ScreenImage& screen) {
  return screen.Count(kSplashLines.front().colour, SplashBand(screen, kSplashLines.front())) > 0 &&
         screen.Count(kSplashLines.back().colour, SplashBand(screen, kSplashLines.back())) > 0;
}

// The initial card on black: both layers in their colours and nothing above them.
inline bool InitialCardShown(const ScreenImage& screen) {
  return screen.Count(kWhite, Layer0Region(screen)) > 0 &&
         screen.Count(kLightBlue, Layer1Region(screen)) > 0 &&
         screen.CountOther(kBlack, OverlayRegion(screen)) == 0;
}

}  // namespace zz::e2e
