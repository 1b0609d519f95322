// The help viewer on a real HQHELP window: opening, the menu, highlighting,
// the refused file and closing.
#include "app/win32/help_window.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "modal_steps.h"
#include "test_environment.h"

namespace tarvo {
namespace {

using test::FindThreadDialog;
using test::MessageBoxText;
using test::ModalSteps;
using test::WindowText;

const std::string kHelpText = std::string(kHelpMarkerLine) +
                              "\n{1090 Contents\nWelcome.\nSecond line.\n}\n"
                              "{1091 Program functions\nThe pages.\n}\n"
                              "{1093 Author softwares\nTools.\n}\n"
                              "{1094 History of Tarvo\nHow it began.\n}\n";

class HelpWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    WNDCLASSA help = {};
    help.style = CS_HREDRAW | CS_VREDRAW;
    help.lpfnWndProc = HelpWindowProc;
    help.hInstance = GetModuleHandleA(nullptr);
    help.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    help.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    help.lpszClassName = "HQHELP";
    RegisterClassA(&help);
  }
  void SetUp() override { WriteHelpFile(kHelpText); }
  void TearDown() override {
    if (HelpViewer().helpWindow) SendMessageA(HelpViewer().helpWindow, WM_CLOSE, 0, 0);
    std::remove(ProgramFile(kHelpFileName).c_str());
  }
  static void WriteHelpFile(const std::string& text) {
    FILE* f = std::fopen(ProgramFile(kHelpFileName).c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
  }
  static std::string Shown() { return WindowText(GetDlgItem(HelpViewer().helpWindow, kHelpTextAreaId)); }
  static void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }

  test::FakeMainDialog main_;
};

TEST_F(HelpWindowTest, OpensOwnedByTheMainDialogWithItsMenuAndTopic) {
  ShowHelpTopic(1090);
  HWND help = HelpViewer().helpWindow;
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(WindowText(help), "Tarvo Help");
  EXPECT_EQ(GetWindow(help, GW_OWNER), main_.get());
  EXPECT_EQ(HelpViewer().topic.title, "Contents");
  EXPECT_EQ(Shown(), "Welcome.\r\nSecond line.\r\n");

  HMENU bar = GetMenu(help);
  ASSERT_NE(bar, nullptr);
  char text[64] = {};
  GetMenuStringA(bar, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "Help Menu:");
  HMENU popup = GetSubMenu(bar, 0);
  ASSERT_EQ(GetMenuItemCount(popup), 4);
  const std::pair<UINT, const char*> items[] = {
      {1090, "Contents"}, {1091, "Program functions"}, {1093, "Author softwares"}, {1094, "History of Tarvo"}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(GetMenuItemID(popup, i), items[i].first);
    GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, items[i].second);
  }

  // The title bar: blue band painted over the top 20 pixels.
  UpdateWindow(help);
  Pump();
  HDC dc = GetDC(help);
  EXPECT_EQ(GetPixel(dc, 400, 10), RGB(0, 0, 255));
  ReleaseDC(help, dc);

  // A second call reuses the open window.
  ShowHelpTopic(1094);
  EXPECT_EQ(HelpViewer().helpWindow, help);
  EXPECT_EQ(Shown(), "How it began.\r\n");
}

TEST_F(HelpWindowTest, HighlightingAMenuItemLoadsItsTopic) {
  ShowHelpTopic(1090);
  HWND help = HelpViewer().helpWindow;
  HMENU popup = GetSubMenu(GetMenu(help), 0);
  struct Case {
    WPARAM wParam;
    const char* title;
    const char* body;
  };
  const Case cases[] = {
      {MAKEWPARAM(1091, MF_HILITE), "Program functions", "The pages.\r\n"},
      {MAKEWPARAM(1093, MF_HILITE | MF_MOUSESELECT), "Author softwares", "Tools.\r\n"},
      // The popup itself, a separator and the closing menu load nothing.
      {MAKEWPARAM(0, MF_HILITE | MF_POPUP), "Author softwares", "Tools.\r\n"},
      {MAKEWPARAM(1090, MF_SEPARATOR), "Author softwares", "Tools.\r\n"},
      {MAKEWPARAM(0, 0xFFFF), "Author softwares", "Tools.\r\n"},
      {MAKEWPARAM(1094, MF_HILITE), "History of Tarvo", "How it began.\r\n"},
  };
  for (const Case& c : cases) {
    SendMessageA(help, WM_MENUSELECT, c.wParam, reinterpret_cast<LPARAM>(popup));
    EXPECT_EQ(HelpViewer().topic.title, c.title) << std::hex << c.wParam;
    EXPECT_EQ(Shown(), c.body) << std::hex << c.wParam;
  }
  // Choosing the item (WM_COMMAND) does nothing beyond the highlight.
  SendMessageA(help, WM_COMMAND, 1090, 0);
  EXPECT_EQ(HelpViewer().topic.title, "History of Tarvo");
}

TEST_F(HelpWindowTest, AChangedFileIsRefusedAndAMissingOneKeepsTheText) {
  ShowHelpTopic(1091);
  WriteHelpFile(std::string(kHelpMarkerLine) + " \n{1090 Contents\nOther.\n}\n");
  std::string text, caption;
  HWND owner = nullptr;
  {
    ModalSteps steps({[&] {
      HWND box = FindThreadDialog(nullptr);
      if (box == nullptr) return false;
      text = MessageBoxText(box);
      caption = WindowText(box);
      owner = GetWindow(box, GW_OWNER);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      return true;
    }});
    ShowHelpTopic(1090);
    EXPECT_TRUE(steps.Finished());
  }
  EXPECT_EQ(text, "Error - Help file changed");
  EXPECT_EQ(caption, "Tarvo");
  EXPECT_EQ(owner, main_.get());
  EXPECT_EQ(Shown(), "The pages.\r\n");

  std::remove(ProgramFile(kHelpFileName).c_str());
  ShowHelpTopic(1094);
  EXPECT_EQ(HelpViewer().topic.title, "Program functions");
  EXPECT_EQ(Shown(), "The pages.\r\n");
  EXPECT_EQ(FindThreadDialog(nullptr), nullptr);
}

TEST_F(HelpWindowTest, ClosingForgetsTheWindowAndTheNextTopicOpensANewOne) {
  ShowHelpTopic(1090);
  HWND first = HelpViewer().helpWindow;
  SendMessageA(first, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_EQ(HelpViewer().helpWindow, nullptr);
  ShowHelpTopic(1093);
  ASSERT_NE(HelpViewer().helpWindow, nullptr);
  EXPECT_TRUE(IsWindow(HelpViewer().helpWindow));
  EXPECT_EQ(Shown(), "Tools.\r\n");
}

}  // namespace
}  // namespace tarvo
