// Opening the display: the full-screen sequence, and the memory surface for tests and benchmarks.
#include "display/display.h"

#include <SDL.h>

#include "display/display_mode.h"
#include "display/sdl_display.h"
#include "display/sdl_failure.h"

namespace zz {

namespace {

constexpr int kDisplayIndex = 0;

std::vector<SDL_DisplayMode> ListedModes() {
  std::vector<SDL_DisplayMode> modes;
  const int count = SDL_GetNumDisplayModes(kDisplayIndex);
  if (count < 0) ReportSdlFailure("cannot list the display modes");
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode{};
    if (SDL_GetDisplayMode(kDisplayIndex, i, &mode) == 0) modes.push_back(mode);
  }
  return modes;
}

std::optional<SDL_DisplayMode> ChooseMode(const DisplayRequest& request) {
  const std::vector<SDL_DisplayMode> modes = ListedModes();
  std::vector<ListedMode> listed;
  for (const SDL_DisplayMode& mode : modes) {
    listed.push_back({mode.w, mode.h, ModeBitsPerPixel(mode.format), mode.refresh_rate});
  }
  const auto chosen =
      ChooseDisplayMode(listed, request.width, request.height, request.bitsPerPixel, request.refreshRate);
  if (!chosen) return std::nullopt;
  return modes[*chosen];
}

}  // namespace

std::unique_ptr<Display> Display::OpenFullScreen(const DisplayRequest& request, KeyboardLayer& keyboard,
                                                 Clock& clock, std::string* failureReason) {
  std::string reason;
  std::string* const why = failureReason != nullptr ? failureReason : &reason;
  const std::optional<SDL_DisplayMode> mode = ChooseMode(request);
  if (!mode) {
    *why = "UNSUPPORTEDMODE";
    return nullptr;
  }
  auto display = std::make_unique<SdlDisplay>(keyboard, clock);
  if (!display->CreateFullScreenWindow(*mode, why) || !display->CreateWindowRenderer(why)) return nullptr;
  // Both buffers black before anything waits for the blank.
  display->ClearAndPresentWithoutVerticalBlank();
  display->ClearAndPresentWithoutVerticalBlank();
  display->RunTimingTest();
  display->CentrePointer();
  display->TakeKeyboard();
  return display;
}

std::unique_ptr<Display> Display::OpenOffscreen(int32_t width, int32_t height, KeyboardLayer& keyboard,
                                                Clock& clock) {
  auto display = std::make_unique<SdlDisplay>(keyboard, clock);
  if (!display->CreateSurfaceRenderer(width, height)) return nullptr;
  display->StartTimerPacing();
  return display;
}

}  // namespace zz
