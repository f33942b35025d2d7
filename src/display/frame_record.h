// The glyphs of a frame drawn on a cleared software surface, recorded instead of drawn until the
// frame is shown. The surface is kept from frame to frame, so a frame that places the same glyphs
// on the same clear as the one the surface holds needs no drawing at all, and a window needs to be
// sent only the rows where the two differ. A title card stands still most of the time: its frames
// then cost the layout of its lines and nothing else, whatever their length or size.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace zz {

class Font;

// Colours compare channel by channel, alpha included.
inline bool SameColour(SDL_Color a, SDL_Color b) {
  return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

// One glyph image of a frame, placed on the surface.
struct GlyphPlacement {
  char16_t character = 0;
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;

  bool operator==(const GlyphPlacement& other) const = default;
};

// One line of text laid out in a font and colour: the glyph images it puts on the screen. Never
// changed once made, so a font can hand the same layout to every frame that draws the same line.
struct LineLayout {
  uint64_t font = 0;  // the font's serial: unlike its address, never that of another font
  SDL_Color colour{0, 0, 0, 0};
  std::vector<GlyphPlacement> glyphs;
  Font* drawer = nullptr;  // held by the record until the next frame opens; not compared

  bool SamePicture(const LineLayout& other) const;
};

// Rows of the surface that differ from what was last shown.
struct ChangedRows {
  bool all = false;
  int32_t top = 0;
  int32_t bottom = 0;  // empty when top == bottom and not all

  bool empty() const { return !all && top >= bottom; }
};

class FrameRecord {
 public:
  // A clear of the surface to the pixel opens a frame: its glyphs are recorded from here on.
  void Open(const SDL_Surface* target, uint32_t clearPixel);
  bool open() const { return open_; }

  // The next line of the frame, in a font held until the next frame opens.
  void Add(const std::shared_ptr<Font>& font, std::shared_ptr<const LineLayout> line);

  // Closes the frame. True when the surface already holds exactly this frame, so nothing needs
  // drawing; otherwise the frame's lines are to be drawn on a fresh clear, and the rows where
  // they differ from the previous frame's count as changed.
  bool CloseUnchanged(const SDL_Surface* target);
  const std::vector<std::shared_ptr<const LineLayout>>& shown() const { return shown_; }

  // Something other than a recorded frame drew on the surface, or may have replaced it: what it
  // holds is unknown, and all of it has changed.
  void Forget();

  // The rows changed since the last call, which starts counting afresh.
  ChangedRows TakeChangedRows();

 private:
  using Lines = std::vector<std::shared_ptr<const LineLayout>>;
  static bool SameLine(const std::shared_ptr<const LineLayout>& a,
                       const std::shared_ptr<const LineLayout>& b);
  void ChangeWhereTheyDiffer(const Lines& before, const Lines& after);
  void Change(const LineLayout& line);

  bool open_ = false;
  const SDL_Surface* openTarget_ = nullptr;
  uint32_t openPixel_ = 0;
  std::vector<std::shared_ptr<Font>> fonts_;
  Lines lines_;

  bool known_ = false;  // the surface holds the shown frame
  const SDL_Surface* shownTarget_ = nullptr;
  int32_t shownWidth_ = 0;
  int32_t shownHeight_ = 0;
  uint32_t shownPixel_ = 0;
  Lines shown_;

  ChangedRows changed_{true, 0, 0};
};

}  // namespace zz
