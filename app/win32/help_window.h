// The help viewer: window class HQHELP, a painted title bar, a read-only text
// area and the menu "Help Menu:", whose highlighted item picks the topic.
#pragma once

#include <windows.h>

#include "app/help_topics.h"

namespace tarvo {

inline constexpr int kHelpTextAreaId = 7013;
inline constexpr int kHelpTopicContents = 1090;

struct HelpViewerState {
  HWND helpWindow = nullptr;
  HWND textArea = nullptr;
  HFONT helpFont = nullptr;
  HBRUSH titleBrush = nullptr;
  HelpTopic topic;  // topicTitle and topicBody of the last loaded topic
};

HelpViewerState& HelpViewer();

// The help window class HQHELP's procedure.
LRESULT CALLBACK HelpWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Opens the help window (owned by the main dialog) when it is closed, then
// loads `topic` from programDir\tvohelp.txt into it.
void ShowHelpTopic(int topic);

}  // namespace tarvo
