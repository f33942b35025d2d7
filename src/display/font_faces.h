// Finding the files of the program's font faces. On Windows the face paths are used as they
// stand; elsewhere each is resolved once to the file of a metric-compatible stand-in.
#pragma once

#include <string>

namespace zz {

// The file to load for a Windows face path such as "C:\WINDOWS\Fonts\arial.ttf", or an empty
// path (which loads as none) when no suitable face is installed.
std::string ResolveFontFace(const std::string& windowsPath);

}  // namespace zz
