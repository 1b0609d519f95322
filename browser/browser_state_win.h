// The state of the one compilation browser window, shared by the files that
// make it up: the window and its controls, the compilation it edits, the
// source tree's flags and the disc tree's mirror of the model.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "browser/compilation_commands.h"
#include "browser/disc_tree_win.h"
#include "browser/file_system.h"
#include "common/user_seam.h"

namespace tarvo {

inline constexpr int kSourceTreeId = 500;
inline constexpr int kDiscTreeId = 501;
inline constexpr int kStatusBarId = 11;
inline constexpr int kFirstButtonId = 600;
inline constexpr int kButtonCount = 6;
inline constexpr WORD kInitCommand = 123;
inline constexpr int kNameLimit = 260;

// Image list order, the same in both trees; drives' own icons follow.
inline constexpr int kImageFile = 0;
inline constexpr int kImageFolder = 1;
inline constexpr int kImageFolderSelected = 2;
inline constexpr int kImageDrive = 3;

// The user seam of the browser: boxes owned by the browser window, the name
// dialog, and the busy cursor with the mouse captured.
class BrowserUser final : public UserSeam {
 public:
  int ShowMessage(const std::string& text, const std::string& caption, unsigned style) override;
  bool AskName(std::string& name) override;
  void SetBusy(bool busy) override;
};

struct BrowserState {
  HWND window = nullptr;
  HWND mainDialog = nullptr;
  HWND sourceTree = nullptr;
  HWND discTree = nullptr;
  HWND statusBar = nullptr;
  int statusHeight = 0;
  int page = 0;  // the main dialog's page it serves
  int recorderRootIndex = -1;
  // Kept between openings, destroyed and rebuilt at the next one.
  HIMAGELIST sourceImages = nullptr;
  HIMAGELIST discImages = nullptr;
  std::vector<int> driveImages;  // image index per entry of the drive roots
  bool busyListing = false;
  char nameBuffer[kNameLimit] = {};

  std::unique_ptr<FileSystem> fileSystem;
  BrowserUser user;
  CompilationTree tree;
  DiscTreeView discView;
  std::unique_ptr<CompilationContext> context;
};

BrowserState& Browser();

// The source path of the item last selected in the source tree, ending in a
// backslash; it lives for the whole run.
std::string& SelectedSourcePath();

// A drive root of the main dialog ("C:\\") and its GetDriveType value.
struct BrowserDrive {
  std::string root;
  UINT type = 0;
};
std::vector<BrowserDrive> BrowserDrives();
// The drive-roots index of the first entry of the main dialog's drive list,
// or -1 when the list is empty.
int FirstListedDriveIndex();

// Both trees' image lists start with the four icons, in the order above.
HIMAGELIST CreateBrowserImageList();

// The commands behind the buttons and the initialisation.
int32_t OnBrowserInit(HWND window, uint16_t id, uint16_t notification, LPARAM lParam);
int32_t OnBrowserButton(HWND window, uint16_t id, uint16_t notification, LPARAM lParam);
void CloseBrowser();
// Loading and saving the compilation with the disc tree's painting suspended,
// as Load list, SaveAs list and >>SAVE<< do after their dialogs.
int LoadBrowserList(const std::string& path);
int SaveBrowserList(const std::string& path);

// The status bar's part edges and texts from the gauge.
void RefreshStatusBar();

}  // namespace tarvo
