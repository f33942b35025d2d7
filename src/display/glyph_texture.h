// Glyph images as SDL textures: white, with the glyph's coverage as alpha, drawn in the drawing
// colour by colour modulation.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>

namespace zz {

// The renderer that glyph textures belong to, shared by a display and its fonts. The display
// counts a new generation when the renderer has lost its textures, and clears the renderer before
// destroying it (which frees every texture it made).
struct TextureOwner {
  SDL_Renderer* renderer = nullptr;
  uint32_t generation = 0;
  uint64_t fontSerials = 0;  // fonts made so far: each takes the next as its serial
};

// Null (reported on standard error) when the renderer cannot make it.
SDL_Texture* MakeGlyphTexture(SDL_Renderer* renderer, const uint8_t* coverage, int32_t width, int32_t height,
                              SDL_ScaleMode scaling);

// Draws the part `source` of the texture (all of it when null) at (x, y), 1:1, in the colour.
void DrawGlyphTexture(SDL_Renderer* renderer, SDL_Texture* texture, const SDL_Rect* source,
                      const SDL_Rect& target, SDL_Color colour);

}  // namespace zz
