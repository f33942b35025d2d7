#include "e2e/png_file.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace zz::e2e {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

bool WritePng(const ScreenImage& screen, const std::string& path) {
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png == nullptr ? nullptr : png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  // libpng reports errors by longjmp; nothing with a destructor is created below this point.
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, static_cast<png_uint_32>(screen.width()), static_cast<png_uint_32>(screen.height()),
               8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  static_assert(sizeof(Rgb) == 3, "rows are written straight from the pixels");
  const auto* pixels = reinterpret_cast<png_const_bytep>(screen.pixels().data());
  for (int y = 0; y < screen.height(); ++y) {
    png_write_row(png, pixels + static_cast<std::size_t>(y) * screen.width() * sizeof(Rgb));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace zz::e2e
