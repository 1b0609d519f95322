// The About box's web-site buttons start a web browser: first the one the
// registry names as the handler of http addresses, then two well-known ones.
#pragma once

#include <string>
#include <string_view>

namespace tarvo {

inline constexpr char kBrowserCommandKey[] = "SOFTWARE\\Classes\\http\\shell\\open\\command";
inline constexpr char kFallbackBrowser1[] = "Iexplore.exe";
inline constexpr char kFallbackBrowser2[] = "Firefox.exe";
inline constexpr char kBrowserFailedText[] = "Error while opening Firefox.exe or Iexplore.exe";

// The program of a shell open command such as
//   "C:\Program Files\Web\web.exe" -url "%1"   or   C:\web\web.exe %1
// A quoted path is taken up to its closing quote (it may hold blanks), an
// unquoted one up to the first blank. Empty when nothing is left.
std::string BrowserProgramFromCommand(std::string_view command);

}  // namespace tarvo
