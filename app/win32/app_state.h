// Process-wide state of the shell, filled by start-up and read everywhere.
#pragma once

#include <windows.h>

#include <string>

#include "common/user_seam.h"

namespace tarvo {

struct AppState {
  HINSTANCE instance = nullptr;
  HWND mainDialog = nullptr;
  char title[10] = {};        // string resource 125, caption of every message box
  char programDir[260] = {};  // from App Paths or the current directory
  HFONT smallFont = nullptr;
  HFONT largeFont = nullptr;
};

AppState& App();

// programDir + "\" + name.
std::string ProgramFile(const char* name);

// The user seam on the main dialog: message boxes owned by it (or by nobody
// before it exists), the status text 502 and the information box 199.
class Win32UserSeam : public UserSeam {
 public:
  int ShowMessage(const std::string& text, const std::string& caption, uint32_t style) override;
  void SetStatusText(const std::string& text) override;
  void SetInfoText(const std::string& text) override;
};

Win32UserSeam& User();

}  // namespace tarvo
