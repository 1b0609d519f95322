#include "browser/source_tree_win.h"

#include <shellapi.h>

#include "browser/browser_state_win.h"
#include "browser/text_format.h"

namespace tarvo {

namespace {

constexpr size_t kTextChars = 260;

HWND Tree() { return Browser().sourceTree; }

HTREEITEM Relative(HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(SendMessageA(Tree(), TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

bool ReadItem(HTREEITEM item, std::string* text, LPARAM* data) {
  char buffer[kTextChars + 1] = {};
  TVITEMA read = {};
  read.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_PARAM;
  read.hItem = item;
  read.pszText = buffer;
  read.cchTextMax = kTextChars;
  if (!SendMessageA(Tree(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&read))) return false;
  if (text) *text = buffer;
  if (data) *data = read.lParam;
  return true;
}

HTREEITEM Insert(HTREEITEM parent, HTREEITEM after, const std::string& text, int image, int selectedImage,
                 LPARAM data) {
  TVINSERTSTRUCTA insert = {};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = const_cast<char*>(text.c_str());
  insert.item.iImage = image;
  insert.item.iSelectedImage = selectedImage;
  insert.item.lParam = data;
  return reinterpret_cast<HTREEITEM>(SendMessageA(Tree(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

// An item without text marks a level that has not been listed yet.
void InsertPlaceholder(HTREEITEM parent, LPARAM data) { Insert(parent, TVI_FIRST, "", 0, 0, data); }

void SetRedraw(bool on) {
  SendMessageA(Tree(), WM_SETREDRAW, on ? TRUE : FALSE, 0);
  if (on) InvalidateRect(Tree(), nullptr, TRUE);
}

std::string DriveRootOf(int index) {
  const std::vector<BrowserDrive> drives = BrowserDrives();
  return index >= 0 && index < int(drives.size()) ? drives[index].root : std::string();
}

// The drive root, then every directory name below it followed by a backslash.
std::string ItemPath(HTREEITEM item) {
  std::vector<std::string> names;
  LPARAM data = 0;
  HTREEITEM at = item;
  for (;;) {
    std::string text;
    if (!ReadItem(at, &text, &data)) return {};
    if ((data & kBelowDrive) == 0) break;
    names.push_back(text);
    at = Relative(at, TVGN_PARENT);
    if (at == nullptr) return {};
  }
  std::string path = DriveRootOf(DriveIndexOf(data));
  for (auto name = names.rbegin(); name != names.rend(); ++name) path += *name + "\\";
  return path;
}

bool IsDotName(const char* name) { return name[0] == '.'; }

// A directory shows an expand button when its listing holds anything other
// than directories whose names begin with a dot.
bool HasListableEntry(const std::string& directory) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((directory + "*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool listable = false;
  do {
    const bool isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!isDirectory || !IsDotName(found.cFileName)) listable = true;
  } while (!listable && FindNextFileA(search, &found));
  FindClose(search);
  return listable;
}

// Lists `directory` under `parent`, each item after the one before, the
// first after `after`; then sorts the level.
void ListDirectory(HTREEITEM parent, HTREEITEM after, const std::string& directory, int driveIndex) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((directory + "*.*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const bool isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      if (isDirectory && IsDotName(found.cFileName)) continue;
      const LPARAM data = LPARAM(driveIndex) | kBelowDrive | (isDirectory ? 0 : kFileItem);
      if (isDirectory) {
        after = Insert(parent, after, found.cFileName, kImageFolder, kImageFolderSelected, data);
        if (HasListableEntry(directory + found.cFileName + "\\")) InsertPlaceholder(after, data);
      } else {
        after = Insert(parent, after, found.cFileName, kImageFile, kImageFile, data);
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  SendMessageA(Tree(), TVM_SORTCHILDREN, FALSE, reinterpret_cast<LPARAM>(parent));
}

void DeleteChildren(HTREEITEM item) {
  while (HTREEITEM child = Relative(item, TVGN_CHILD)) SendMessageA(Tree(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(child));
}

// Lists an item that has not been listed, or a CD or removable drive again.
void ListItem(HTREEITEM item) {
  LPARAM data = 0;
  if (!ReadItem(item, nullptr, &data) || (data & kFileItem) != 0) return;
  BrowserState& b = Browser();
  b.busyListing = true;
  const int driveIndex = DriveIndexOf(data);
  const std::vector<BrowserDrive> drives = BrowserDrives();
  const std::string root = DriveRootOf(driveIndex);
  if (!SetCurrentDirectoryA(root.c_str())) {
    b.user.ShowMessage(FormatText("Can't read from the drive: %s", {root}), kProgramTitle, kMbIconStop);
    b.busyListing = false;
    SetFocus(Tree());
    return;
  }
  const std::string path = ItemPath(item);
  HTREEITEM first = Relative(item, TVGN_CHILD);
  std::string firstText;
  if (first != nullptr && ReadItem(first, &firstText, nullptr) && firstText.empty()) {
    SetRedraw(false);
    ListDirectory(item, first, path, driveIndex);
    SendMessageA(Tree(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(first));
    SetRedraw(true);
  } else if (first != nullptr && (data & kBelowDrive) == 0 && driveIndex < int(drives.size()) &&
             drives[driveIndex].type != DRIVE_FIXED) {
    SetRedraw(false);
    DeleteChildren(item);
    ListDirectory(item, TVI_FIRST, path, driveIndex);
    SetRedraw(true);
  }
  b.busyListing = false;
}

void Expand(HTREEITEM item) {
  ListItem(item);
  SendMessageA(Tree(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
}

int DriveIcon(HIMAGELIST images, const std::string& root) {
  SHFILEINFOA info = {};
  if (SHGetFileInfoA(root.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON) && info.hIcon) {
    const int index = ImageList_ReplaceIcon(images, -1, info.hIcon);
    DestroyIcon(info.hIcon);
    if (index >= 0) return index;
  }
  return kImageDrive;
}

std::string DriveText(const BrowserDrive& drive) {
  if (drive.type == DRIVE_REMOVABLE) return drive.root + " [ FLOPPY ]";
  if (drive.type == DRIVE_CDROM) return drive.root + " [ CD-ROM ]";
  char label[8] = {};
  if (!GetVolumeInformationA(drive.root.c_str(), label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0))
    label[0] = 0;
  return drive.root + " [ " + label + " ]";
}

// Walks SelectedSourcePath() down from its drive item, expanding each level.
void RestoreSelection(const std::vector<HTREEITEM>& driveItems, const std::vector<bool>& expandable) {
  const std::string& path = SelectedSourcePath();
  if (path.size() < 3) return;
  const std::vector<BrowserDrive> drives = BrowserDrives();
  HTREEITEM at = nullptr;
  for (size_t i = 0; i < drives.size(); ++i) {
    if (expandable[i] && !drives[i].root.empty() && toupper(static_cast<unsigned char>(drives[i].root[0])) ==
                                                         toupper(static_cast<unsigned char>(path[0]))) {
      at = driveItems[i];
      break;
    }
  }
  if (at == nullptr) return;
  size_t start = 3;
  while (start < path.size()) {
    const size_t end = path.find('\\', start);
    const std::string component = path.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (component.empty()) break;
    Expand(at);
    HTREEITEM match = nullptr;
    for (HTREEITEM child = Relative(at, TVGN_CHILD); child; child = Relative(child, TVGN_NEXT)) {
      std::string text;
      if (ReadItem(child, &text, nullptr) && lstrcmpiA(text.c_str(), component.c_str()) == 0) {
        match = child;
        break;
      }
    }
    if (match == nullptr) break;
    at = match;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  SendMessageA(Tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(at));
  SetFocus(Tree());
}

}  // namespace

void FillSourceTree() {
  BrowserState& b = Browser();
  SendMessageA(Tree(), TVM_SELECTITEM, TVGN_CARET, 0);
  SetRedraw(false);
  if (b.sourceImages) {
    SendMessageA(Tree(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    ImageList_Destroy(b.sourceImages);
  }
  b.sourceImages = CreateBrowserImageList();
  SendMessageA(Tree(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(b.sourceImages));

  const std::vector<BrowserDrive> drives = BrowserDrives();
  // On the recording tab the recorder's own drive, first in the drive list,
  // can't be expanded.
  const int locked = b.page == 2 ? -1 : FirstListedDriveIndex();
  std::vector<HTREEITEM> items;
  std::vector<bool> expandable;
  b.driveImages.assign(drives.size(), kImageDrive);
  HTREEITEM after = TVI_FIRST;
  for (size_t i = 0; i < drives.size(); ++i) {
    b.driveImages[i] = DriveIcon(b.sourceImages, drives[i].root);
    after = Insert(TVI_ROOT, after, DriveText(drives[i]), b.driveImages[i], b.driveImages[i], LPARAM(i));
    items.push_back(after);
    expandable.push_back(int(i) != locked);
    if (int(i) != locked) InsertPlaceholder(after, LPARAM(i) | kBelowDrive);
  }
  SetRedraw(true);
  RestoreSelection(items, expandable);
}

void OnSourceExpanded(HTREEITEM item) { ListItem(item); }

void OnSourceSelected(HTREEITEM item) {
  if (Browser().busyListing || item == nullptr) return;
  std::string path = ItemPath(item);
  if (path.size() < 3) return;
  LPARAM data = 0;
  ReadItem(item, nullptr, &data);
  if ((data & kFileItem) != 0) {
    if (path.size() > 3) path.pop_back();
    while (!path.empty() && path.back() != '\\') path.pop_back();
  }
  SelectedSourcePath() = path;
}

LRESULT OnSourceKey(WORD key) {
  if (key == VK_RETURN || key == VK_SPACE) {
    HTREEITEM item = Relative(nullptr, TVGN_CARET);
    if (item != nullptr) {
      const UINT state = UINT(SendMessageA(Tree(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED));
      if ((state & TVIS_EXPANDED) == 0) ListItem(item);
      SendMessageA(Tree(), TVM_EXPAND, TVE_TOGGLE, reinterpret_cast<LPARAM>(item));
    }
  }
  SetFocus(Tree());
  return key == VK_SPACE ? 1 : 0;
}

bool SelectedSourceItem(SourceItem& sourceItem) {
  HTREEITEM item = Relative(nullptr, TVGN_CARET);
  if (item == nullptr) return false;
  LPARAM data = 0;
  std::string text;
  if (!ReadItem(item, &text, &data)) text.clear();
  sourceItem.displayName = text;
  sourceItem.kind = (data & kFileItem) != 0   ? SourceKind::File
                    : (data & kBelowDrive) != 0 ? SourceKind::Directory
                                                : SourceKind::DriveRoot;
  return true;
}

}  // namespace tarvo
