#pragma once

#include <windows.h>

namespace tarvo {

// Registers the compilation browser's window class "Browse_Burn_CD".
bool RegisterBrowserClass(HINSTANCE instance);

// Opens the browser window for the main dialog's current page; returns at once.
void OpenBrowser(HWND dialog, int selectedRootIndex);

}  // namespace tarvo
