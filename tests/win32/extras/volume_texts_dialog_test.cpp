// IDD_PVD on the real template, and the filling from a disc's sector 16.
#include "app/win32/volume_texts_dialog.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/volume_texts.h"
#include "app/win32/dialog_drives.h"
#include "app/win32/main_dialog.h"
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
// it with `message` posted to the dialog.
void RunAndType(const std::string& preparer, const std::string& copyright, UINT message, WPARAM wParam,
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
  RunVolumeTextsDialog(App().mainDialog);
  EXPECT_TRUE(steps.Finished());
  EXPECT_EQ(FindThreadDialog(kCaption), nullptr);
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
  RunAndType(std::string(200, 'p'), std::string(40, 'c'), WM_COMMAND, IDOK, seen);
  EXPECT_EQ(seen.preparer, "old preparer");
  EXPECT_EQ(seen.copyright, "OLD.TXT");
  EXPECT_EQ(seen.application, "DISC APPLICATION");
  EXPECT_EQ(CurrentVolumeTexts().dataPreparer, std::string(127, 'p'));
  EXPECT_EQ(CurrentVolumeTexts().copyrightFile, std::string(36, 'c'));
  EXPECT_EQ(CurrentVolumeTexts().discApplicationId, "DISC APPLICATION");

  RunAndType("THE TARVO TEAM", "", WM_COMMAND, IDOK, seen);
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
    RunAndType("typed", "typed", way.message, way.wParam, seen);
    EXPECT_EQ(CurrentVolumeTexts().dataPreparer, "kept preparer") << way.name;
    EXPECT_EQ(CurrentVolumeTexts().copyrightFile, "KEPT.TXT") << way.name;
  }
}

TEST_F(VolumeTextsDialogTest, ANewDiscFillsTheTextsAndTheVolumeLabel) {
  VolumeTexts written{"PREPARED BY TARVO", "COPY.TXT", ""};
  std::string label = "DISC2";
  std::vector<uint8_t> sector(2048);
  BuildVolumeDescriptor(sector.data(), TreeKind::Primary, label, 400, 20, 21, 2048, 10, 22, written, RecordDate{});

  FillVolumeTextsFromSector(main_.get(), sector.data(), sector.size());
  EXPECT_EQ(WindowText(GetDlgItem(main_.get(), 301)), "DISC2");
  Seen seen;
  RunAndType("", "", WM_COMMAND, IDCANCEL, seen);
  EXPECT_EQ(seen.preparer, "PREPARED BY TARVO");
  EXPECT_EQ(seen.copyright, "COPY.TXT");
  EXPECT_EQ(seen.application, std::string(kApplicationIdentifier));

  // A failed read (no sector) leaves texts and label alone.
  SetDlgItemTextA(main_.get(), 301, "MINE");
  FillVolumeTextsFromSector(main_.get(), nullptr, 0);
  EXPECT_EQ(WindowText(GetDlgItem(main_.get(), 301)), "MINE");
  EXPECT_EQ(CurrentVolumeTexts().dataPreparer, "PREPARED BY TARVO");
}

// A drive whose sector 16 holds a volume descriptor, or whose READ(10)
// ends in CHECK CONDITION.
class Sector16Drive final : public ScsiTransport {
 public:
  std::vector<uint8_t> sector16 = std::vector<uint8_t>(2048);
  uint8_t status = kStatusGood;
  std::vector<uint8_t> lastCdb;
  int AdapterCount() override { return 1; }
  int MaxTargets(int) override { return 8; }
  int DeviceType(const DeviceAddress&) override { return kDeviceTypeCdrom; }
  uint8_t Execute(const DeviceAddress&, const uint8_t* cdb, DataDirection, uint8_t* buffer, uint32_t length,
                  WaitPolicy, const std::function<void()>&) override {
    lastCdb.assign(cdb, cdb + kCdbLength);
    if (status == kStatusGood && length >= sector16.size()) std::copy(sector16.begin(), sector16.end(), buffer);
    return status;
  }
};

TEST_F(VolumeTextsDialogTest, TheDiscArrivalReadsSector16OfTheDrive) {
  Sector16Drive drive;
  VolumeTexts written{"FROM THE DRIVE", "DRIVE.TXT", ""};
  std::string label = "ARRIVED";
  BuildVolumeDescriptor(drive.sector16.data(), TreeKind::Primary, label, 400, 20, 21, 2048, 10, 22, written,
                        RecordDate{});
  DriveAccess& access = Drives();
  access.transport = &drive;
  access.driveCount = 1;
  MainState().aspiReady = 1;

  drive.status = kStatusCheckCondition;
  FillVolumeTextsFromDisc(main_.get(), 0);
  EXPECT_EQ(CurrentVolumeTexts().dataPreparer, "");
  EXPECT_EQ(WindowText(GetDlgItem(main_.get(), 301)), "");

  drive.status = kStatusGood;
  FillVolumeTextsFromDisc(main_.get(), 0);
  // READ(10) of one block at LBA 16.
  const std::vector<uint8_t> read16 = {0x28, 0, 0, 0, 0, 16, 0, 0, 1, 0};
  EXPECT_EQ(drive.lastCdb, read16);
  EXPECT_EQ(CurrentVolumeTexts().dataPreparer, "FROM THE DRIVE");
  EXPECT_EQ(CurrentVolumeTexts().copyrightFile, "DRIVE.TXT");
  EXPECT_EQ(WindowText(GetDlgItem(main_.get(), 301)), "ARRIVED");

  // Without the ASPI manager nothing is read.
  MainState().aspiReady = 0;
  drive.lastCdb.clear();
  FillVolumeTextsFromDisc(main_.get(), 0);
  EXPECT_TRUE(drive.lastCdb.empty());

  access.transport = nullptr;
  access.driveCount = 0;
}

}  // namespace
}  // namespace tarvo
