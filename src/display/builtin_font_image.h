// The built-in 8x16 font on a renderer: its 96 glyphs in one texture, made on first use and
// again after a render reset, drawn unfiltered.
#pragma once

#include <SDL.h>

#include <memory>
#include <string_view>

#include "display/glyph_texture.h"
#include "display/text_layout.h"

namespace zz {

class BuiltinFontImage {
 public:
  explicit BuiltinFontImage(std::shared_ptr<const TextureOwner> owner);
  ~BuiltinFontImage();
  BuiltinFontImage(const BuiltinFontImage&) = delete;
  BuiltinFontImage& operator=(const BuiltinFontImage&) = delete;

  // Draws the line with its top-left at (x, y); characters outside 32..127 are skipped without
  // moving the pen.
  void Draw(std::u16string_view text, float x, float y, ScreenSize screen, SDL_Color colour);

 private:
  struct Glyph {
    GlyphShape shape;
    int32_t column = 0;  // of the glyph in the texture
  };

  bool TextureReady();

  std::shared_ptr<const TextureOwner> owner_;
  uint32_t generation_ = 0;
  SDL_Texture* texture_ = nullptr;
  bool textureFailed_ = false;
};

}  // namespace zz
