// A loaded TrueType font at one pixel size: its face, and the glyphs made from it on first use,
// each with its own texture (made lazily, so there is no atlas to fill up).
#pragma once

#include <SDL.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "display/font_face.h"
#include "display/frame_record.h"
#include "display/glyph_runs.h"
#include "display/glyph_texture.h"
#include "display/text_layout.h"

namespace zz {

class Font {
 public:
  Font(std::unique_ptr<FontFace> face, std::shared_ptr<TextureOwner> owner);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  // Draws the line with its top-left at (x, y) through the renderer: pen at x, images at
  // (pen + left, y + ascender - top), whole-pixel advances, no kerning.
  void Draw(std::u16string_view text, float x, float y, ScreenSize screen, SDL_Color colour);

  // The same line laid out for drawing into the software renderer's surface: the glyph images
  // that touch the screen. A line laid out lately is handed out again as it was.
  std::shared_ptr<const LineLayout> Place(std::u16string_view text, float x, float y, ScreenSize screen,
                                          SDL_Color colour);
  // Draws a glyph of a layout made by Place into the surface, in the ink prepared for its colour.
  void DrawPlaced(const GlyphPlacement& placement, SDL_Surface* target, const Ink& ink);

 private:
  struct Glyph {
    bool known = false;  // looked up in the face
    char16_t character = 0;
    bool present = false;  // the face has a glyph for the character
    bool textureFailed = false;
    bool intoSurface = false;  // made to be drawn into the software renderer's surface
    GlyphShape shape;
    std::vector<uint8_t> coverage;  // kept to make the texture again after a render reset
    GlyphRuns runs;                 // drawn straight into the software renderer's surface
    SDL_Texture* texture = nullptr;
  };

  // A line laid out lately: what it was laid out from, as far as the layout looked at its text.
  struct KeptLine {
    int64_t x = 0;
    int64_t y = 0;
    ScreenSize screen;
    SDL_Color colour{0, 0, 0, 0};
    std::u16string seen;  // the characters the layout looked at
    bool whole = false;   // all of the text: a longer one would add glyphs
    std::shared_ptr<const LineLayout> layout;
    uint64_t lastUse = 0;
  };
  // The card draws up to 11 lines in one font (the help and both layers); longer lines than the
  // kept text are laid out each time, so that what is kept stays small.
  static constexpr std::size_t kKeptLines = 12;
  static constexpr std::size_t kLongestKeptText = 1024;

  static constexpr char16_t kFirstDirect = 32;
  static constexpr char16_t kLastDirect = 126;
  static constexpr std::size_t kMostOtherGlyphs = 256;

  const KeptLine* FindKept(std::u16string_view text, int64_t x, int64_t y, ScreenSize screen,
                           SDL_Color colour);
  void Keep(KeptLine line);
  Glyph* GlyphFor(char16_t character, bool intoSurface);
  void Make(Glyph& glyph, char16_t character, bool intoSurface);
  void ForgetOthers();
  void Widen(const GlyphShape& shape);
  void Blit(Glyph& glyph, int32_t x, int32_t y, SDL_Color colour);
  void ForgetStaleTextures();
  void DestroyTextures();

  template <typename Action>
  void ForEachGlyph(Action&& action);

  std::unique_ptr<FontFace> face_;
  std::shared_ptr<TextureOwner> owner_;
  uint64_t serial_ = 0;
  uint32_t generation_ = 0;
  LineReach reach_;
  std::array<Glyph, kLastDirect - kFirstDirect + 1> direct_{};
  std::unordered_map<char16_t, Glyph> others_;
  std::vector<KeptLine> keptLines_;
  uint64_t lineUses_ = 0;
};

}  // namespace zz
