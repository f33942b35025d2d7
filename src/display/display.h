// The display layer: a full-screen 2D drawing facility with fonts, paced by the presenting rule.
// This header is free of platform types; the implementation owns all platform state.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "display/clock.h"
#include "display/keyboard_layer.h"
#include "display/presenting_rule.h"

namespace zz {

class Font;  // a loaded TrueType font at one pixel size, kept by the display

struct DisplayRequest {
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPixel = 32;
  int32_t refreshRate = 60;
  bool backBuffer = true;
};

// Platform start: chooses the display back end and makes the clock and keyboard ready.
// Returns false with a reason when no video device can be had.
bool StartPlatform(std::string* failureReason);
void StopPlatform();

// The desktop's width and height, read from the desktop display mode.
bool DesktopSize(int32_t* width, int32_t* height);

class Display {
 public:
  // Opens the full-screen display (mode choice, window, drawing state, two black presents, the
  // timing test, pointer to the centre, keyboard emptied and its recorder added). On failure
  // returns null and sets *failureReason to the reason of the failure line.
  static std::unique_ptr<Display> OpenFullScreen(const DisplayRequest& request, KeyboardLayer& keyboard,
                                                 Clock& clock, std::string* failureReason);

  // A display drawing into memory with the software renderer: no window, no pacing wait
  // (timer pacing on the given clock). For tests and benchmarks.
  static std::unique_ptr<Display> OpenOffscreen(int32_t width, int32_t height, KeyboardLayer& keyboard,
                                                Clock& clock);

  virtual ~Display() = default;

  virtual int32_t width() const = 0;
  virtual int32_t height() const = 0;

  virtual void SetAlphaBlending() = 0;
  virtual void SetClearColour(int32_t red, int32_t green, int32_t blue) = 0;
  virtual void Clear() = 0;
  virtual void SetDrawColour(int32_t red, int32_t green, int32_t blue) = 0;

  // A font of the face file at the pixel size, or null (none) when it cannot be loaded. Loaded
  // fonts are kept by (path, size) and shared; failures are not kept, so the next load retries.
  virtual std::shared_ptr<Font> LoadFont(const std::string& path, int32_t pixelSize) = 0;
  // Null selects the built-in 8x16 font.
  virtual void SelectFont(std::shared_ptr<Font> font) = 0;
  virtual void DrawString(std::u16string_view text, float x, float y) = 0;

  // Shows the back buffer, paced by the presenting rule.
  virtual void Present() = 0;
  // Before a pass takes its input: waits until the pass can still be ready for its present (see
  // the presenting rule), so that what the pass reads is shown as soon as possible.
  virtual void WaitForFrameStart() = 0;

  virtual const PresentingRule& presentingRule() const = 0;

  // The back buffer as 0x00RRGGBB pixels, row by row (read back for tests).
  virtual std::vector<uint32_t> ReadPixels() = 0;
};

}  // namespace zz
