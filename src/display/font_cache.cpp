#include "display/font_cache.h"

#include <algorithm>

namespace zz {

std::shared_ptr<Font> FontCache::Find(const std::string& path, int32_t pixelSize) {
  for (Entry& entry : entries_) {
    if (entry.pixelSize == pixelSize && entry.path == path) {
      entry.lastUse = ++uses_;
      return entry.font;
    }
  }
  return nullptr;
}

void FontCache::Keep(const std::string& path, int32_t pixelSize, std::shared_ptr<Font> font) {
  if (entries_.size() >= kCapacity) {
    const auto oldest =
        std::min_element(entries_.begin(), entries_.end(),
                         [](const Entry& a, const Entry& b) { return a.lastUse < b.lastUse; });
    entries_.erase(oldest);
  }
  entries_.push_back(Entry{path, pixelSize, std::move(font), ++uses_});
}

}  // namespace zz
