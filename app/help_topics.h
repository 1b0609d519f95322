// Help topics from tvohelp.txt: a marker line, then topics written as
//   {1090 Contents
//   body lines ...
//   }
// The reading is portable; the help window (win32/help_window_win.cpp) shows
// what it finds.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvo {

inline constexpr char kHelpFileName[] = "tvohelp.txt";
inline constexpr std::string_view kHelpMarkerLine = "NOTES: DO NOT CHANGE THIS FILE OR PROGRAM COULD BREAK DOWN";
inline constexpr size_t kHelpTitleMax = 255;
inline constexpr size_t kHelpBodyMax = 9092;

// The last loaded topic. It survives a failed load: the help window shows the
// previous text when the file is missing or refused.
struct HelpTopic {
  std::string title;  // at most kHelpTitleMax characters
  std::string body;   // at most kHelpBodyMax bytes, line ends as CR LF
};

enum class HelpLoad {
  kNoFile,         // the file cannot be opened: `shown` untouched
  kMarkerChanged,  // the first line is not the marker: `shown` untouched
  kScanned,        // every topic header seen cleared `shown`; the wanted one filled it
};

// Scans the text of a help file (line ends as single line feeds) for
// `topic`. Every header met clears `shown`, so a topic missing from a file
// that has headers leaves it empty.
HelpLoad ScanHelpText(std::string_view text, long long topic, HelpTopic& shown);

// Reads the file at `path` as text (CR LF arrives as LF) and scans it as
// ScanHelpText does, one character at a time: no size limit on the file.
HelpLoad LoadHelpTopic(const std::string& path, long long topic, HelpTopic& shown);

}  // namespace tarvo
