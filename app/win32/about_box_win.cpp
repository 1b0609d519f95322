#include "app/win32/about_box.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "app/browser_command.h"
#include "app/res/dialog_ids.h"
#include "app/win32/app_state.h"
#include "app/win32/message_map.h"

namespace tarvo {
namespace {

constexpr const char* kProducts[] = {
    "Tarvo - records data CDs (CD-R and CD-RW, multi-session) and makes ISO-9660 image files",
    "tarvo-iso - list files and ISO-9660 images with a Joliet tree from the command line",
    "Tarvo virtual recorder - a CD recorder in software, presented as an ASPI manager",
    "isocheck - checks the structure of ISO-9660 volumes, several sessions included",
    "tarvo-uidriver - drives the windows of a program from the command line, for tests",
    "Tarvo CD-RW eraser - full, fast and last-session erase with a time estimate",
    "Tarvo sector viewer - the sectors of a disc decoded as ISO-9660 structures",
    "Tarvo drive report - disc, track and capability reports of CD recorders",
};

INT_PTR ShellLauncher(HWND parent, const char* verb, const char* program, const char* parameters,
                      const char* directory, int show) {
  return reinterpret_cast<INT_PTR>(ShellExecuteA(parent, verb, program, parameters, directory, show));
}

ProgramLauncher g_launcher = ShellLauncher;

// The program of the shell's open command for http addresses; empty when
// the registry does not say. The key is opened for reading only: asking for
// more fails for users without administrator rights.
std::string DefaultBrowserProgram() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kBrowserCommandKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return {};
  char command[256] = {};
  DWORD size = sizeof command - 1;
  DWORD type = 0;
  const LONG read = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(command), &size);
  RegCloseKey(key);
  if (read != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
  command[size < sizeof command ? size : sizeof command - 1] = '\0';
  return BrowserProgramFromCommand(command);
}

bool Launch(HWND parent, const std::string& program, const char* address) {
  return g_launcher(parent, "open", program.c_str(), address, App().programDir, SW_SHOW) > 32;
}

void FillProductList(HWND dialog) {
  HWND list = GetDlgItem(dialog, IDC_ABOUT_PRODUCTS);
  LVCOLUMNA column = {};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
  column.fmt = LVCFMT_LEFT;
  column.cx = 600;
  column.pszText = const_cast<char*>("Other Author softwares");
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));

  // Attached without LVS_SHAREIMAGELISTS: the list view destroys it.
  HIMAGELIST images = ImageList_Create(16, 16, ILC_MASK, 1, 0);
  if (images == nullptr) {
    MessageBoxA(App().mainDialog, "Can't create image list", nullptr, MB_ICONHAND);
    return;
  }
  HICON icon = static_cast<HICON>(LoadImageA(App().instance, "IDI_TAB1", IMAGE_ICON, 16, 16, 0));
  if (icon) {
    ImageList_AddIcon(images, icon);
    DestroyIcon(icon);
  }
  SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
  int row = 0;
  for (const char* product : kProducts) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = row++;
    item.pszText = const_cast<char*>(product);
    item.iImage = 0;
    SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  }
}

int32_t OnInitDialog(HWND dialog, UINT, WPARAM, LPARAM) {
  FillProductList(dialog);
  return TRUE;
}

int32_t OnCloseBox(HWND dialog, uint16_t, uint16_t, LPARAM) {
  EndDialog(dialog, 0);
  return 0;
}

// The registry's browser, then two well-known ones; the last is started with
// the About box as parent.
int32_t OnOpenWebSite(HWND dialog, uint16_t id, uint16_t, LPARAM) {
  const char* address = id == IDC_ABOUT_WEB_SITE_1 ? kWebSiteAddress : kProgramsAddress;
  HWND mainDialog = App().mainDialog;
  const std::string registered = DefaultBrowserProgram();
  const bool opened = (!registered.empty() && Launch(mainDialog, registered, address)) ||
                      Launch(mainDialog, kFallbackBrowser1, address) || Launch(dialog, kFallbackBrowser2, address);
  if (!opened) {
    MessageBoxA(dialog, kBrowserFailedText, nullptr, MB_OK);
    return 0;
  }
  EndDialog(dialog, 0);
  if (mainDialog) ShowWindow(mainDialog, SW_SHOWMINIMIZED);
  return 0;
}

// IDCANCEL (Escape and the close box) closes the box like OK does.
const CommandEntry kAboutCommands[] = {
    {IDOK, OnCloseBox},
    {IDC_ABOUT_WEB_SITE_1, OnOpenWebSite},
    {IDC_ABOUT_WEB_SITE_2, OnOpenWebSite},
    {IDCANCEL, OnCloseBox},
};
const MessageMap kAboutCommandMap = MakeCommandMap(kAboutCommands, kDefaultReturnZero);

int32_t OnAboutCommand(HWND dialog, UINT, WPARAM wParam, LPARAM lParam) {
  return int32_t(DispatchCommandMap(kAboutCommandMap, dialog, wParam, lParam));
}

const MessageEntry kAboutMessages[] = {{WM_COMMAND, OnAboutCommand}, {WM_INITDIALOG, OnInitDialog}};
const MessageMap kAboutMap = MakeMessageMap(kAboutMessages, kDefaultReturnZero);

}  // namespace

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchMessageMap(kAboutMap, dialog, message, wParam, lParam);
}

void ShowAboutBox(HWND owner) {
  DialogBoxParamA(App().instance, "DIALOGAUTHOR", owner, AboutDialogProc, 0);
}

ProgramLauncher SetProgramLauncher(ProgramLauncher launcher) {
  ProgramLauncher previous = g_launcher;
  g_launcher = launcher ? launcher : ShellLauncher;
  return previous;
}

}  // namespace tarvo
