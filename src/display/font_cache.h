// Loaded fonts kept by face path and pixel size, so that no frame opens a font file or makes a
// glyph image it already has. Bounded: the font used longest ago leaves first (its users keep it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zz {

class Font;

class FontCache {
 public:
  // The card draws with three fonts at once (help and both layers). A kept font holds up to a few
  // MiB of glyphs at the large sizes, while opening one again stays well inside a frame.
  static constexpr std::size_t kCapacity = 8;

  // The kept font, or null when there is none for the key.
  std::shared_ptr<Font> Find(const std::string& path, int32_t pixelSize);
  void Keep(const std::string& path, int32_t pixelSize, std::shared_ptr<Font> font);
  void Clear() { entries_.clear(); }

 private:
  struct Entry {
    std::string path;
    int32_t pixelSize = 0;
    std::shared_ptr<Font> font;
    uint64_t lastUse = 0;
  };

  std::vector<Entry> entries_;
  uint64_t uses_ = 0;
};

}  // namespace zz
