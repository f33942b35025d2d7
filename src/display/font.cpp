#include "display/font.h"

#include <algorithm>
#include <cstring>

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

std::shared_ptr<const LineLayout> Font::Place(std::u16string_view text, float x, float y, ScreenSize screen,
                                              SDL_Color colour) {
  const int64_t left = PixelPosition(x);
  const int64_t top = PixelPosition(y);
  if (const KeptLine* kept = FindKept(text, left, top, screen, colour)) return kept->layout;
  auto layout = std::make_shared<LineLayout>();
  layout->font = serial_;
  layout->colour = colour;
  layout->drawer = this;
  const std::size_t seen = LayOutLine(
      text, x, y, screen, reach_, [this](char16_t character) { return GlyphFor(character, true); },
      [&layout](Glyph& glyph, int32_t glyphLeft, int32_t glyphTop) {
        layout->glyphs.push_back(
            GlyphPlacement{glyph.character, glyphLeft, glyphTop, glyph.runs.width(), glyph.runs.height()});
      });
  if (seen <= kLongestKeptText)
    Keep(KeptLine{left, top, screen, colour, std::u16string(text.substr(0, seen)), seen == text.size(),
                  layout});
  return layout;
}

// The layout depends on the characters the layout looked at and nothing after them: the pen had
// left the screen there. Glyph images never change, so neither does the layout.
const Font::KeptLine* Font::FindKept(std::u16string_view text, int64_t x, int64_t y, ScreenSize screen,
                                     SDL_Color colour) {
  for (KeptLine& kept : keptLines_) {
    if (kept.x != x || kept.y != y || kept.screen.width != screen.width ||
        kept.screen.height != screen.height || !SameColour(kept.colour, colour))
      continue;
    const std::size_t seen = kept.seen.size();
    if (kept.whole ? text.size() != seen : text.size() < seen) continue;
    // Equality only: memcmp, where the string's own comparison orders character by character.
    if (seen > 0 && std::memcmp(text.data(), kept.seen.data(), seen * sizeof(char16_t)) != 0) continue;
    kept.lastUse = ++lineUses_;
    return &kept;
  }
  return nullptr;
}

void Font::Keep(KeptLine line) {
  line.lastUse = ++lineUses_;
  if (keptLines_.size() < kKeptLines) {
    keptLines_.push_back(std::move(line));
    return;
  }
  auto oldest = std::min_element(keptLines_.begin(), keptLines_.end(),
                                 [](const KeptLine& a, const KeptLine& b) { return a.lastUse < b.lastUse; });
  *oldest = std::move(line);
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
