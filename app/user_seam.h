// The user seam: everything the portable core shows to the user or asks of
// it goes through this interface. The Win32 shell implements it with
// MessageBoxA and SetDlgItemTextA on the main dialog; tests use a scripted fake
// that records what was shown and answers questions.
#pragma once

#include <cstdint>
#include <string>

#include "drive/drive_ui.h"

namespace tarvo {

// Message box styles and answers, with the Win32 values so the shell passes
// them through unchanged; the drive layer's user interface declares the
// common ones, so one translation unit can use both seams.
inline constexpr uint32_t kMbIconExclamation = 0x30;
inline constexpr uint32_t kMbIconInformation = 0x40;

class UserSeam {
 public:
  virtual ~UserSeam() = default;
  // Shows a message box owned by the main dialog (or by nobody while it does
  // not exist yet) and returns the button pressed. An empty caption means the
  // system's default caption.
  virtual int ShowMessage(const std::string& text, const std::string& caption,
                          uint32_t style) = 0;
  // The main dialog's status text (control 502).
  virtual void SetStatusText(const std::string& text) = 0;
  // The main dialog's information box (control 199).
  virtual void SetInfoText(const std::string& text) = 0;
};

}  // namespace tarvo
