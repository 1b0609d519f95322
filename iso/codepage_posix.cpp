// UTF-8 to UCS-2. Invalid sequences fall back to widening the byte, which is
// what a Latin-1 name would have given.
#include "iso/codepage.h"

#include <cstdint>

namespace tarvo {

namespace {

// Length of a valid UTF-8 sequence at text[i] and its code point, or 0.
size_t DecodeUtf8(std::string_view text, size_t i, char32_t& cp) {
  const auto at = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
  const uint8_t b = at(i);
  size_t len;
  char32_t min;
  if (b < 0x80) { cp = b; return 1; }
  if ((b & 0xE0) == 0xC0) { len = 2; cp = b & 0x1F; min = 0x80; }
  else if ((b & 0xF0) == 0xE0) { len = 3; cp = b & 0x0F; min = 0x800; }
  else if ((b & 0xF8) == 0xF0) { len = 4; cp = b & 0x07; min = 0x10000; }
  else return 0;
  if (i + len > text.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    if ((at(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (at(i + k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

}  // namespace

std::u16string CodePageToUcs2(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    char32_t cp = 0;
    const size_t len = DecodeUtf8(text, i, cp);
    if (len == 0) {
      out.push_back(static_cast<char16_t>(static_cast<uint8_t>(text[i])));
      ++i;
      continue;
    }
    out.push_back(cp > 0xFFFF ? u'_' : static_cast<char16_t>(cp));
    i += len;
  }
  return out;
}

}  // namespace tarvo
