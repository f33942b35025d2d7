// Starting and stopping SDL's video, with the hints chosen before it starts.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "display/display.h"

namespace zz {

namespace {

// Under Xvfb without a GPU the software renderer drawing straight into the window's own
// framebuffer is far faster than the accelerated paths (about 4 ms against 7 to 30 ms a 4K frame).
// ZIZEZED_RENDERER names another SDL renderer ("opengl", "software") for machines where that
// does better.
void ChooseRenderer() {
  const char* chosen = std::getenv("ZIZEZED_RENDERER");
  if (chosen != nullptr && *chosen != '\0') {
    SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, chosen, SDL_HINT_OVERRIDE);
    return;
  }
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
}

}  // namespace

bool StartPlatform(std::string* failureReason) {
  // main() is the program's own: SDL does not wrap it.
  SDL_SetMainReady();
  // SIGINT and SIGTERM go to the program's termination handlers, not to an SDL_QUIT event.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // The title card stays on the screen while another program has the keyboard.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_TIMER_RESOLUTION, "1");
  ChooseRenderer();
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "zizezed: no video device: %s\n", SDL_GetError());
    if (failureReason != nullptr) *failureReason = "NOVIDEODEVICE";
    return false;
  }
  return true;
}

void StopPlatform() {
  SDL_Quit();
}

bool DesktopSize(int32_t* width, int32_t* height) {
  SDL_DisplayMode mode{};
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
    std::fprintf(stderr, "zizezed: no desktop display mode: %s\n", SDL_GetError());
    return false;
  }
  *width = mode.w;
  *height = mode.h;
  return true;
}

}  // namespace zz
