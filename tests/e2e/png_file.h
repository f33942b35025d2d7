// Screens saved as PNG files, for people to look at (the demo, and the screen a failed test saw).
#pragma once

#include <string>

#include "e2e/screen_image.h"

namespace zz::e2e {

// Returns whether the file was written.
bool WritePng(const ScreenImage& screen, const std::string& path);

}  // namespace zz::e2e
