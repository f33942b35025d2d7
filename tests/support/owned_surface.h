// An SDL surface owned by a test: freed when it goes out of scope.
#pragma once

#include <SDL.h>

#include <memory>

namespace zz::test {

struct SurfaceDeleter {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using OwnedSurface = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

}  // namespace zz::test
