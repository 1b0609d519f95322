// The main dialog's drive list (control 101): the machine's logical drives,
// the CD-ROM letters among them paired in order with the drive table, and the
// drive chosen by default.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tarvo {

inline constexpr uint32_t kDriveTypeCdrom = 5;  // GetDriveTypeA's DRIVE_CDROM
inline constexpr int kMaxDriveRoots = 30;
inline constexpr int kDriveTableSize = 5;

struct DriveRoot {
  std::string root;  // upper-cased, at most 9 characters, e.g. "D:\"
  uint32_t type = 0;
};

// Walks the list of root strings that GetLogicalDriveStringsA wrote (each
// ends in NUL, an empty string ends the list) within its first `length`
// bytes and at most 255 characters, keeping at most 30 roots. `typeOf` gives
// the drive type of a root.
std::vector<DriveRoot> ParseDriveRoots(const char* buffer, size_t length,
                                       const std::function<uint32_t(const std::string&)>& typeOf);

// What the list needs of one entry of the drive table.
struct DriveSummary {
  std::string identity;
  bool canWriteCdR = false;
  bool canWriteCdRw = false;
  uint32_t maxWriteSpeedKBps = 0;
};

struct DriveListItem {
  std::string text;  // "CD-ROM [D:\] - <identity>"
  int rootIndex;     // the item data: index into the roots
};

struct DriveListPlan {
  std::vector<DriveListItem> items;  // in drive-letter order, CD number k = position k
  int selectedDrive = 0;             // the first drive that can write, else 0
  int selectedRootIndex = -1;        // rootIndex of item selectedDrive, -1 without one
};

// The k-th CD-ROM letter is drive k of the table; no more letters are listed
// than the table has entries (`drives` holds the whole table).
DriveListPlan PlanDriveList(const std::vector<DriveRoot>& roots, const std::vector<DriveSummary>& drives);

}  // namespace tarvo
