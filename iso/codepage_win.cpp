// The ANSI code page to UCS-2, as every other text of the program is ANSI.
#include "iso/codepage.h"

#include <windows.h>

namespace tarvo {

std::u16string CodePageToUcs2(std::string_view text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::u16string out;
  if (n > 0) {
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    out.reserve(wide.size());
    for (size_t i = 0; i < wide.size(); ++i) {
      const wchar_t c = wide[i];
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size()) {  // a surrogate pair: outside UCS-2
        out.push_back(u'_');
        ++i;
      } else {
        out.push_back(static_cast<char16_t>(c));
      }
    }
    return out;
  }
  for (char c : text) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace tarvo
