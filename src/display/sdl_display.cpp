#include "display/sdl_display.h"

#include <algorithm>

#include "display/crash_guard.h"
#include "display/glyph_runs.h"
#include "display/sdl_failure.h"

namespace zz {

namespace {

SDL_Color Clamped(int32_t red, int32_t green, int32_t blue) {
  const auto component = [](int32_t value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); };
  return SDL_Color{component(red), component(green), component(blue), 255};
}

// The crash guard's last act: leaving full screen gives the desktop its own mode back, which the
// display server would otherwise keep after the process is gone.
void LeaveFullScreen(void* window) {
  SDL_SetWindowFullscreen(static_cast<SDL_Window*>(window), 0);
}

}  // namespace

SdlDisplay::SdlDisplay(KeyboardLayer& keyboard, Clock& clock) : keyboard_(keyboard), clock_(clock) {}

SdlDisplay::~SdlDisplay() {
  if (window_ != nullptr) ClearCrashLastAct();
  if (keyboardTaken_) {
    keyboard_.RemoveRecorder();
    keyboard_.Empty();
    keyboard_.SetEventSource(nullptr);
  }
  // Fonts still held elsewhere must not touch the textures the renderer frees with itself.
  textures_->renderer = nullptr;
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);  // gives the desktop its own mode back
  if (cursor_ != nullptr) SDL_FreeCursor(cursor_);
  if (surface_ != nullptr) SDL_FreeSurface(surface_);
}

bool SdlDisplay::CreateFullScreenWindow(const SDL_DisplayMode& mode, std::string* failureReason) {
  // Created at the mode's (the desktop's) size at (0, 0): without a window manager nothing
  // resizes the window for us.
  window_ = SDL_CreateWindow("", 0, 0, mode.w, mode.h, SDL_WINDOW_BORDERLESS);
  if (window_ == nullptr) {
    ReportSdlFailure("cannot create the window");
    *failureReason = "NOWINDOW";
    return false;
  }
  SDL_DisplayMode chosen = mode;
  if (SDL_SetWindowDisplayMode(window_, &chosen) != 0) {
    ReportSdlFailure("cannot set the display mode");
    *failureReason = "WRONGMODE";
    return false;
  }
  // From here on the screen may be in the window's mode: a crash must leave it first.
  SetCrashLastAct(&LeaveFullScreen, window_);
  if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN) != 0) {
    ReportSdlFailure("cannot take the full screen");
    *failureReason = "NOEXCLUSIVEMODE";
    return false;
  }
  cursor_ = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
  if (cursor_ == nullptr) {
    ReportSdlFailure("cannot make the arrow pointer");
  } else {
    SDL_SetCursor(cursor_);
  }
  return true;
}

bool SdlDisplay::CreateWindowRenderer(std::string* failureReason) {
  // Vertical sync starts off: the first presents must not wait for the blank.
  if (!StartRenderer(SDL_CreateRenderer(window_, -1, 0))) {
    *failureReason = "NORENDERER";
    return false;
  }
  SDL_RendererInfo info{};
  const bool known = SDL_GetRendererInfo(renderer_, &info) == 0;
  software_ = known && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
  rendererWaitsForBlank_ = known && !software_;
  return true;
}

bool SdlDisplay::CreateSurfaceRenderer(int32_t width, int32_t height) {
  surface_ = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
  if (surface_ == nullptr) {
    ReportSdlFailure("cannot create the drawing surface");
    return false;
  }
  software_ = true;
  return StartRenderer(SDL_CreateSoftwareRenderer(surface_));
}

bool SdlDisplay::StartRenderer(SDL_Renderer* renderer) {
  if (renderer == nullptr) {
    ReportSdlFailure("cannot create the renderer");
    return false;
  }
  renderer_ = renderer;
  textures_->renderer = renderer;
  if (SDL_GetRendererOutputSize(renderer_, &width_, &height_) != 0) {
    ReportSdlFailure("cannot read the drawing size");
    return false;
  }
  return true;
}

void SdlDisplay::ClearAndPresentWithoutVerticalBlank() {
  SetVerticalSync(false);
  Clear();
  PresentNow();
}

void SdlDisplay::RunTimingTest() {
  rule_.RunTimingTest(clock_, [this] {
    SetVerticalSync(true);
    Clear();
    PresentNow();
  });
}

void SdlDisplay::StartTimerPacing() {
  rule_.SetMode(PacingMode::timer);
  rule_.SetTarget(clock_.Milliseconds());
}

void SdlDisplay::CentrePointer() {
  SDL_WarpMouseInWindow(window_, width_ / 2, height_ / 2);
}

void SdlDisplay::TakeKeyboard() {
  events_ = std::make_unique<SdlEventSource>([this](const SDL_Event& event) { OnPlatformEvent(event); });
  keyboard_.SetEventSource(events_.get());
  events_->TakePending(keyboard_);
  keyboard_.Empty();
  keyboard_.AddRecorder();
  keyboardTaken_ = true;
}

void SdlDisplay::OnPlatformEvent(const SDL_Event& event) {
  // The renderer's textures are lost: every glyph image is made again when next drawn.
  if (event.type == SDL_RENDER_TARGETS_RESET || event.type == SDL_RENDER_DEVICE_RESET) {
    ++textures_->generation;
    ForgetSurface();
  }
  // The window's surface may have been made anew (even at the same address), or the screen may
  // have lost what the window showed (exposed again): nothing is known to be there any more.
  if (event.type == SDL_WINDOWEVENT && event.window.event != SDL_WINDOWEVENT_FOCUS_GAINED &&
      event.window.event != SDL_WINDOWEVENT_FOCUS_LOST)
    ForgetSurface();
}

void SdlDisplay::ForgetSurface() {
  pendingClear_.Forget();
  frame_.Forget();
}

void SdlDisplay::SetAlphaBlending() {
  // Glyph images always blend by their alpha; this covers everything else drawn.
  if (SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_BLEND) != 0)
    ReportSdlFailure("cannot set blending");
}

void SdlDisplay::SetClearColour(int32_t red, int32_t green, int32_t blue) {
  clearColour_ = Clamped(red, green, blue);
}

void SdlDisplay::Clear() {
  SDL_Surface* const target = DirectTarget();
  if (target == nullptr) {
    ClearNow();
    return;
  }
  // What the renderer has queued lands first; the glyphs that follow are recorded.
  SDL_RenderFlush(renderer_);
  ground_ = clearColour_;
  frame_.Open(target, GroundPixel(target));
}

uint32_t SdlDisplay::GroundPixel(const SDL_Surface* target) const {
  return SDL_MapRGBA(target->format, ground_.r, ground_.g, ground_.b, 255);
}

void SdlDisplay::ClearNow() {
  ForgetSurface();
  ground_ = clearColour_;
  SDL_SetRenderDrawColor(renderer_, clearColour_.r, clearColour_.g, clearColour_.b, 255);
  if (SDL_RenderClear(renderer_) != 0) ReportSdlFailure("cannot clear");
}

// Draws the frame recorded since the clear, unless the surface holds it already. Whatever is
// drawn next lands on top of it.
void SdlDisplay::DrawRecordedFrame() {
  if (!frame_.open()) return;
  SDL_Surface* const target = DirectTarget();
  if (target == nullptr) {  // no longer drawable: the renderer clears, and the glyphs are lost
    ClearNow();
    return;
  }
  if (frame_.CloseUnchanged(target)) return;
  pendingClear_.Start(target, GroundPixel(target));
  DrawLines(frame_.shown(), target);
}

void SdlDisplay::DrawLines(const std::vector<std::shared_ptr<const LineLayout>>& lines, SDL_Surface* target) {
  for (const auto& line : lines) DrawLine(*line, target);
}

void SdlDisplay::DrawLine(const LineLayout& line, SDL_Surface* target) {
  ink_.Prepare(*target->format, line.colour, ground_);
  for (const GlyphPlacement& glyph : line.glyphs) {
    pendingClear_.Settle(target, glyph.top, int64_t{glyph.top} + glyph.height, glyph.left,
                         int64_t{glyph.left} + glyph.width);
    line.drawer->DrawPlaced(glyph, target, ink_);
  }
}

// Fills the rows a clear has left pending, before anything but our own glyphs touches the
// surface. Should the surface no longer be drawable, the renderer clears it.
void SdlDisplay::SettleClear() {
  DrawRecordedFrame();
  if (!pendingClear_.pending()) return;
  SDL_Surface* const target = DirectTarget();
  if (target != nullptr) {
    pendingClear_.SettleAll(target);
    return;
  }
  ClearNow();
}

void SdlDisplay::SetDrawColour(int32_t red, int32_t green, int32_t blue) {
  drawColour_ = Clamped(red, green, blue);
}

std::shared_ptr<Font> SdlDisplay::LoadFont(const std::string& path, int32_t pixelSize) {
  if (auto kept = fonts_.Find(path, pixelSize)) return kept;
  auto face = FontFace::Open(path, pixelSize);
  if (face == nullptr) return nullptr;  // not kept: the next load tries the file again
  auto font = std::make_shared<Font>(std::move(face), textures_);
  fonts_.Keep(path, pixelSize, font);
  return font;
}

void SdlDisplay::DrawString(std::u16string_view text, float x, float y) {
  const ScreenSize screen{width_, height_};
  SDL_Surface* const target = DirectTarget();
  if (font_ != nullptr && target != nullptr) {
    auto line = font_->Place(text, x, y, screen, drawColour_);
    if (frame_.open()) {
      frame_.Add(font_, std::move(line));
      return;
    }
    // On top of a frame already drawn: drawn at once, and the surface is no longer a frame we
    // know.
    SettleClear();
    frame_.Forget();
    DrawLine(*line, target);
    return;
  }
  SettleClear();
  ForgetSurface();  // the renderer draws on rows we do not follow
  if (font_ != nullptr) {
    font_->Draw(text, x, y, screen, drawColour_);
  } else {
    builtinFont_.Draw(text, x, y, screen, drawColour_);
  }
}

// Blending the glyphs into the software renderer's surface ourselves touches only their inked
// pixels, once; SDL's copy of a colour-modulated texture costs several times more per pixel,
// which at 1080p is a third of the frame. A window's surface is asked for afresh each time, as a
// resize replaces it.
SDL_Surface* SdlDisplay::DirectTarget() {
  if (!software_) return nullptr;
  SDL_Surface* target = surface_ != nullptr ? surface_ : SDL_GetWindowSurface(window_);
  return GlyphRuns::CanDrawInto(target) ? target : nullptr;
}

void SdlDisplay::Present() {
  SettleClear();  // part of the pass's work, before its wait
  SetVerticalSync(rule_.WaitForTurn(clock_));
  PresentNow();
}

void SdlDisplay::PresentNow() {
  SettleClear();
  ShowSurface();
  if (events_ != nullptr) events_->PumpOnNextQuery();
}

// A window drawn by the software renderer is its surface: only the rows that changed are sent to
// the screen, none when the frame stands still. Once a second the whole surface is sent anyway,
// so that the screen mends itself should it ever lose the picture without telling us.
void SdlDisplay::ShowSurface() {
  const ChangedRows changed = frame_.TakeChangedRows();
  if (window_ == nullptr || DirectTarget() == nullptr || changed.all ||
      ++presentsSinceWhole_ >= PresentingRule::kRate) {
    presentsSinceWhole_ = 0;
    SDL_RenderPresent(renderer_);
    return;
  }
  if (changed.empty()) return;
  SDL_RenderFlush(renderer_);
  const SDL_Rect rows{0, changed.top, width_, changed.bottom - changed.top};
  if (SDL_UpdateWindowSurfaceRects(window_, &rows, 1) != 0) {
    ReportSdlFailure("cannot show the changed rows");
    SDL_RenderPresent(renderer_);
  }
}

void SdlDisplay::SetVerticalSync(bool on) {
  // The software renderer has no vertical blank; SDL would only pretend one with a timer.
  if (!rendererWaitsForBlank_ || on == verticalSync_) return;
  if (SDL_RenderSetVSync(renderer_, on ? 1 : 0) != 0) {
    ReportSdlFailure("cannot switch vertical sync");
    rendererWaitsForBlank_ = false;
    return;
  }
  verticalSync_ = on;
}

std::vector<uint32_t> SdlDisplay::ReadPixels() {
  SettleClear();
  SDL_RenderFlush(renderer_);
  std::vector<uint32_t> pixels(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
  if (SDL_RenderReadPixels(renderer_, nullptr, SDL_PIXELFORMAT_RGB888, pixels.data(), width_ * 4) != 0) {
    ReportSdlFailure("cannot read the pixels back");
    return {};
  }
  for (uint32_t& pixel : pixels) pixel &= 0x00FFFFFF;
  return pixels;
}

}  // namespace zz
