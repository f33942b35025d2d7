#include "display/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

namespace zz {
namespace {

// A glyph bitmap wider or taller than this is treated as having no image: no real glyph at the
// program's sizes comes near it, and a malformed font must not make us allocate gigabytes.
constexpr uint32_t kMaxBitmapSide = 4096;
// Metrics are clamped to this many pixels either way so that a malformed font cannot overflow the
// pen arithmetic of whoever draws with it.
constexpr FT_Pos kMaxMetric = 1 << 16;
// FreeType clamps larger pixel sizes to this itself, so trying them one by one would be wasted.
constexpr int32_t kLargestPixelSize = 0xFFFF;

// No glyph of a real face comes near this many ems across; a mangled face (or its hinting
// program) can stretch an outline over thousands of pixels, and rendering that would freeze the
// frame and take hundreds of megabytes. Such a glyph keeps its advance but draws nothing.
constexpr FT_Pos kLargestGlyphEms = 8;

using Library = std::shared_ptr<FT_LibraryRec_>;

// The process's one FreeType library, made at the first load and retried at the next load if
// that failed. Every open face shares ownership of it, so the library outlives each face whatever
// order the exit handlers and static destructors run in, and the last owner frees it at exit.
// Fonts are only ever loaded on the main thread, so no lock guards it.
Library& ProcessLibrary() {
  static Library library;
  return library;
}

Library AcquireLibrary() {
  Library& library = ProcessLibrary();
  if (!library) {
    FT_Library raw = nullptr;
    if (FT_Init_FreeType(&raw) != 0) return nullptr;
    library.reset(raw, FT_Done_FreeType);
  }
  return library;
}

// FreeType opens whatever it is given with open() and mmap(); a FIFO would block it and a
// directory is no font, so only regular files go to it.
bool IsRegularFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

bool OutlineFits(const FT_Outline& outline, int32_t pixelSize) {
  FT_BBox box;
  FT_Outline_Get_CBox(&outline, &box);
  const FT_Pos largest = kLargestGlyphEms * pixelSize * 64;  // 26.6 fixed point
  // Differences as unsigned: corners far apart must not overflow.
  const auto span = [](FT_Pos low, FT_Pos high) {
    return static_cast<uint64_t>(high) - static_cast<uint64_t>(low);
  };
  return box.xMax >= box.xMin && box.yMax >= box.yMin &&
         span(box.xMin, box.xMax) <= static_cast<uint64_t>(largest) &&
         span(box.yMin, box.yMax) <= static_cast<uint64_t>(largest);
}

int32_t ClampMetric(FT_Pos pixels) {
  return static_cast<int32_t>(std::clamp(pixels, -kMaxMetric, kMaxMetric));
}

// The size actually set: the requested one or the largest smaller one the face accepts; 0 if none.
int32_t SetLargestAcceptedSize(FT_Face face, int32_t pixelSize) {
  for (int32_t size = std::min(pixelSize, kLargestPixelSize); size >= 1; --size) {
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size)) == 0) return size;
  }
  return 0;
}

// Bits per pixel of the pixel modes read as coverage; 0 for those that are not (LCD renderings
// are never asked for, and anything unknown is better left without an image than misread).
uint32_t BitsPerPixel(unsigned char pixelMode) {
  switch (pixelMode) {
    case FT_PIXEL_MODE_MONO:
      return 1;
    case FT_PIXEL_MODE_GRAY2:
      return 2;
    case FT_PIXEL_MODE_GRAY4:
      return 4;
    case FT_PIXEL_MODE_GRAY:
      return 8;
    case FT_PIXEL_MODE_BGRA:
      return 32;
    default:
      return 0;
  }
}

// Pixel x of a packed row of 1, 2, 4 or 8 bits per pixel (leftmost pixel in the high bits),
// spread over 0..255 so that one-bit bitmaps give 0 or 255.
uint8_t PackedCoverage(const uint8_t* row, uint32_t x, uint32_t bits) {
  const uint32_t perByte = 8 / bits;
  const uint32_t mask = (1u << bits) - 1;
  const uint32_t shift = 8 - bits * (x % perByte + 1);
  return static_cast<uint8_t>(((row[x / perByte] >> shift) & mask) * 255 / mask);
}

// An 8-bit grey bitmap may declare fewer levels than 256; stretch them to full coverage.
uint8_t GreyLevels(uint8_t value, unsigned short numGrays) {
  if (numGrays < 2 || numGrays == 256) return value;
  return static_cast<uint8_t>(std::min<uint32_t>(255, value * 255u / (numGrays - 1u)));
}

// Colour bitmaps hold premultiplied BGRA: the alpha byte is the coverage, the colour is dropped
// since a glyph takes the drawing colour.
uint8_t PixelCoverage(const FT_Bitmap& bitmap, const uint8_t* row, uint32_t x, uint32_t bits) {
  if (bits == 32) return row[x * 4 + 3];
  if (bits == 8) return GreyLevels(row[x], bitmap.num_grays);
  return PackedCoverage(row, x, bits);
}

uint64_t Stride(const FT_Bitmap& bitmap) {
  const int64_t pitch = bitmap.pitch;
  return static_cast<uint64_t>(pitch < 0 ? -pitch : pitch);
}

// The first byte of row y counted from the top; a negative pitch means the rows are stored from
// the bottom up, with the buffer pointing at the bottom row.
const uint8_t* RowFromTop(const FT_Bitmap& bitmap, uint32_t y) {
  const uint32_t storedRow = bitmap.pitch < 0 ? bitmap.rows - 1 - y : y;
  return static_cast<const uint8_t*>(bitmap.buffer) + Stride(bitmap) * storedRow;
}

bool HasReadableImage(const FT_Bitmap& bitmap, uint32_t bits) {
  if (bits == 0 || bitmap.buffer == nullptr || bitmap.width == 0 || bitmap.rows == 0) return false;
  if (bitmap.width > kMaxBitmapSide || bitmap.rows > kMaxBitmapSide) return false;
  const uint64_t rowBytes = (static_cast<uint64_t>(bitmap.width) * bits + 7) / 8;
  return Stride(bitmap) >= rowBytes;
}

void CopyCoverage(const FT_Bitmap& bitmap, GlyphBitmap& glyph) {
  const uint32_t bits = BitsPerPixel(bitmap.pixel_mode);
  if (!HasReadableImage(bitmap, bits)) return;
  glyph.width = static_cast<int32_t>(bitmap.width);
  glyph.height = static_cast<int32_t>(bitmap.rows);
  glyph.coverage.resize(static_cast<std::size_t>(bitmap.width) * bitmap.rows);
  uint8_t* out = glyph.coverage.data();
  for (uint32_t y = 0; y < bitmap.rows; ++y) {
    const uint8_t* row = RowFromTop(bitmap, y);
    for (uint32_t x = 0; x < bitmap.width; ++x) *out++ = PixelCoverage(bitmap, row, x, bits);
  }
}

}  // namespace

struct FontFace::Impl {
  Impl(Library library, FT_Face face) : library(std::move(library)), face(face) {}
  ~Impl() { FT_Done_Face(face); }
  Impl(const Impl&) = delete;
  Impl& operator=(const Impl&) = delete;

  Library library;  // released after the face is closed
  FT_Face face;
};

FontFace::FontFace(std::unique_ptr<Impl> impl, int32_t ascender, int32_t pixelSize)
    : impl_(std::move(impl)), ascender_(ascender), pixelSize_(pixelSize) {}

FontFace::~FontFace() = default;

std::unique_ptr<FontFace> FontFace::Open(const std::string& path, int32_t pixelSize) {
  if (path.empty() || pixelSize <= 0 || !IsRegularFile(path)) return nullptr;
  Library library = AcquireLibrary();
  if (!library) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(library.get(), path.c_str(), 0, &face) != 0) return nullptr;
  auto impl = std::make_unique<Impl>(std::move(library), face);
  // Characters are looked up by Unicode: a face without a Unicode map would draw nothing (or the
  // wrong glyphs), so it is no usable font and the built-in font stands in.
  if (face->charmap == nullptr || face->charmap->encoding != FT_ENCODING_UNICODE) return nullptr;
  const int32_t size = SetLargestAcceptedSize(face, pixelSize);
  if (size == 0 || face->size == nullptr) return nullptr;
  const int32_t ascender = ClampMetric(face->size->metrics.ascender >> 6);
  return std::unique_ptr<FontFace>(new FontFace(std::move(impl), ascender, size));
}

uint32_t FontFace::GlyphIndex(uint32_t character) const {
  return FT_Get_Char_Index(impl_->face, character);
}

GlyphBitmap FontFace::RenderGlyph(uint32_t glyphIndex) const {
  GlyphBitmap glyph;
  if (FT_Load_Glyph(impl_->face, glyphIndex, FT_LOAD_DEFAULT) != 0) return glyph;
  const FT_GlyphSlot slot = impl_->face->glyph;
  glyph.loaded = true;
  glyph.advance = ClampMetric(slot->advance.x >> 6);
  if (slot->format == FT_GLYPH_FORMAT_OUTLINE && !OutlineFits(slot->outline, pixelSize_)) return glyph;
  if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
    return glyph;
  glyph.left = ClampMetric(slot->bitmap_left);
  glyph.top = ClampMetric(slot->bitmap_top);
  if (slot->format == FT_GLYPH_FORMAT_BITMAP) CopyCoverage(slot->bitmap, glyph);
  return glyph;
}

}  // namespace zz
