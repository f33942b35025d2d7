#include "display/font.h"

#include <algorithm>

namespace zz {

namespace {

// How far from its pen box a glyph not yet made is taken to reach, in multiples of the font's
// size: wide enough for the faces in use, so a line beyond it can be skipped unseen.
constexpr int64_t kUnmadeReachInSizes = 2;

}  // namespace

Font::Font(std::unique_ptr<FontFace> face, std::shared_ptr<const TextureOwner> owner)
    : face_(std::move(face)), owner_(std::move(owner)), generation_(owner_->generation) {
  const int64_t margin =
      kUnmadeReachInSizes * std::max({int64_t{1}, int64_t{face_->pixelSize()}, int64_t{face_->ascender()}});
  reach_ = LineReach{-margin, -margin, face_->ascender() + margin};
}

Font::~Font() {
  // Once the renderer is gone it has freed the textures itself.
  if (owner_->renderer != nullptr) DestroyTextures();
}

void Font::Draw(std::u16string_view text, float x, float y, ScreenSize screen, SDL_Color colour) {
  if (owner_->renderer == nullptr) return;
  ForgetStaleTextures();
  LayOutLine(
      text, x, y, screen, reach_, [this](char16_t character) { return GlyphFor(character); },
      [this, colour](Glyph& glyph, int32_t left, int32_t top) { Blit(glyph, left, top, colour); });
}

Font::Glyph* Font::GlyphFor(char16_t character) {
  Glyph& glyph = character >= kFirstDirect && character <= kLastDirect ? direct_[character - kFirstDirect]
                                                                       : others_[character];
  if (!glyph.known) Make(glyph, character);
  return glyph.present ? &glyph : nullptr;
}

void Font::Make(Glyph& glyph, char16_t character) {
  glyph.known = true;
  const uint32_t index = face_->GlyphIndex(character);
  if (index == 0) return;
  glyph.present = true;
  GlyphBitmap bitmap = face_->RenderGlyph(index);
  if (!bitmap.loaded) return;  // no image and no advance
  glyph.shape.advance = bitmap.advance;
  const bool image = bitmap.width > 0 && bitmap.height > 0 &&
                     bitmap.coverage.size() == static_cast<std::size_t>(bitmap.width) * bitmap.height;
  if (!image) return;
  glyph.shape.left = bitmap.left;
  glyph.shape.top = face_->ascender() - bitmap.top;
  glyph.shape.width = bitmap.width;
  glyph.shape.height = bitmap.height;
  glyph.coverage = std::move(bitmap.coverage);
  Widen(glyph.shape);
}

void Font::Widen(const GlyphShape& shape) {
  reach_.left = std::min<int64_t>(reach_.left, shape.left);
  reach_.top = std::min<int64_t>(reach_.top, shape.top);
  reach_.bottom = std::max<int64_t>(reach_.bottom, int64_t{shape.top} + shape.height);
}

void Font::Blit(Glyph& glyph, int32_t x, int32_t y, SDL_Color colour) {
  const GlyphShape& shape = glyph.shape;
  if (glyph.texture == nullptr) {
    if (glyph.textureFailed) return;  // reported once; tried again after a render reset
    glyph.texture = MakeGlyphTexture(owner_->renderer, glyph.coverage.data(), shape.width, shape.height,
                                     SDL_ScaleModeLinear);
    glyph.textureFailed = glyph.texture == nullptr;
    if (glyph.textureFailed) return;
  }
  DrawGlyphTexture(owner_->renderer, glyph.texture, nullptr, SDL_Rect{x, y, shape.width, shape.height},
                   colour);
}

void Font::ForgetStaleTextures() {
  if (generation_ == owner_->generation) return;
  DestroyTextures();
  generation_ = owner_->generation;
}

template <typename Action>
void Font::ForEachGlyph(Action&& action) {
  for (Glyph& glyph : direct_) action(glyph);
  for (auto& [character, glyph] : others_) action(glyph);
}

void Font::DestroyTextures() {
  ForEachGlyph([](Glyph& glyph) {
    if (glyph.texture != nullptr) SDL_DestroyTexture(glyph.texture);
    glyph.texture = nullptr;
    glyph.textureFailed = false;
  });
}

}  // namespace zz
