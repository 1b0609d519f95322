// The user seam: everything the portable core shows to the user or asks of
// it goes through this interface. The Win32 shell implements it with
// MessageBoxA and SetDlgItemTextA on the main dialog; tests use a scripted fake
// that records what was shown and answers questions.
#pragma once

#include <cstdint>
#include <string>

namespace tarvo {

// The caption of every message box.
inline constexpr const char* kProgramTitle = "Tarvo";

// Message box styles and answers, with the Win32 values so the shell passes
// them through unchanged.
inline constexpr unsigned kMbOk = 0x00;
inline constexpr unsigned kMbYesNoCancel = 0x03;
inline constexpr unsigned kMbYesNo = 0x04;
inline constexpr unsigned kMbIconStop = 0x10;  // MB_ICONHAND
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr unsigned kMbIconInformation = 0x40;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

class UserSeam {
 public:
  virtual ~UserSeam() = default;
  // Shows a modal message box owned by the main dialog (or by nobody while it
  // does not exist yet) and returns the button pressed. An empty caption
  // means the system's default caption.
  virtual int ShowMessage(const std::string& text, const std::string& caption, unsigned style) = 0;
  // The main dialog's status text (control 502).
  virtual void SetStatusText(const std::string& text) {}
  // The main dialog's information box (control 199).
  virtual void SetInfoText(const std::string& text) {}
  // The name dialog: `name` holds the proposed name and receives the one
  // entered. False when the user cancels or enters nothing.
  virtual bool AskName(std::string& name) { return false; }
  // Busy cursor (and mouse capture) around long work, released with false.
  virtual void SetBusy(bool busy) {}
};

}  // namespace tarvo
