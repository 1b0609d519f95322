// What the browser reads of the main dialog: its drive roots and the first
// entry of its drive list.
#include "app/win32/app_state.h"
#include "app/win32/main_dialog.h"
#include "browser/browser_state_win.h"

namespace tarvo {

std::vector<BrowserDrive> BrowserDrives() {
  const MainDialogState& s = MainState();
  std::vector<BrowserDrive> drives;
  for (const DriveRoot& root : s.driveRoots) drives.push_back({root.root, root.type});
  return drives;
}

int FirstListedDriveIndex() {
  HWND dialog = Browser().mainDialog;
  if (dialog == nullptr || SendDlgItemMessageA(dialog, 101, CB_GETCOUNT, 0, 0) <= 0) return -1;
  const LRESULT index = SendDlgItemMessageA(dialog, 101, CB_GETITEMDATA, 0, 0);
  return index == CB_ERR ? -1 : int(index);
}

}  // namespace tarvo
