#include "app/win32/help_window.h"

#include "app/win32/app_state.h"
#include "app/win32/main_dialog.h"
#include "app/win32/message_map.h"

namespace tarvo {

HelpViewerState& HelpViewer() {
  static HelpViewerState state;
  return state;
}

namespace {

constexpr int kTitleBarHeight = 20;

struct MenuItem {
  UINT id;
  const char* text;
};
constexpr MenuItem kHelpMenuItems[] = {
    {1090, "Contents"},
    {1091, "Program functions"},
    {1093, "Author softwares"},
    {1094, "History of Tarvo"},
};

HFONT CreateHelpFont() {
  LOGFONTA font = {};
  font.lfHeight = 16;
  font.lfWidth = 7;
  font.lfWeight = 700;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfPitchAndFamily = FF_SWISS;
  lstrcpyA(font.lfFaceName, "Verdana");
  return CreateFontIndirectA(&font);
}

// Objects selected into a device context go back out on every path.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, previous_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

class OwnedPen {
 public:
  explicit OwnedPen(COLORREF colour) : pen_(CreatePen(PS_SOLID, 1, colour)) {}
  ~OwnedPen() { DeleteObject(pen_); }
  OwnedPen(const OwnedPen&) = delete;
  OwnedPen& operator=(const OwnedPen&) = delete;
  HPEN get() const { return pen_; }

 private:
  HPEN pen_;
};

void PaintTitleBar(HWND window, HDC dc) {
  HelpViewerState& help = HelpViewer();
  RECT client;
  GetClientRect(window, &client);
  OwnedPen pen(RGB(0, 0, 0));
  {
    SelectedObject selectedPen(dc, pen.get());
    SelectedObject selectedBrush(dc, help.titleBrush);
    Rectangle(dc, 0, 0, client.right, kTitleBarHeight);
  }
  SelectedObject selectedFont(dc, help.helpFont);
  const int previousMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF previousColour = SetTextColor(dc, MainState().textColour);
  TextOutA(dc, 10, 2, help.topic.title.c_str(), int(help.topic.title.size()));
  SetTextColor(dc, previousColour);
  SetBkMode(dc, previousMode);
}

void RepaintTitleBarNow(HWND window) {
  HDC dc = GetDC(window);
  if (dc == nullptr) return;
  PaintTitleBar(window, dc);
  ReleaseDC(window, dc);
}

void LoadTopicIntoWindow(int topic) {
  HelpViewerState& help = HelpViewer();
  if (LoadHelpTopic(ProgramFile(kHelpFileName), topic, help.topic) == HelpLoad::kMarkerChanged) {
    MessageBoxA(App().mainDialog, "Error - Help file changed", App().title, MB_ICONHAND);
  }
  if (help.textArea) SendMessageA(help.textArea, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(help.topic.body.c_str()));
}

void BuildMenu(HWND window) {
  HMENU bar = CreateMenu();
  SetMenu(window, bar);
  HMENU popup = CreatePopupMenu();
  UINT position = 0;
  for (const MenuItem& item : kHelpMenuItems) {
    InsertMenuA(popup, position++, MF_BYPOSITION | MF_STRING, item.id, item.text);
  }
  InsertMenuA(bar, 0, MF_BYPOSITION | MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), "Help Menu:");
  DrawMenuBar(window);
}

int32_t OnCreate(HWND window, UINT, WPARAM, LPARAM) {
  HelpViewerState& help = HelpViewer();
  // One brush for the whole run, like the font: the window may be opened
  // and closed many times.
  if (help.titleBrush == nullptr) help.titleBrush = CreateSolidBrush(RGB(0, 0, 255));
  BuildMenu(window);
  RECT client;
  GetClientRect(window, &client);
  help.textArea = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY,
                                  10, 30, client.right - 10, client.bottom - 30, window,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kHelpTextAreaId)), App().instance, nullptr);
  SendMessageA(help.textArea, WM_SETFONT, reinterpret_cast<WPARAM>(help.helpFont), TRUE);
  return 0;
}

int32_t OnPaint(HWND window, UINT, WPARAM, LPARAM) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  PaintTitleBar(window, dc);
  EndPaint(window, &paint);
  return 0;
}

// Highlighting an item is enough to show its topic.
int32_t OnMenuSelect(HWND window, UINT, WPARAM wParam, LPARAM) {
  const UINT flags = HIWORD(wParam);
  if (flags == 0xFFFF || (flags & (MF_SEPARATOR | MF_POPUP)) != 0) return 0;
  LoadTopicIntoWindow(LOWORD(wParam));
  RepaintTitleBarNow(window);
  return 0;
}

int32_t OnClose(HWND window, UINT, WPARAM, LPARAM) {
  HelpViewerState& help = HelpViewer();
  DestroyWindow(window);
  help.helpWindow = nullptr;
  help.textArea = nullptr;
  return 0;
}

const MessageMap kHelpCommandMap{0, nullptr, kDefaultWindowProc};

int32_t OnHelpCommand(HWND window, UINT, WPARAM wParam, LPARAM lParam) {
  return int32_t(DispatchCommandMap(kHelpCommandMap, window, wParam, lParam));
}

const MessageEntry kHelpMessages[] = {
    {WM_COMMAND, OnHelpCommand}, {WM_CREATE, OnCreate}, {WM_PAINT, OnPaint},
    {WM_MENUSELECT, OnMenuSelect}, {WM_CLOSE, OnClose},
};
const MessageMap kHelpMap = MakeMessageMap(kHelpMessages, kDefaultWindowProc);

}  // namespace

LRESULT CALLBACK HelpWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchMessageMap(kHelpMap, window, message, wParam, lParam);
}

void ShowHelpTopic(int topic) {
  HelpViewerState& help = HelpViewer();
  // The owner's destruction takes the window with it without WM_CLOSE.
  if (help.helpWindow && !IsWindow(help.helpWindow)) help.helpWindow = help.textArea = nullptr;
  if (help.helpWindow == nullptr) {
    if (help.helpFont == nullptr) help.helpFont = CreateHelpFont();
    help.helpWindow = CreateWindowExA(WS_EX_DLGMODALFRAME, "HQHELP", "Tarvo Help",
                                      WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 600,
                                      440, App().mainDialog, nullptr, App().instance, nullptr);
    if (help.helpWindow == nullptr) MessageBoxA(App().mainDialog, "NO_HELP", nullptr, MB_OK);
  }
  LoadTopicIntoWindow(topic);
  // An open window shows the new title too, not only after a highlight.
  if (help.helpWindow) {
    RECT band{0, 0, 0x7FFF, kTitleBarHeight};
    InvalidateRect(help.helpWindow, &band, FALSE);
  }
}

}  // namespace tarvo
