#include "display/glyph_texture.h"

#include <vector>

#include "display/sdl_failure.h"

namespace zz {

namespace {

// SDL's software renderer blends ARGB8888 sources under white modulation through an approximate
// path (edges up to 3 below exact rounding). ABGR8888 sources go through the path that stays
// within 1 of exact rounding for every colour, and full coverage gives exactly the colour.
constexpr uint32_t kGlyphFormat = SDL_PIXELFORMAT_ABGR8888;
constexpr uint32_t kWhite = 0x00FFFFFF;

}  // namespace

SDL_Texture* MakeGlyphTexture(SDL_Renderer* renderer, const uint8_t* coverage, int32_t width, int32_t height,
                              SDL_ScaleMode scaling) {
  std::vector<uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  for (std::size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = static_cast<uint32_t>(coverage[i]) << 24 | kWhite;
  SDL_Texture* texture = SDL_CreateTexture(renderer, kGlyphFormat, SDL_TEXTUREACCESS_STATIC, width, height);
  if (texture == nullptr) {
    ReportSdlFailure("cannot make a glyph image");
    return nullptr;
  }
  if (SDL_UpdateTexture(texture, nullptr, pixels.data(), width * 4) != 0 ||
      SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND) != 0) {
    ReportSdlFailure("cannot fill a glyph image");
    SDL_DestroyTexture(texture);
    return nullptr;
  }
  SDL_SetTextureScaleMode(texture, scaling);
  return texture;
}

void DrawGlyphTexture(SDL_Renderer* renderer, SDL_Texture* texture, const SDL_Rect* source,
                      const SDL_Rect& target, SDL_Color colour) {
  SDL_SetTextureColorMod(texture, colour.r, colour.g, colour.b);
  SDL_RenderCopy(renderer, texture, source, &target);
}

}  // namespace zz
