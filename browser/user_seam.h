// The user seam: how the portable core talks to the person at the screen.
// Win32 puts message boxes and dialog texts up; tests script the answers.
#pragma once

#include <string>

namespace tarvo {

// Caption of every message box.
inline constexpr const char* kProgramTitle = "Tarvo";

// Message box styles and answers, with the values of the Win32 MB_* and ID*
// constants so that the Win32 side hands them through unchanged.
inline constexpr unsigned kBoxOk = 0x0;
inline constexpr unsigned kBoxYesNoCancel = 0x3;
inline constexpr unsigned kBoxYesNo = 0x4;
inline constexpr unsigned kIconStop = 0x10;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconExclamation = 0x30;

inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerCancel = 2;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

class UserSeam {
 public:
  virtual ~UserSeam() = default;

  // A modal message box; returns the button pressed (kAnswer*).
  virtual int ShowMessage(const std::string& text, const std::string& caption, unsigned style) = 0;

  // The name dialog: `name` holds the proposed name and receives the one
  // entered. False when the user cancels or enters nothing.
  virtual bool AskName(std::string& name) { return false; }

  // Busy cursor around long edits of the compilation.
  virtual void SetBusy(bool busy) {}

  // The main dialog's status text (502) and information text (199).
  virtual void SetStatusText(const std::string& text) {}
  virtual void SetInformationText(const std::string& text) {}
};

}  // namespace tarvo
