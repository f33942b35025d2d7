// The display drawn with an SDL renderer: into a full-screen window, or into a memory surface.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>

#include "display/builtin_font_image.h"
#include "display/display.h"
#include "display/font.h"
#include "display/font_cache.h"
#include "display/frame_record.h"
#include "display/glyph_runs.h"
#include "display/glyph_texture.h"
#include "display/pending_clear.h"
#include "display/sdl_event_source.h"

namespace zz {

class SdlDisplay final : public Display {
 public:
  SdlDisplay(KeyboardLayer& keyboard, Clock& clock);
  ~SdlDisplay() override;
  SdlDisplay(const SdlDisplay&) = delete;
  SdlDisplay& operator=(const SdlDisplay&) = delete;

  // The steps of opening, in the order they run. Each failing one returns false and sets the
  // reason of the failure line.
  bool CreateFullScreenWindow(const SDL_DisplayMode& mode, std::string* failureReason);
  bool CreateWindowRenderer(std::string* failureReason);
  bool CreateSurfaceRenderer(int32_t width, int32_t height);
  void ClearAndPresentWithoutVerticalBlank();
  void RunTimingTest();
  void StartTimerPacing();
  void CentrePointer();
  void TakeKeyboard();

  // Every SDL event other than keyboard input that the keyboard's queries take.
  void OnPlatformEvent(const SDL_Event& event);

  int32_t width() const override { return width_; }
  int32_t height() const override { return height_; }
  void SetAlphaBlending() override;
  void SetClearColour(int32_t red, int32_t green, int32_t blue) override;
  void Clear() override;
  void SetDrawColour(int32_t red, int32_t green, int32_t blue) override;
  std::shared_ptr<Font> LoadFont(const std::string& path, int32_t pixelSize) override;
  void SelectFont(std::shared_ptr<Font> font) override { font_ = std::move(font); }
  void DrawString(std::u16string_view text, float x, float y) override;
  void Present() override;
  void WaitForFrameStart() override { rule_.WaitForFrameStart(clock_); }
  const PresentingRule& presentingRule() const override { return rule_; }
  std::vector<uint32_t> ReadPixels() override;

 private:
  bool StartRenderer(SDL_Renderer* renderer);
  void SetVerticalSync(bool on);
  void PresentNow();
  void ShowSurface();
  void ClearNow();
  void SettleClear();
  void DrawRecordedFrame();
  void DrawLines(const std::vector<std::shared_ptr<const LineLayout>>& lines, SDL_Surface* target);
  void DrawLine(const LineLayout& line, SDL_Surface* target);
  void ForgetSurface();
  uint32_t GroundPixel(const SDL_Surface* target) const;
  SDL_Surface* DirectTarget();

  KeyboardLayer& keyboard_;
  Clock& clock_;
  PresentingRule rule_;
  SDL_Window* window_ = nullptr;
  SDL_Surface* surface_ = nullptr;
  SDL_Cursor* cursor_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  bool rendererWaitsForBlank_ = false;  // accelerated renderers only: the software one has no blank
  bool software_ = false;               // the software renderer: text is drawn into its surface
  bool verticalSync_ = false;
  int32_t width_ = 0;
  int32_t height_ = 0;
  SDL_Color drawColour_{255, 255, 255, 255};
  SDL_Color clearColour_{0, 0, 0, 255};
  SDL_Color ground_{0, 0, 0, 255};  // what the surface was last cleared to
  std::unique_ptr<SdlEventSource> events_;
  bool keyboardTaken_ = false;
  std::shared_ptr<TextureOwner> textures_ = std::make_shared<TextureOwner>();
  // Drawing into the software renderer's surface: the clear as glyphs reach its rows, the frames
  // recorded until shown, the ink of the line being drawn.
  PendingClear pendingClear_;
  FrameRecord frame_;
  Ink ink_;
  int32_t presentsSinceWhole_ = 0;
  BuiltinFontImage builtinFont_{textures_};
  FontCache fonts_;
  std::shared_ptr<Font> font_;  // null: the built-in font
};

}  // namespace zz
