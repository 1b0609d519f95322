#include "app/win32/volume_texts_dialog.h"

#include <string>
#include <vector>

#include "app/res/dialog_ids.h"
#include "app/volume_texts.h"
#include "app/win32/app_state.h"
#include "app/win32/dialog_drives.h"
#include "app/win32/main_dialog.h"
#include "drive/command_set.h"

namespace tarvo {
namespace {

constexpr int kVolumeLabelEdit = 301;

// The whole text of an edit; the limits are applied by StoreTypedVolumeTexts.
std::string ControlText(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  std::string text(size_t(GetWindowTextLengthA(control)) + 1, '\0');
  text.resize(size_t(GetWindowTextA(control, text.data(), int(text.size()))));
  return text;
}

}  // namespace

INT_PTR CALLBACK VolumeTextsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  VolumeTexts& texts = CurrentVolumeTexts();
  switch (message) {
    case WM_INITDIALOG:
      SetDlgItemTextA(dialog, IDC_PVD_DATA_PREPARER, texts.dataPreparer.c_str());
      SetDlgItemTextA(dialog, IDC_PVD_COPYRIGHT_FILE, texts.copyrightFile.c_str());
      SetDlgItemTextA(dialog, IDC_PVD_APPLICATION_ID, texts.discApplicationId.c_str());
      return TRUE;
    case WM_CLOSE:
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        StoreTypedVolumeTexts(ControlText(dialog, IDC_PVD_DATA_PREPARER), ControlText(dialog, IDC_PVD_COPYRIGHT_FILE),
                              texts);
        EndDialog(dialog, 1);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

void RunVolumeTextsDialog(HWND owner) {
  DialogBoxParamA(App().instance, "IDD_PVD", owner, VolumeTextsDialogProc, 0);
}

void FillVolumeTextsFromDisc(HWND mainDialog, int drive) {
  if (MainState().aspiReady != 1) return;
  // ECMA-119 6.2.1: the volume descriptor set starts at logical sector 16.
  std::vector<uint8_t> sector(kBlockSize, 0);
  if (TransferBlocks(Drives(), drive, kOpRead10, sector.data(), 16, 1) != kStatusGood) return;
  FillVolumeTextsFromSector(mainDialog, sector.data(), sector.size());
}

void FillVolumeTextsFromSector(HWND mainDialog, const uint8_t* sector, size_t n) {
  std::string label;
  if (!FillVolumeTextsFromSector16(sector, n, CurrentVolumeTexts(), label)) return;
  SetDlgItemTextA(mainDialog, kVolumeLabelEdit, label.c_str());
}

}  // namespace tarvo
