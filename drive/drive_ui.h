// What the drive layer needs of the user interface: message boxes, the main
// dialog's information box (199), status text (502) and track number box
// (212), the disc-arrival command, and the wait cursor. The main dialog
// implements it with Win32 calls; tests use a scripted fake.
#pragma once

#include <cstdint>
#include <string>

#include "common/user_seam.h"

namespace tarvo {

class UserInterface : public UserSeam {
 public:
  // Control 212 read as an unsigned number; 0 when it holds no number.
  virtual uint32_t GetTrackNumber() = 0;
  virtual void SetTrackNumber(uint32_t track) = 0;
  // Sent synchronously when the disc check first sees a disc (the dialog's
  // command 207 with notification code 333).
  virtual void NotifyDiscArrived() = 0;
  // The sector viewer's sector of the given drive goes back to 16.
  virtual void ResetViewSector(int drive) = 0;
  // Mouse capture and wait cursor while a reset runs (true), released (false).
  void SetBusy(bool busy) override = 0;
};

}  // namespace tarvo
