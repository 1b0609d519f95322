// A manager without GetASPI32DLLVersion is refused, although that entry is
// never called: this folder's WNASPI32.DLL lacks it.
#include <windows.h>

#include <gtest/gtest.h>

#include "drive/aspi_transport_win.h"
#include "fakes.h"

namespace tarvo::testing {
namespace {

TEST(OpenAspiManager, ManagerLackingAnEntryIsRefusedWithTheLoadingMessage) {
  HMODULE present = LoadLibraryA("WNASPI32.DLL");
  ASSERT_NE(present, nullptr);
  ASSERT_NE(GetProcAddress(present, "SendASPI32Command"), nullptr);
  ASSERT_EQ(GetProcAddress(present, "GetASPI32DLLVersion"), nullptr);

  FakeUi ui;
  DriveAccess access(ui);
  EXPECT_EQ(OpenAspiManager(access), 0);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "Could not load: WNASPI32.DLL.\nYou must install ASPI drivers version 4.01 or "
            "later.\nYou can search an Internet for install files: \"ASPI.exe and ASPI32.exe\".");
  EXPECT_EQ(ui.messages[0].caption, "Tarvo");
  EXPECT_EQ(ui.messages[0].style, kMbIconStop);
  EXPECT_EQ(access.driveCount, 0);
  EXPECT_EQ(access.transport, nullptr);
  FreeLibrary(present);
}

}  // namespace
}  // namespace tarvo::testing
