#include "display/sdl_failure.h"

#include <SDL.h>

#include <cstdio>

namespace zz {

void ReportSdlFailure(const char* what) {
  std::fprintf(stderr, "zizezed: %s: %s\n", what, SDL_GetError());
}

}  // namespace zz
