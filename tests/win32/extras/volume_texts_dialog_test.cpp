// IDD_PVD on the real template, and the filling from a disc's sector 16.
#include "app/win32/volume_texts_dialog.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/volume_texts.h"
#include "modal_steps.h"
#include "test_environment.h"

namespace tarvo {
namespace {

using test::FindThreadDialog;
using test::ModalSteps;
using test::WindowText;

constexpr char kCaption[] = "Tarvo - Primary volume descriptor";

struct Seen {
  std::string preparer, copyright, application;
  bool applicationReadOnly = false;
};

// Opens the dialog, records what it shows, types into both edits, then ends
// it with `finish` (a message posted to the dialog).
INT_PTR RunAndType(const std::string& preparer, const std::string& copyright, UINT message, WPARAM wParam,
                   Seen& seen) {
  ModalSteps steps({[&] {
    HWND dialog = FindThreadDialog(kCaption);
    if (dialog == nullptr) return false;
    seen.preparer = WindowText(GetDlgItem(dialog, 1000));
    seen.copyright = WindowText(GetDlgItem(dialog, 1001));
    seen.application = WindowText(GetDlgItem(dialog, 1002));
    seen.applicationReadOnly = (GetWindowLongA(GetDlgItem(dialog, 1002), GWL_STYLE) & ES_READONLY) != 0;
    SetDlgItemTextA(dialog, 1000, preparer.c_str());
    SetDlgItemTextA(dialog, 1001, copyright.c_str());
    PostMessageA(dialog, message, wParam, 0);
    return true;
  }});
  const INT_PTR result = RunVolumeTextsDialog(nullptr);
  EXPECT_TRUE(steps.Finished());
  EXPECT_EQ(FindThreadDialog(kCaption), nullptr);
  return result;
}

class VolumeTextsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { CurrentVolumeTexts() = VolumeTexts{}; }
  test::FakeMainDialog main_;
};

TEST_F(VolumeTextsDialogTest, BeforeAnyDiscTheFieldsAreEmpty) {
  Seen seen;
  RunAndType("", "", WM_COMMAND, IDCANCEL, seen);
  EXPECT_EQ(seen.preparer, "");
  EXPECT_EQ(seen.copyright, "");
  EXPECT_EQ(seen.application, "");
  EXPECT_TRUE(seen.applicationReadOnly);
}

TEST_F(VolumeTextsDialogTest, OkStoresAtMost127And36Characters) {
  CurrentVolumeTexts() = {"old preparer", "OLD.TXT", "DISC APPLICATION"};
  Seen seen;
  EXPECT_EQ(RunAndType(std::string(200, 'p'), std::string(40, 'c'), WM_COMMAND, IDOK, seen), 1);
  EXPECT_EQ(seen.preparer, "old preparer");
  EXPECT_EQ(seen.copyright, "OLD.TXT");
  EXPECT_EQ(seen.application, "DISC APPLICATION");
  EXPECT_EQ(CurrentVolumeTexts().dataPreparer, std::string(127, 'p'));
  EXPECT_EQ(CurrentVolumeTexts().copyrightFile, std::string(36, 'c'));
  EXPECT_EQ(CurrentVolumeTexts().discApplicationId, "DISC APPLICATION");

  EXPECT_EQ(RunAndType("THE TARVO TEAM", "", WM_COMMAND, IDOK, seen), 1);
  EXPECT_EQ(CurrentVolumeTexts().dataPreparer, "THE TARVO TEAM");
  EXPECT_EQ(CurrentVolumeTexts().copyrightFile, "");
}

TEST_F(VolumeTextsDialogTest, CancelAndTheCloseBoxChangeNothing) {
  struct Way {
    const char* name;
    UINT message;
    WPARAM wParam;
  };
  const Way ways[] = {{"Cancel", WM_COMMAND, IDCANCEL}, {"WM_CLOSE", WM_CLOSE, 0}, {"close box", WM_SYSCOMMAND, SC_CLOSE}};
  for (const Way& way : ways) {
    CurrentVolumeTexts() = {"kept preparer", "KEPT.TXT", "APP"};
    Seen seen;
    EXPECT_EQ(RunAndType("typed", "typed", way.message, way.wParam, seen), 0) << way.name;
    EXPECT_EQ(CurrentVolumeTexts().dataPreparer, "kept preparer") << way.name;
    EXPECT_EQ(CurrentVolumeTexts().copyrightFile, "KEPT.TXT") << way.name;
  }
}

TEST_F(VolumeTextsDialogTest, ANewDiscFillsTheTextsAndTheVolumeLabel) {
  VolumeTexts written{"PREPARED BY TARVO", "COPY.TXT", ""};
  std::string label = "DISC2";
  std::vector<uint8_t> sector(2048);
  BuildVolumeDescriptor(sector.data(), TreeKind::Primary, label, 400, 20, 21, 2048, 10, 22, written, RecordDate{});

  FillVolumeTextsFromDisc(main_.get(), sector.data(), sector.size());
  EXPECT_EQ(WindowText(GetDlgItem(main_.get(), 301)), "DISC2");
  Seen seen;
  RunAndType("", "", WM_COMMAND, IDCANCEL, seen);
  EXPECT_EQ(seen.preparer, "PREPARED BY TARVO");
  EXPECT_EQ(seen.copyright, "COPY.TXT");
  EXPECT_EQ(seen.application, std::string(kApplicationIdentifier));

  // A failed read (no sector) leaves texts and label alone.
  SetDlgItemTextA(main_.get(), 301, "MINE");
  FillVolumeTextsFromDisc(main_.get(), nullptr, 0);
  EXPECT_EQ(WindowText(GetDlgItem(main_.get(), 301)), "MINE");
  EXPECT_EQ(CurrentVolumeTexts().dataPreparer, "PREPARED BY TARVO");
}

}  // namespace
}  // namespace tarvo
