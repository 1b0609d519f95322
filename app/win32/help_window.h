#pragma once

#include <windows.h>

namespace tarvo {

// The help window class HQHELP's procedure.
LRESULT CALLBACK HelpWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Opens the help window on a topic of tvohelp.txt.
void ShowHelpTopic(int topic);

}  // namespace tarvo
