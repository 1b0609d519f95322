#include "app/win32/app_state.h"

namespace tarvo {

AppState& App() {
  static AppState state;
  return state;
}

std::string ProgramFile(const char* name) {
  return std::string(App().programDir) + "\\" + name;
}

int Win32UserSeam::ShowMessage(const std::string& text, const std::string& caption, uint32_t style) {
  return MessageBoxA(App().mainDialog, text.c_str(), caption.empty() ? nullptr : caption.c_str(), style);
}

void Win32UserSeam::SetStatusText(const std::string& text) {
  if (App().mainDialog) SetDlgItemTextA(App().mainDialog, 502, text.c_str());
}

void Win32UserSeam::SetInfoText(const std::string& text) {
  if (App().mainDialog) SetDlgItemTextA(App().mainDialog, 199, text.c_str());
}

Win32UserSeam& User() {
  static Win32UserSeam user;
  return user;
}

}  // namespace tarvo
