#include "display/utf8_decoder.h"

namespace zz {
namespace {

struct SequenceForm {
  int32_t length;      // bytes in all
  int32_t leadBits;    // value bits of the lead byte
  uint8_t secondLow;   // allowed range of the second byte: rules out overlong forms,
  uint8_t secondHigh;  // surrogates and code points beyond U+10FFFF
};

// The well-formed sequences by lead byte (Unicode, table 3-7).
SequenceForm FormOf(uint8_t lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return {2, lead & 0x1F, 0x80, 0xBF};
  if (lead == 0xE0) return {3, lead & 0x0F, 0xA0, 0xBF};
  if (lead == 0xED) return {3, lead & 0x0F, 0x80, 0x9F};
  if (lead >= 0xE1 && lead <= 0xEF) return {3, lead & 0x0F, 0x80, 0xBF};
  if (lead == 0xF0) return {4, lead & 0x07, 0x90, 0xBF};
  if (lead >= 0xF1 && lead <= 0xF3) return {4, lead & 0x07, 0x80, 0xBF};
  if (lead == 0xF4) return {4, lead & 0x07, 0x80, 0x8F};
  return {0, 0, 0, 0};
}

uint8_t ByteAt(std::string_view text, std::size_t index) {
  return static_cast<uint8_t>(text[index]);
}

}  // namespace

int32_t NextCodePoint(std::string_view text, std::size_t* offset) {
  const std::size_t start = *offset;
  const uint8_t lead = ByteAt(text, start);
  *offset = start + 1;
  if (lead < 0x80) return lead;
  const SequenceForm form = FormOf(lead);
  const auto length = static_cast<std::size_t>(form.length);
  if (length == 0 || text.size() - start < length) return kNoCodePoint;
  const uint8_t second = ByteAt(text, start + 1);
  if (second < form.secondLow || second > form.secondHigh) return kNoCodePoint;
  int32_t codePoint = form.leadBits;
  for (std::size_t i = 1; i < length; ++i) {
    const uint8_t next = ByteAt(text, start + i);
    if ((next & 0xC0) != 0x80) return kNoCodePoint;
    codePoint = (codePoint << 6) | (next & 0x3F);
  }
  *offset = start + length;
  return codePoint;
}

}  // namespace zz
