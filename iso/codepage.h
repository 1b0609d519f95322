// Names and texts are single-byte strings in the system's code page; Joliet
// wants UCS-2. The conversion is the one platform-specific piece of naming:
// the ANSI code page on Windows (codepage_win.cpp), UTF-8 elsewhere.
#pragma once

#include <string>
#include <string_view>

namespace tarvo {

// Characters outside the Basic Multilingual Plane, which UCS-2 cannot carry,
// become "_". Bytes that do not decode are widened one to one.
std::u16string CodePageToUcs2(std::string_view text);

}  // namespace tarvo
