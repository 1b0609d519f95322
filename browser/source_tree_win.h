// The source tree: the machine's drives, directories and files, listed a
// level at a time as the user expands them.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "browser/compilation_commands.h"

namespace tarvo {

// Item data: the drive's index in the drive roots in bits 0 to 15, bit 22 for
// every item below a drive, bit 23 for files.
inline constexpr LPARAM kBelowDrive = 1 << 22;
inline constexpr LPARAM kFileItem = 1 << 23;
inline int DriveIndexOf(LPARAM data) { return static_cast<int>(data & 0xFFFF); }

// The drive items (and the image list); restores SelectedSourcePath().
void FillSourceTree();

// TVN_ITEMEXPANDED with the expand action: lists a drive or directory.
void OnSourceExpanded(HTREEITEM item);
// TVN_SELCHANGED: the new item's folder becomes SelectedSourcePath().
void OnSourceSelected(HTREEITEM item);
// TVN_KEYDOWN: Enter and Space toggle the selected item. Returns what the
// notification returns (nonzero keeps Space out of the incremental search).
LRESULT OnSourceKey(WORD key);

// The selected source item for Add; false when nothing is selected.
bool SelectedSourceItem(SourceItem& item);

}  // namespace tarvo
