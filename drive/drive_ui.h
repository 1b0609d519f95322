// What the drive layer needs of the user interface: message boxes, the main
// dialog's information box (199), status text (502) and track number box
// (212), the disc-arrival command, and the wait cursor. The main dialog
// implements it with Win32 calls; tests use a scripted fake.
#pragma once

#include <cstdint>
#include <string>

namespace tarvo {

// Message box styles and answers (the values of the Win32 MB_* and ID*
// constants, so a Win32 implementation passes them through unchanged).
inline constexpr unsigned kMbOk = 0x00;
inline constexpr unsigned kMbYesNo = 0x04;
inline constexpr unsigned kMbIconStop = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

class UserInterface {
 public:
  virtual ~UserInterface() = default;

  // A message box owned by the main dialog; returns the button pressed.
  virtual int ShowMessage(const std::string& text, const std::string& caption,
                          unsigned style) = 0;
  // Control 199, the information text.
  virtual void SetInfoText(const std::string& text) = 0;
  // Control 502, the disc status text.
  virtual void SetStatusText(const std::string& text) = 0;
  // Control 212 read as an unsigned number; 0 when it holds no number.
  virtual uint32_t GetTrackNumber() = 0;
  virtual void SetTrackNumber(uint32_t track) = 0;
  // Sent synchronously when the disc check first sees a disc (the dialog's
  // command 207 with notification code 333).
  virtual void NotifyDiscArrived() = 0;
  // The sector viewer's sector of the given drive goes back to 16.
  virtual void ResetViewSector(int drive) = 0;
  // Mouse capture and wait cursor while a reset runs (true), released (false).
  virtual void SetBusy(bool busy) = 0;
};

}  // namespace tarvo
