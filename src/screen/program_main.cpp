#include "screen/program_main.h"

#include <cstdio>
#include <memory>
#include <string>

#include "display/crash_guard.h"
#include "display/display.h"
#include "display/font_faces.h"
#include "display/termination.h"
#include "screen/frame.h"
#include "screen/text_entry.h"
#include "title/command_keys.h"

namespace zz {

const std::array<SplashLine, 6> kSplashLines = {{
    {u"Zizezed v1.0", {255, 255, 255}, 50, 50},
    {u"Live title cards for video mixers - zizezed.example", {180, 180, 180}, 50, 100},
    {u"KISS - Keep It Simple Sweety !", {180, 180, 180}, 50, 130},
    {u"using actual Screensize in 60Hz Fullscreen", {180, 180, 180}, 50, 160},
    {u"Press [CTRL]+H for Help", {180, 180, 180}, 50, 220},
    {u"Press SPACE to Start", {180, 180, 180}, 50, 250},
}};

namespace {

// Long enough to answer a stop request at once, short enough to cost nothing while waiting.
constexpr uint32_t kSplashWaitSliceMs = 100;

int ReportDisplayFailure(const std::string& reason) {
  std::printf("DXERROR err=%s\n", reason.c_str());
  std::fflush(stdout);
  return 1;
}

void ShowSplash(Display& display, const std::shared_ptr<Font>& splashFont) {
  display.SetClearColour(0, 0, 0);
  display.Clear();
  display.Present();
  // The back buffer is not kept across a present here, so the second frame starts from a fresh
  // black clear: the same picture as drawing over the first.
  display.Clear();
  display.SelectFont(splashFont);
  for (const SplashLine& line : kSplashLines) {
    display.SetDrawColour(line.colour.red, line.colour.green, line.colour.blue);
    display.DrawString(line.text, static_cast<float>(line.x), static_cast<float>(line.y));
  }
  display.Present();
}

// Waits for input events instead of spinning; the SPACE hit still ends the wait at once.
bool WaitForSpace(KeyboardLayer& keyboard) {
  while (keyboard.KeyHit(kVkSpace) == 0) {
    if (TerminationRequested()) return false;
    keyboard.WaitForInput(kSplashWaitSliceMs);
  }
  return true;
}

std::array<std::string, 6> ResolveFontFaces() {
  std::array<std::string, 6> files;
  for (std::size_t i = 0; i < files.size(); ++i) files[i] = ResolveFontFace(kFontFacePaths[i]);
  return files;
}

bool EscapeHit(KeyboardLayer& keyboard) {
  return keyboard.KeyHit(kVkEscape) != 0 || TerminationRequested();
}

}  // namespace

bool RunPass(TitleState& state, Display& display, KeyboardLayer& keyboard,
             const std::shared_ptr<Font>& helpFont) {
  display.WaitForFrameStart();
  if (EscapeHit(keyboard)) return false;
  ApplyTextEntryAndMovement(state, keyboard);
  ComposeFrame(state, display, helpFont);
  return true;
}

namespace {

int RunTitle(Display& display, KeyboardLayer& keyboard) {
  TitleState state;
  SetUpTitleState(state, ResolveFontFaces());
  const auto helpFont = display.LoadFont(state.fontFaces[0], state.fontSizes[1]);
  keyboard.AddHandler(&CommandKeyHook, &state, 0);
  while (RunPass(state, display, keyboard, helpFont)) {
  }
  return 0;
}

int RunOnDisplay(KeyboardLayer& keyboard, Clock& clock) {
  DisplayRequest request;
  if (!DesktopSize(&request.width, &request.height)) return ReportDisplayFailure("NODESKTOP");
  std::string reason;
  const auto display = Display::OpenFullScreen(request, keyboard, clock, &reason);
  if (display == nullptr) return ReportDisplayFailure(reason);
  display->SetAlphaBlending();
  const auto splashFont = display->LoadFont(ResolveFontFace(kSplashFontPath), kSplashFontSize);
  ShowSplash(*display, splashFont);
  if (!WaitForSpace(keyboard)) return 0;
  return RunTitle(*display, keyboard);
}

}  // namespace

int ProgramMain() {
  InstallTerminationHandlers();
  InstallCrashGuard();
  std::string reason;
  if (!StartPlatform(&reason)) return ReportDisplayFailure(reason);
  KeyboardLayer keyboard;
  SystemClock clock;
  const int status = RunOnDisplay(keyboard, clock);
  StopPlatform();
  return status;
}

}  // namespace zz
