#include "display/builtin_font_image.h"

#include <array>
#include <vector>

#include "display/builtin_font.h"

namespace zz {

namespace {

constexpr int32_t kImageWidth = kBuiltinGlyphWidth * kBuiltinGlyphCount;
constexpr LineReach kReach{0, 0, kBuiltinGlyphHeight};

// The glyphs side by side in one row, as coverage 255 where the pattern is set and 0 elsewhere.
std::vector<uint8_t> BuiltinCoverage() {
  std::vector<uint8_t> coverage(static_cast<std::size_t>(kImageWidth) * kBuiltinGlyphHeight);
  for (int32_t glyph = 0; glyph < kBuiltinGlyphCount; ++glyph) {
    for (int32_t row = 0; row < kBuiltinGlyphHeight; ++row) {
      const uint8_t bits = kBuiltinFont[static_cast<std::size_t>(glyph)][static_cast<std::size_t>(row)];
      for (int32_t column = 0; column < kBuiltinGlyphWidth; ++column) {
        const bool set = (bits & (0x80u >> column)) != 0;
        coverage[static_cast<std::size_t>(row * kImageWidth + glyph * kBuiltinGlyphWidth + column)] =
            set ? 255 : 0;
      }
    }
  }
  return coverage;
}

}  // namespace

BuiltinFontImage::BuiltinFontImage(std::shared_ptr<const TextureOwner> owner)
    : owner_(std::move(owner)), generation_(owner_->generation) {}

BuiltinFontImage::~BuiltinFontImage() {
  if (owner_->renderer != nullptr && texture_ != nullptr) SDL_DestroyTexture(texture_);
}

void BuiltinFontImage::Draw(std::u16string_view text, float x, float y, ScreenSize screen, SDL_Color colour) {
  if (!TextureReady()) return;
  static const std::array<Glyph, kBuiltinGlyphCount> glyphs = [] {
    std::array<Glyph, kBuiltinGlyphCount> all{};
    for (int32_t i = 0; i < kBuiltinGlyphCount; ++i) {
      all[static_cast<std::size_t>(i)] = {{0, 0, kBuiltinGlyphWidth, kBuiltinGlyphHeight, kBuiltinGlyphWidth},
                                          i * kBuiltinGlyphWidth};
    }
    return all;
  }();
  const auto glyphFor = [](char16_t character) -> const Glyph* {
    if (character < kBuiltinFirstCharacter || character > kBuiltinLastCharacter) return nullptr;
    return &glyphs[static_cast<std::size_t>(character - kBuiltinFirstCharacter)];
  };
  const auto blit = [this, colour](const Glyph& glyph, int32_t left, int32_t top) {
    const SDL_Rect source{glyph.column, 0, kBuiltinGlyphWidth, kBuiltinGlyphHeight};
    DrawGlyphTexture(owner_->renderer, texture_, &source,
                     SDL_Rect{left, top, kBuiltinGlyphWidth, kBuiltinGlyphHeight}, colour);
  };
  LayOutLine(text, x, y, screen, kReach, glyphFor, blit);
}

bool BuiltinFontImage::TextureReady() {
  if (owner_->renderer == nullptr) return false;
  if (generation_ != owner_->generation) {
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    texture_ = nullptr;
    textureFailed_ = false;
    generation_ = owner_->generation;
  }
  if (texture_ == nullptr && !textureFailed_) {
    texture_ = MakeGlyphTexture(owner_->renderer, BuiltinCoverage().data(), kImageWidth, kBuiltinGlyphHeight,
                                SDL_ScaleModeNearest);
    textureFailed_ = texture_ == nullptr;
  }
  return texture_ != nullptr;
}

}  // namespace zz
