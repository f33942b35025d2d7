// A loaded TrueType font at one pixel size: its face, and the glyphs made from it on first use,
// each with its own texture (made lazily, so there is no atlas to fill up).
#pragma once

#include <SDL.h>

#include <array>
#include <memory>
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

  // The same line laid out for drawing into the software renderer's surface: appends a placement
  // in the colour for each glyph image that touches the screen.
  void Place(std::u16string_view text, float x, float y, ScreenSize screen, SDL_Color colour,
             std::vector<GlyphPlacement>& placements);
  // Draws a placement made by Place into the surface, in the ink prepared for its colour.
  void DrawPlaced(const GlyphPlacement& placement, SDL_Surface* target, const Ink& ink);

  uint64_t serial() const { return serial_; }

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

  static constexpr char16_t kFirstDirect = 32;
  static constexpr char16_t kLastDirect = 126;
  static constexpr std::size_t kMostOtherGlyphs = 256;

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
};

}  // namespace zz
