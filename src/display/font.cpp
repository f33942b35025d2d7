#include "display/font.h"

#include <algorithm>

namespace zz {

namespace {

// How far from its pen box a glyph not yet made is taken to reach, in multiples of the font's
// size: wide enough for the faces in use, so a line beyond it can be skipped unseen.
constexpr int64_t kUnmadeReachInSizes = 2;

}  // namespace

Font::Font(std::unique_ptr<FontFace> face, std::shared_ptr<TextureOwner> owner)
    : face_(std::move(face)),
      owner_(std::move(owner)),
      serial_(++owner_->fontSerials),
      generation_(owner_->generation) {
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
      text, x, y, screen, reach_, [this](char16_t character) { return GlyphFor(character, false); },
      [this, colour](Glyph& glyph, int32_t left, int32_t top) { Blit(glyph, left, top, colour); });
}

void Font::Place(std::u16string_view text, float x, float y, ScreenSize screen, SDL_Color colour,
                 std::vector<GlyphPlacement>& placements) {
  LayOutLine(
      text, x, y, screen, reach_, [this](char16_t character) { return GlyphFor(character, true); },
      [&](Glyph& glyph, int32_t left, int32_t top) {
        placements.push_back(GlyphPlacement{serial_, glyph.character, left, top, glyph.runs.width(),
                                            glyph.runs.height(), colour, this});
      });
}

void Font::DrawPlaced(const GlyphPlacement& placement, SDL_Surface* target, const Ink& ink) {
  const Glyph* const glyph = GlyphFor(placement.character, true);
  if (glyph != nullptr) glyph->runs.Draw(target, placement.left, placement.top, ink);
}

Font::Glyph* Font::GlyphFor(char16_t character, bool intoSurface) {
  const bool common = character >= kFirstDirect && character <= kLastDirect;
  // Other characters are bounded in number: past the bound they are all made again as used.
  if (!common && others_.size() >= kMostOtherGlyphs && others_.count(character) == 0) ForgetOthers();
  Glyph& glyph = common ? direct_[character - kFirstDirect] : others_[character];
  if (!glyph.known || glyph.intoSurface != intoSurface) Make(glyph, character, intoSurface);
  return glyph.present ? &glyph : nullptr;
}

void Font::ForgetOthers() {
  for (auto& [character, glyph] : others_) {
    if (glyph.texture != nullptr && owner_->renderer != nullptr) SDL_DestroyTexture(glyph.texture);
  }
  others_.clear();
}

// A glyph drawn into the surface keeps only its runs; one drawn as a texture keeps its coverage
// to make the texture again after a render reset.
void Font::Make(Glyph& glyph, char16_t character, bool intoSurface) {
  if (glyph.texture != nullptr) SDL_DestroyTexture(glyph.texture);
  glyph = Glyph{};
  glyph.known = true;
  glyph.character = character;
  glyph.intoSurface = intoSurface;
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
  if (intoSurface) {
    glyph.runs = GlyphRuns(bitmap.coverage.data(), bitmap.width, bitmap.height);
  } else {
    glyph.coverage = std::move(bitmap.coverage);
  }
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
