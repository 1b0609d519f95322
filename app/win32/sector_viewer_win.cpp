// The information page's sector viewer: commands 205, 206, 215 (navigation
// and the raw view), 207, 208, 209 (decoded views) and 210 (next entry).
// Every read is one READ(10) through the command set into a buffer of its
// own; the texts come from sector_view.h, which never reads past a sector.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/sector_view.h"
#include "app/win32/dialog_drives.h"
#include "app/win32/dialog_hooks.h"
#include "app/win32/main_dialog.h"
#include "drive/command_set.h"

namespace tarvo {
namespace {

constexpr int32_t kFirstViewSector = 16;
constexpr int32_t kEntryOffsetLimit = 20000;
enum LastView : uint32_t { kDirectoryView = 0, kPathTableView = 1, kVolumeView = 2 };

struct SectorViewer {
  int32_t viewSector[kMaxDrives] = {kFirstViewSector, kFirstViewSector, kFirstViewSector, kFirstViewSector,
                                    kFirstViewSector};
  int32_t entryOffset = 0;
  uint32_t lastView = kDirectoryView;
};

SectorViewer& Viewer() {
  static SectorViewer viewer;
  return viewer;
}

bool ReadViewSector(int drive, int32_t sector, std::vector<uint8_t>& buffer) {
  buffer.assign(kViewSectorSize, 0);
  return TransferBlocks(Drives(), drive, kOpRead10, buffer.data(), static_cast<uint32_t>(sector), 1) == kStatusGood;
}

void ShowSectorNumber(HWND dialog, int32_t sector) {
  char text[16];
  std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(static_cast<uint32_t>(sector)));
  SetDlgItemTextA(dialog, 214, text);
}

void Navigate(HWND dialog, uint16_t command, int drive) {
  SectorViewer& v = Viewer();
  int32_t& sector = v.viewSector[drive];
  v.entryOffset = 0;
  if (command == 215) {
    char text[30] = {};
    GetDlgItemTextA(dialog, 214, text, sizeof text);
    // Leading blanks, an optional sign and digits; the low 32 bits kept.
    if (text[0] != 0) sector = static_cast<int32_t>(static_cast<uint32_t>(std::strtoll(text, nullptr, 10)));
  } else if (command == 205) {
    if (sector <= 0) return;
    --sector;
  } else {
    if (sector == INT32_MAX) return;
    ++sector;
  }
  ShowSectorNumber(dialog, sector);
  std::vector<uint8_t> buffer;
  if (!ReadViewSector(drive, sector, buffer)) {
    SetDlgItemTextA(dialog, 199, "Error reading");
    return;
  }
  SetDlgItemTextA(dialog, 199, RawSectorText(buffer.data(), buffer.size()).c_str());
}

void ShowRecord(HWND dialog, uint16_t command, int drive) {
  SectorViewer& v = Viewer();
  std::vector<uint8_t> buffer;
  if (!ReadViewSector(drive, v.viewSector[drive], buffer)) {
    Drives().ShowError("Error reading");
    return;
  }
  const bool pathTable = command == 208;
  v.lastView = pathTable ? kPathTableView : kDirectoryView;
  const RecordView view = pathTable ? PathTableRecordText(buffer.data(), buffer.size(), v.entryOffset)
                                    : DirectoryRecordText(buffer.data(), buffer.size(), v.entryOffset);
  v.entryOffset += view.advance;
  SetDlgItemTextA(dialog, 199, view.text.c_str());
}

}  // namespace

void SectorViewerCommand(HWND dialog, uint16_t command, int drive) {
  if (!MainState().aspiReady || drive < 0 || drive >= kMaxDrives) return;
  SectorViewer& v = Viewer();
  switch (command) {
    case 205:
    case 206:
    case 215:
      Navigate(dialog, command, drive);
      break;
    case 207: {
      std::vector<uint8_t> buffer;
      const int32_t sector = v.viewSector[drive];
      if (!ReadViewSector(drive, sector, buffer)) {
        char text[64];
        std::snprintf(text, sizeof text, "Error reading sector: %lu", static_cast<unsigned long>(static_cast<uint32_t>(sector)));
        Drives().ShowError(text);
        return;
      }
      ShowSectorNumber(dialog, sector);
      v.lastView = kVolumeView;
      SetDlgItemTextA(dialog, 199, VolumeDescriptorText(buffer.data(), buffer.size()).c_str());
      break;
    }
    case 208:
    case 209:
      ShowRecord(dialog, command, drive);
      break;
    case 210: {
      if (v.entryOffset > kEntryOffsetLimit) return;
      uint16_t next = 209;
      if (v.lastView == kVolumeView) {
        v.viewSector[drive] = kFirstViewSector;
        next = 207;
      } else if (v.lastView == kPathTableView) {
        next = 208;
      }
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(next, 0), 0);
      break;
    }
    default:
      break;
  }
}

void ResetSectorViewer(int drive) {
  if (drive >= 0 && drive < kMaxDrives) Viewer().viewSector[drive] = kFirstViewSector;
}

}  // namespace tarvo
