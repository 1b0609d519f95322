// The browser's commands: initialisation (123) with the opening decision
// between the disc's recorded content, the default list and an empty
// compilation, and the six buttons.
#include <windows.h>

#include <commdlg.h>

#include "app/res/dialog_ids.h"
#include "app/win32/app_state.h"
#include "app/win32/main_dialog.h"
#include "app/win32/message_map.h"
#include "browser/browser_state_win.h"
#include "browser/capacity_gauge.h"
#include "browser/list_files.h"
#include "browser/source_tree_win.h"
#include "browser/text_format.h"

namespace tarvo {

namespace {

enum : uint16_t { kAdd = 600, kLoadList = 601, kSaveAsList = 602, kSave = 603, kNewDirectory = 604, kRemove = 605 };

// Not a message of the program's lists: the default list could not be
// written, so the browser stays open instead of leaving the recorder an old
// list under the new name.
constexpr const char* kFmtCantSaveList = "Can't write the file list: %s";

CompilationContext& Context() { return *Browser().context; }

void PrepareDiscTree() {
  BrowserState& b = Browser();
  if (b.discImages) ImageList_Destroy(b.discImages);
  b.discImages = CreateBrowserImageList();
  SendMessageA(b.discTree, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(b.discImages));
  b.tree.SetObserver(nullptr);
  b.tree.Clear();
  b.discView.Attach(b.discTree, &b.tree);
  b.tree.SetObserver(&b.discView);
}

void Load(const std::string& path) { LoadBrowserList(path); }

void DeleteIfExists(const std::string& path) { DeleteFileA(path.c_str()); }

// Nothing added since the disc was read: on the recording tab the disc's
// content comes in as Recorded entries; otherwise the tab's default list.
void OpeningDecision(int recorderRootIndex) {
  BrowserState& b = Browser();
  const std::string programDir = App().programDir;
  if (b.page != 0 && Gauge().used == 0) DeleteIfExists(DefaultListPath(programDir, 2));
  if (Gauge().AtDiscFigures()) {
    DeleteIfExists(DefaultListPath(programDir, 0));
    const std::vector<BrowserDrive> drives = BrowserDrives();
    if (b.page == 0 && recorderRootIndex >= 0 && recorderRootIndex < int(drives.size())) {
      b.discView.SetRedraw(false);
      ImportRecorded(Context(), drives[recorderRootIndex].root);
      b.discView.SetRedraw(true);
    }
    return;
  }
  currentListPath = DefaultListPath(programDir, b.page);
  Load(currentListPath);
}

// The open and save dialogs for list files, in the datacd folder. Empty
// when the user cancels.
std::string AskListFile(bool save) {
  BrowserState& b = Browser();
  char file[MAX_PATH] = "*.dat";
  const std::string folder = std::string(App().programDir) + "\\datacd";
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = b.window;
  dialog.lpstrFilter = "File list(*.dat)\0*.dat\0";
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  dialog.lpstrInitialDir = folder.c_str();
  dialog.lpstrDefExt = "dat";
  dialog.lpstrTitle = save ? "Save As File list" : "Open File list";
  dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (save) dialog.Flags |= OFN_NOCHANGEDIR | OFN_OVERWRITEPROMPT;
  const BOOL chosen = save ? GetSaveFileNameA(&dialog) : GetOpenFileNameA(&dialog);
  return chosen ? std::string(file) : std::string();
}

void Add() {
  BrowserState& b = Browser();
  SourceItem item;
  const bool selected = SelectedSourceItem(item);
  const EntryId selection = b.discView.Selection();
  b.discView.SetRedraw(false);
  const int added = AddFromSource(Context(), selected ? &item : nullptr, SelectedSourcePath(), selection);
  b.discView.SetRedraw(true);
  if (added) b.discView.ClearSelection();
  RefreshStatusBar();
}

void NewDirectory() {
  BrowserState& b = Browser();
  b.nameBuffer[0] = 0;
  b.discView.SetRedraw(false);
  std::string name;
  const bool made = b.user.AskName(name) && MakeDirectory(Context(), name, b.discView.Selection()) != kNoEntry;
  b.discView.SetRedraw(true);
  if (made) b.discView.ClearSelection();
}

void Remove() {
  BrowserState& b = Browser();
  const EntryId selection = b.discView.Selection();
  if (selection == kNoEntry) return;
  b.discView.SetRedraw(false);
  const int removed = RemoveSelected(Context(), selection);
  b.discView.SetRedraw(true);
  if (removed) b.discView.ClearSelection();
  RefreshStatusBar();
}

void LoadChosenList() {
  const std::string path = AskListFile(false);
  if (path.empty()) return;
  currentListPath = path;
  Load(path);
  RefreshStatusBar();
}

void SaveAsChosenList() {
  BrowserState& b = Browser();
  const std::string path = AskListFile(true);
  if (path.empty()) return;
  if (SaveBrowserList(path)) {
    currentListPath = path;
  } else {
    b.user.ShowMessage(FormatText(kFmtCantSaveList, {path}), kProgramTitle, kMbIconStop);
  }
  RefreshStatusBar();
}

void SaveAndClose() {
  BrowserState& b = Browser();
  const std::string path = DefaultListPath(App().programDir, b.page);
  if (!SaveBrowserList(path)) {
    b.user.ShowMessage(FormatText(kFmtCantSaveList, {path}), kProgramTitle, kMbIconStop);
    return;
  }
  currentListPath = path;
  CloseBrowser();
}

INT_PTR OnNameInit(HWND dialog, UINT, WPARAM, LPARAM) {
  SetDlgItemTextA(dialog, IDC_MAKEDIR_NAME, Browser().nameBuffer);
  SetFocus(GetDlgItem(dialog, IDC_MAKEDIR_NAME));
  return FALSE;  // the focus is set
}

int32_t OnNameOk(HWND dialog, uint16_t, uint16_t, LPARAM) {
  char* name = Browser().nameBuffer;
  GetDlgItemTextA(dialog, IDC_MAKEDIR_NAME, name, kNameLimit);
  EndDialog(dialog, name[0] != 0 ? IDOK : IDCANCEL);
  return TRUE;
}

int32_t OnNameCancel(HWND dialog, uint16_t, uint16_t, LPARAM) {
  EndDialog(dialog, IDCANCEL);
  return TRUE;
}

const CommandEntry kNameCommands[] = {{IDOK, OnNameOk}, {IDCANCEL, OnNameCancel}};
const MessageMap kNameCommandMap = MakeCommandMap(kNameCommands, kDefaultReturnZero);

int32_t OnNameCommand(HWND dialog, UINT, WPARAM wParam, LPARAM lParam) {
  return int32_t(DispatchCommandMap(kNameCommandMap, dialog, wParam, lParam));
}
int32_t OnNameInitDialog(HWND dialog, UINT m, WPARAM w, LPARAM l) { return int32_t(OnNameInit(dialog, m, w, l)); }

const MessageEntry kNameMessages[] = {{WM_INITDIALOG, OnNameInitDialog}, {WM_COMMAND, OnNameCommand}};
const MessageMap kNameMap = MakeMessageMap(kNameMessages, kDefaultReturnZero);

INT_PTR CALLBACK NameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchMessageMap(kNameMap, dialog, message, wParam, lParam);
}

}  // namespace

int BrowserUser::ShowMessage(const std::string& text, const std::string& caption, unsigned style) {
  HWND owner = Browser().window ? Browser().window : App().mainDialog;
  return MessageBoxA(owner, text.c_str(), caption.empty() ? nullptr : caption.c_str(), style);
}

bool BrowserUser::AskName(std::string& name) {
  BrowserState& b = Browser();
  lstrcpynA(b.nameBuffer, name.c_str(), kNameLimit);
  const INT_PTR answer = DialogBoxParamA(App().instance, "IDD_MAKEDIR", b.window, NameDialogProc, 0);
  if (answer != IDOK) return false;
  name = b.nameBuffer;
  return !name.empty();
}

void BrowserUser::SetBusy(bool busy) {
  if (busy) {
    SetCapture(Browser().window);
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  } else {
    ReleaseCapture();
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  }
}

int LoadBrowserList(const std::string& path) {
  BrowserState& b = Browser();
  b.discView.SetRedraw(false);
  const int loaded = LoadList(b.tree, path, *b.fileSystem, b.user);
  b.discView.SetRedraw(true);
  return loaded;
}

int SaveBrowserList(const std::string& path) { return SaveList(Browser().tree, path, Gauge()); }

int32_t OnBrowserInit(HWND, uint16_t, uint16_t, LPARAM recorderRootIndex) {
  FillSourceTree();
  PrepareDiscTree();
  OpeningDecision(int(recorderRootIndex));
  RefreshStatusBar();
  return 0;
}

int32_t OnBrowserButton(HWND, uint16_t id, uint16_t, LPARAM) {
  switch (id) {
    case kAdd:
      Add();
      break;
    case kLoadList:
      LoadChosenList();
      break;
    case kSaveAsList:
      SaveAsChosenList();
      break;
    case kSave:
      SaveAndClose();
      break;
    case kNewDirectory:
      NewDirectory();
      break;
    case kRemove:
      Remove();
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace tarvo
