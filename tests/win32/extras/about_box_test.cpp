// The About box on the real template: its product list, the web-site buttons
// with a launcher that never starts a browser, and closing.
#include "app/win32/about_box.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/browser_command.h"
#include "modal_steps.h"
#include "test_environment.h"

namespace tarvo {
namespace {

using test::FindThreadDialog;
using test::MessageBoxText;
using test::ModalSteps;

struct Attempt {
  HWND parent;
  std::string verb, program, parameters, directory;
  int show;
};
std::vector<Attempt> g_attempts;
size_t g_succeedAt = 0;  // 1-based attempt that succeeds; 0: none

INT_PTR FakeLauncher(HWND parent, const char* verb, const char* program, const char* parameters,
                     const char* directory, int show) {
  g_attempts.push_back({parent, verb, program, parameters, directory, show});
  return g_attempts.size() == g_succeedAt ? 42 : SE_ERR_FNF;
}

// The registry's browser command, set for the test and put back afterwards.
class BrowserCommand {
 public:
  explicit BrowserCommand(const char* command) {
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, kBrowserCommandKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    DWORD size = sizeof saved_ - 1;
    hadValue_ = RegQueryValueExA(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(saved_), &size) ==
                ERROR_SUCCESS;
    RegSetValueExA(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command), lstrlenA(command) + 1);
  }
  ~BrowserCommand() {
    if (hadValue_) {
      RegSetValueExA(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(saved_), lstrlenA(saved_) + 1);
    } else {
      RegDeleteValueA(key_, nullptr);
    }
    RegCloseKey(key_);
  }
  BrowserCommand(const BrowserCommand&) = delete;
  BrowserCommand& operator=(const BrowserCommand&) = delete;

 private:
  HKEY key_ = nullptr;
  char saved_[512] = {};
  bool hadValue_ = false;
};

class AboutBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_attempts.clear();
    g_succeedAt = 0;
    previous_ = SetProgramLauncher(FakeLauncher);
  }
  void TearDown() override { SetProgramLauncher(previous_); }

  static std::string ItemText(HWND list, int item) {
    char text[256] = {};
    LVITEMA lv = {};
    lv.iSubItem = 0;
    lv.pszText = text;
    lv.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&lv));
    return text;
  }

  test::FakeMainDialog main_;
  BrowserCommand browser_{"\"C:\\Program Files\\Web Browser\\web.exe\" -url \"%1\""};
  ProgramLauncher previous_ = nullptr;
};

TEST_F(AboutBoxTest, ListsTheEightProductsUnderItsColumn) {
  int rows = -1, images = -1, image = -1;
  std::string column, first, last;
  int width = 0;
  HWND owner = nullptr;
  ModalSteps steps({[&] {
    HWND about = FindThreadDialog("Tarvo - About");
    if (about == nullptr) return false;
    owner = GetWindow(about, GW_OWNER);
    HWND list = GetDlgItem(about, 429);
    rows = int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    char text[64] = {};
    LVCOLUMNA col = {};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = text;
    col.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
    column = text;
    width = col.cx;
    first = ItemText(list, 0);
    last = ItemText(list, 7);
    images = ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0)));
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = 7;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    image = item.iImage;
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    return true;
  }});
  ShowAboutBox(main_.get());
  ASSERT_TRUE(steps.Finished());
  EXPECT_EQ(owner, main_.get());
  EXPECT_EQ(rows, 8);
  EXPECT_EQ(column, "Other Author softwares");
  EXPECT_EQ(width, 600);
  EXPECT_EQ(first.rfind("Tarvo - ", 0), 0u) << first;
  EXPECT_FALSE(last.empty());
  EXPECT_EQ(images, 1);
  EXPECT_EQ(image, 0);
  EXPECT_TRUE(g_attempts.empty());
}

TEST_F(AboutBoxTest, EveryBrowserFailingShowsTheErrorAndTheBoxStaysOpen) {
  std::string text;
  HWND about = nullptr, boxOwner = nullptr;
  bool openAfterError = false;
  ModalSteps steps({
      [&] {
        about = FindThreadDialog("Tarvo - About");
        if (about) PostMessageA(about, WM_COMMAND, 427, 0);
        return about != nullptr;
      },
      [&] {
        HWND box = FindThreadDialog(nullptr);
        if (box == nullptr || box == about) return false;
        text = MessageBoxText(box);
        boxOwner = GetWindow(box, GW_OWNER);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
      },
      [&] {
        if (FindThreadDialog(nullptr) != about) return false;  // the error box is still closing
        openAfterError = IsWindowVisible(about) != 0;
        PostMessageA(about, WM_COMMAND, IDOK, 0);
        return true;
      },
  });
  ShowAboutBox(main_.get());
  ASSERT_TRUE(steps.Finished());
  EXPECT_EQ(text, "Error while opening Firefox.exe or Iexplore.exe");
  EXPECT_EQ(boxOwner, about);
  EXPECT_TRUE(openAfterError);
  EXPECT_FALSE(IsIconic(main_.get()));

  // The registry's browser (its quoted path, blanks and all), then the two
  // fallbacks, the last one from the About box.
  ASSERT_EQ(g_attempts.size(), 3u);
  const std::pair<const char*, HWND> expected[] = {
      {"C:\\Program Files\\Web Browser\\web.exe", main_.get()}, {"Iexplore.exe", main_.get()}, {"Firefox.exe", about}};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(g_attempts[i].program, expected[i].first);
    EXPECT_EQ(g_attempts[i].parent, expected[i].second) << i;
    EXPECT_EQ(g_attempts[i].verb, "open");
    EXPECT_EQ(g_attempts[i].parameters, kWebSiteAddress);
    EXPECT_EQ(g_attempts[i].directory, App().programDir);
    EXPECT_EQ(g_attempts[i].show, SW_SHOW);
  }
}

TEST_F(AboutBoxTest, AnOpenedBrowserClosesTheBoxAndMinimisesTheMainDialog) {
  g_succeedAt = 2;  // Iexplore.exe
  ModalSteps steps({[&] {
    HWND about = FindThreadDialog("Tarvo - About");
    if (about) PostMessageA(about, WM_COMMAND, 428, 0);
    return about != nullptr;
  }});
  ShowAboutBox(main_.get());
  ASSERT_TRUE(steps.Finished());
  ASSERT_EQ(g_attempts.size(), 2u);
  EXPECT_EQ(g_attempts[1].program, "Iexplore.exe");
  EXPECT_EQ(g_attempts[1].parameters, kProgramsAddress);
  EXPECT_TRUE(IsIconic(main_.get()));
}

TEST_F(AboutBoxTest, TheCloseBoxClosesIt) {
  ModalSteps steps({[&] {
    HWND about = FindThreadDialog("Tarvo - About");
    if (about) PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0);
    return about != nullptr;
  }});
  ShowAboutBox(main_.get());
  EXPECT_TRUE(steps.Finished());
  EXPECT_EQ(FindThreadDialog("Tarvo - About"), nullptr);
}

}  // namespace
}  // namespace tarvo
