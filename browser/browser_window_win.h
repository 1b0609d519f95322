// The compilation browser window "Burn to CD": the machine's drives and
// folders on the left, the disc's layout on the right, six command buttons
// above them and the capacity figures in a status bar below.
#pragma once

#include <windows.h>

namespace tarvo {

// Registers the window class "Browse_Burn_CD" (tried twice).
bool RegisterBrowserClass(HINSTANCE instance);

// Opens the browser for the main dialog's current page; `selectedRootIndex`
// is the index of the recorder's drive letter in the main dialog's drive
// roots. Returns at once; the browser lives until it is closed.
void OpenBrowser(HWND dialog, int selectedRootIndex);

// The open browser window, or null.
HWND BrowserWindow();

}  // namespace tarvo
