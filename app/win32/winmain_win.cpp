// Start-up: title, program directory, fonts, settings, window classes, then
// the main dialog's modal loop, which is the program's only message loop.
#include <windows.h>
#include <commctrl.h>

#include "app/settings.h"
#include "app/win32/app_state.h"
#include "app/win32/main_dialog.h"
#include "app/win32/window_classes.h"

namespace tarvo {
namespace {

void ReadProgramDir(char (&dir)[260]) {
  dir[0] = '\0';
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Tarvo", 0,
                    KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
    DWORD type = 0;
    DWORD size = sizeof dir - 1;
    if (RegQueryValueExA(key, "Path", nullptr, &type, reinterpret_cast<BYTE*>(dir), &size) != ERROR_SUCCESS) {
      dir[0] = '\0';
    } else {
      dir[size < sizeof dir ? size : sizeof dir - 1] = '\0';
    }
    RegCloseKey(key);
  }
  if (dir[0] == '\0') GetCurrentDirectoryA(sizeof dir, dir);
}

HFONT CreateUiFont(int height) {
  LOGFONTA font = {};
  font.lfHeight = height;
  font.lfWeight = 400;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_STROKE_PRECIS;
  font.lfClipPrecision = CLIP_STROKE_PRECIS;
  font.lfQuality = DRAFT_QUALITY;
  font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  lstrcpyA(font.lfFaceName, "MS Sans Serif");
  return CreateFontIndirectA(&font);
}

}  // namespace

int RunProgram(HINSTANCE instance) {
  AppState& app = App();
  app.instance = instance;
  LoadStringA(instance, 125, app.title, sizeof app.title);
  ReadProgramDir(app.programDir);
  app.smallFont = CreateUiFont(13);
  app.largeFont = CreateUiFont(18);
  LoadSettings(ProgramFile(kSettingsFileName), User());
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  if (!RegisterWindowClasses(instance)) return 0;
  DialogBoxParamA(instance, "IDD_BURNCD", nullptr, MainDialogProc, 0);
  return 0;
}

}  // namespace tarvo

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return tarvo::RunProgram(instance);
}
