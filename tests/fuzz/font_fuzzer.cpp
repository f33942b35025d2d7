// Arbitrary bytes as a face file: loaded through the display's font loading and drawn with, on a
// small memory surface. Whatever the bytes, loading either fails (the built-in font draws) or
// gives a font that draws; nothing may crash, leak or hit undefined behaviour.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "display/display.h"

namespace {

constexpr int32_t kSurfaceWidth = 96;
constexpr int32_t kSurfaceHeight = 48;
constexpr int32_t kPixelSize = 24;

// Letters, digits, accents, Greek, Cyrillic, punctuation the fonts map specially, a CJK
// character, private use, an unpaired surrogate and the last UTF-16 unit.
constexpr char16_t kText[] = {u' ',   u'A',   u'g',   u'9',   u'!',   u'~',   0x00E9, 0x00DF, 0x03A9,
                              0x0416, 0x2013, 0x20AC, 0x4E2D, 0xE000, 0xD800, 0xFFFD, 0xFFFF, 0};

class StillClock final : public zz::Clock {
 public:
  uint32_t Milliseconds() override { return 0; }
  void Sleep(uint32_t /*milliseconds*/) override {}
};

// The input lives in a memory file reached through its /proc path, so FreeType opens it the way
// it opens a font on disk, without touching the disk.
class MemoryFile {
 public:
  MemoryFile() : descriptor_(memfd_create("font", 0)) {
    if (descriptor_ < 0) {
      std::perror("memfd_create");
      std::abort();
    }
    path_ = "/proc/self/fd/" + std::to_string(descriptor_);
  }
  void Fill(const uint8_t* data, std::size_t size) {
    if (ftruncate(descriptor_, 0) != 0) std::abort();
    std::size_t written = 0;
    while (written < size) {
      const ssize_t n = pwrite(descriptor_, data + written, size - written, static_cast<off_t>(written));
      if (n <= 0) std::abort();
      written += static_cast<std::size_t>(n);
    }
  }
  const std::string& path() const { return path_; }

 private:
  int descriptor_;
  std::string path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static MemoryFile file;
  static StillClock clock;
  file.Fill(data, size);
  zz::KeyboardLayer keyboard;
  // A fresh display each time: its font cache would otherwise hand back the previous input's font.
  auto display = zz::Display::OpenOffscreen(kSurfaceWidth, kSurfaceHeight, keyboard, clock);
  if (display == nullptr) std::abort();
  display->SetAlphaBlending();
  display->SetDrawColour(255, 255, 255);
  const auto font = display->LoadFont(file.path(), kPixelSize);
  display->SelectFont(font);
  display->DrawString(std::u16string_view(kText), 2.0f, 2.0f);
  display->DrawString(std::u16string_view(kText), -30.0f, 30.0f);
  display->Present();
  return 0;
}
