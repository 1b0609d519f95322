#include "app/win32/dialog_drives.h"

#include <windows.h>

#include "app/win32/app_state.h"
#include "app/win32/dialog_hooks.h"

namespace tarvo {
namespace {

class DialogDriveUi final : public UserInterface {
 public:
  int ShowMessage(const std::string& text, const std::string& caption, unsigned style) override {
    return MessageBoxA(App().mainDialog, text.c_str(), caption.c_str(), style);
  }
  void SetInfoText(const std::string& text) override { SetItemText(199, text); }
  void SetStatusText(const std::string& text) override { SetItemText(502, text); }
  uint32_t GetTrackNumber() override {
    BOOL ok = FALSE;
    const UINT value = App().mainDialog ? GetDlgItemInt(App().mainDialog, 212, &ok, FALSE) : 0;
    return ok ? value : 0;
  }
  void SetTrackNumber(uint32_t track) override {
    if (App().mainDialog) SetDlgItemInt(App().mainDialog, 212, track, FALSE);
  }
  void NotifyDiscArrived() override {
    if (App().mainDialog) SendMessageA(App().mainDialog, WM_COMMAND, MAKEWPARAM(207, 333), 0);
  }
  void ResetViewSector(int drive) override { ResetSectorViewer(drive); }
  void SetBusy(bool busy) override {
    if (busy) {
      SetCapture(App().mainDialog);
      SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    } else {
      ReleaseCapture();
      SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    }
  }

 private:
  static void SetItemText(int id, const std::string& text) {
    if (App().mainDialog) SetDlgItemTextA(App().mainDialog, id, text.c_str());
  }
};

}  // namespace

DriveAccess& Drives() {
  static DialogDriveUi ui;
  static DriveAccess access(ui);
  return access;
}

std::vector<DriveSummary> DriveTableSummary() {
  std::vector<DriveSummary> table;
  for (const CdDrive& d : Drives().drives) table.push_back({d.identity, d.canWriteCdR, d.canWriteCdRw, d.maxWriteSpeedKBps});
  return table;
}

const CdDrive& DriveEntry(int drive) {
  static const CdDrive none;
  if (drive < 0 || drive >= kMaxDrives) return none;
  return Drives().drives[size_t(drive)];
}

}  // namespace tarvo
