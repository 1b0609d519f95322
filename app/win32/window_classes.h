#pragma once

#include <windows.h>

namespace tarvo {

// Registers the main dialog's class (named by the title), the browser window
// class and the help window class. Returns false when one cannot be
// registered (after one retry for the main and help classes).
bool RegisterWindowClasses(HINSTANCE instance);

}  // namespace tarvo
