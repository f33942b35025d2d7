// Code points of UTF-8 text, as the platform delivers typed text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zz {

// Reads the code point that starts at *offset and moves *offset past it. A byte that starts no
// well-formed sequence (stray continuation, overlong form, surrogate, beyond U+10FFFF, cut short)
// yields kNoCodePoint and is skipped alone, so decoding resumes at the next byte. Never reads
// outside `text`; *offset must be below text.size().
inline constexpr int32_t kNoCodePoint = -1;
int32_t NextCodePoint(std::string_view text, std::size_t* offset);

}  // namespace zz
