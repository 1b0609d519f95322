#include "browser/browser_window_win.h"

#include "app/win32/app_state.h"
#include "app/win32/main_dialog.h"
#include "app/win32/message_map.h"
#include "browser/browser_state_win.h"
#include "browser/capacity_gauge.h"
#include "browser/source_tree_win.h"

namespace tarvo {

namespace {

constexpr const char* kClassName = "Browse_Burn_CD";
constexpr const char* kButtonTexts[kButtonCount] = {"Add ---->",     "Load list", "SaveAs list",
                                                   ">>SAVE<<",      "New directory", "Remove"};

HWND CreateTree(HWND parent, int id) {
  HWND tree = CreateWindowExA(WS_EX_CLIENTEDGE, WC_TREEVIEWA, "",
                              WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES |
                                  TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                              0, 0, 0, 0, parent, reinterpret_cast<HMENU>(INT_PTR(id)), App().instance, nullptr);
  SendMessageA(tree, WM_SETFONT, reinterpret_cast<WPARAM>(App().smallFont), FALSE);
  return tree;
}

void CreateControls(HWND window) {
  BrowserState& b = Browser();
  b.sourceTree = CreateTree(window, kSourceTreeId);
  b.discTree = CreateTree(window, kDiscTreeId);
  for (int i = 0; i < kButtonCount; ++i) {
    HWND button = CreateWindowExA(0, "BUTTON", kButtonTexts[i], WS_CHILD | WS_VISIBLE | BS_CENTER | BS_PUSHBUTTON,
                                  0, 0, 0, 0, window, reinterpret_cast<HMENU>(INT_PTR(kFirstButtonId + i)),
                                  App().instance, nullptr);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(App().largeFont), FALSE);
  }
  b.statusBar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE | WS_BORDER, "", window, kStatusBarId);
  RECT bar = {};
  GetWindowRect(b.statusBar, &bar);
  b.statusHeight = bar.bottom - bar.top;
}

void Layout(HWND window) {
  BrowserState& b = Browser();
  RECT client = {};
  GetClientRect(window, &client);
  const int width = client.right;
  const int height = client.bottom;
  MoveWindow(b.statusBar, 0, height - b.statusHeight, width, b.statusHeight, TRUE);
  RefreshStatusBar();
  const int treesHeight = height - b.statusHeight - 24;
  MoveWindow(b.sourceTree, 0, 24, width / 2, treesHeight, TRUE);
  MoveWindow(b.discTree, width / 2 + 2, 24, width - (width / 2 + 2), treesHeight, TRUE);
  const int button = width / 6;
  for (int i = 0; i < kButtonCount; ++i)
    MoveWindow(GetDlgItem(window, kFirstButtonId + i), button * i, 1, button, 22, TRUE);
}

int32_t OnSize(HWND window, UINT, WPARAM kind, LPARAM) {
  if (kind != SIZE_MINIMIZED && Browser().statusBar) Layout(window);
  return 0;
}

int32_t OnCloseBox(HWND, UINT, WPARAM, LPARAM) {
  CloseBrowser();
  return 0;
}

int32_t OnDestroy(HWND window, UINT, WPARAM, LPARAM) {
  BrowserState& b = Browser();
  if (b.window == window) b.window = nullptr;
  return 0;
}

LRESULT OnSourceNotify(const NMHDR& header, LPARAM lParam) {
  const auto& view = *reinterpret_cast<const NMTREEVIEWA*>(lParam);
  switch (header.code) {
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW:
      if ((view.action & TVE_EXPAND) != 0) OnSourceExpanded(view.itemNew.hItem);
      return 0;
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
      OnSourceSelected(view.itemNew.hItem);
      return 0;
    case TVN_KEYDOWN:
      return OnSourceKey(reinterpret_cast<const NMTVKEYDOWN*>(lParam)->wVKey);
    default:
      return 0;
  }
}

LRESULT OnDiscNotify(const NMHDR& header, LPARAM lParam) {
  BrowserState& b = Browser();
  switch (header.code) {
    case NM_CLICK:
      // The control selects the clicked item after this, so a click on empty
      // space leaves nothing selected: the root becomes the target.
      b.discView.ClearSelection();
      return 0;
    case TVN_DELETEITEMA:
    case TVN_DELETEITEMW:
      b.discView.ItemDeleted(reinterpret_cast<const NMTREEVIEWA*>(lParam)->itemOld.lParam);
      return 0;
    default:
      return 0;
  }
}

int32_t OnNotify(HWND, UINT, WPARAM, LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header == nullptr) return 0;
  if (header->idFrom == kSourceTreeId) return int32_t(OnSourceNotify(*header, lParam));
  if (header->idFrom == kDiscTreeId) return int32_t(OnDiscNotify(*header, lParam));
  return 0;
}

const CommandEntry kBrowserCommands[] = {
    {kInitCommand, OnBrowserInit}, {600, OnBrowserButton}, {601, OnBrowserButton}, {602, OnBrowserButton},
    {603, OnBrowserButton},        {604, OnBrowserButton}, {605, OnBrowserButton},
};
const MessageMap kBrowserCommandMap = MakeCommandMap(kBrowserCommands, kDefaultWindowProc);

int32_t OnCommand(HWND window, UINT, WPARAM wParam, LPARAM lParam) {
  return int32_t(DispatchCommandMap(kBrowserCommandMap, window, wParam, lParam));
}

const MessageEntry kBrowserMessages[] = {
    {WM_COMMAND, OnCommand}, {WM_NOTIFY, OnNotify}, {WM_SIZE, OnSize},
    {WM_CLOSE, OnCloseBox},  {WM_DESTROY, OnDestroy},
};
const MessageMap kBrowserMap = MakeMessageMap(kBrowserMessages, kDefaultWindowProc);

LRESULT CALLBACK BrowserWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchMessageMap(kBrowserMap, window, message, wParam, lParam);
}

}  // namespace

BrowserState& Browser() {
  static BrowserState state;
  return state;
}

std::string& SelectedSourcePath() {
  static std::string path = "C:\\";
  return path;
}

HWND BrowserWindow() { return Browser().window; }

HIMAGELIST CreateBrowserImageList() {
  HIMAGELIST images = ImageList_Create(16, 16, ILC_MASK | ILC_COLOR32, 4, 8);
  for (const char* name : {"ICON_DEFAULT_SMALL", "BFOLDER_ON", "BFOLDER_OFF", "BDRIVE_C"}) {
    HICON icon = static_cast<HICON>(LoadImageA(App().instance, name, IMAGE_ICON, 16, 16, 0));
    ImageList_ReplaceIcon(images, -1, icon);
    if (icon) DestroyIcon(icon);
  }
  return images;
}

bool RegisterBrowserClass(HINSTANCE instance) {
  WNDCLASSA browser = {};
  browser.style = CS_HREDRAW | CS_VREDRAW;
  browser.lpfnWndProc = BrowserWindowProc;
  browser.hInstance = instance;
  browser.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  browser.hbrBackground = reinterpret_cast<HBRUSH>(INT_PTR(5));
  browser.lpszClassName = kClassName;
  return RegisterClassA(&browser) != 0 || RegisterClassA(&browser) != 0;
}

void OpenBrowser(HWND dialog, int selectedRootIndex) {
  BrowserState& b = Browser();
  if (b.window != nullptr) {
    BringWindowToTop(b.window);
    return;
  }
  HWND window = CreateWindowExA(0, kClassName, "Burn to CD", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400,
                                dialog, nullptr, App().instance, nullptr);
  if (window == nullptr) return;
  b.window = window;
  b.mainDialog = dialog;
  b.page = MainState().currentPage;
  b.recorderRootIndex = selectedRootIndex;
  StopPollTimer(dialog);
  Gauge().BrowserOpened(b.page);
  if (!b.fileSystem) b.fileSystem = MakeSystemFileSystem();
  b.context = std::make_unique<CompilationContext>(CompilationContext{b.tree, *b.fileSystem, b.user, Gauge()});
  CreateControls(window);
  Layout(window);
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(kInitCommand, 0), LPARAM(selectedRootIndex));
}

void CloseBrowser() {
  BrowserState& b = Browser();
  if (b.window == nullptr) return;
  Gauge().BrowserClosed(b.page);
  // The entries go without charging anything.
  b.tree.SetObserver(nullptr);
  b.discView.Detach();
  b.tree.Clear();
  HWND window = b.window;
  DestroyWindow(window);
  b.window = nullptr;
  b.sourceTree = b.discTree = b.statusBar = nullptr;
  if (b.mainDialog) {
    BringWindowToTop(b.mainDialog);
    StartPollTimer(b.mainDialog, 3000);
  }
}

}  // namespace tarvo
