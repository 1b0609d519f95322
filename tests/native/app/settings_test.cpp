#include "app/settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace tarvo {
namespace {

struct RecordingUser : UserSeam {
  std::vector<std::string> messages;
  int ShowMessage(const std::string& text, const std::string& caption, uint32_t style) override {
    messages.push_back(text + "|" + caption + "|" + std::to_string(style));
    return kIdOk;
  }
  void SetStatusText(const std::string&) override {}
  void SetInfoText(const std::string&) override {}
};

std::filesystem::path TempDir() {
  auto dir = std::filesystem::temp_directory_path() / ("tarvo-settings-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  return dir;
}

std::vector<uint8_t> ReadAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(Settings, MissingFileKeepsDefaultsAndSaysSoWithoutCaption) {
  RecordingUser user;
  CurrentSettings() = Settings{};
  CurrentSettings().copyFlag = 1;  // proves LoadSettings leaves the record alone
  std::string path = (TempDir() / "absent.cfg").string();
  EXPECT_EQ(LoadSettings(path, user), 0);
  ASSERT_EQ(user.messages.size(), 1u);
  EXPECT_EQ(user.messages[0], "Can't open config file: " + path + "||0");
  EXPECT_EQ(CurrentSettings().copyFlag, 1u);

  Settings defaults;
  EXPECT_EQ(defaults.multiSession, 1u);
  EXPECT_EQ(defaults.copyFlag, 0u);
  EXPECT_EQ(defaults.includeFileData, 0u);
  EXPECT_EQ(defaults.eraseMode, 1);
}

TEST(Settings, WritesTwentyOneLittleEndianBytesAndReadsThemBack) {
  RecordingUser user;
  CurrentSettings() = Settings{};
  CurrentSettings().multiSession = 0;
  CurrentSettings().eraseMode = 2;
  CurrentSettings().reserved = 0xA1B2C3D4;
  auto path = TempDir() / "tarvo.cfg";
  ASSERT_EQ(SaveSettings(path.string(), true, user), 1);
  const std::vector<uint8_t> expected = {1, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,
                                         0xD4, 0xC3, 0xB2, 0xA1,  2};
  EXPECT_EQ(ReadAll(path), expected);

  CurrentSettings() = Settings{};
  ASSERT_EQ(LoadSettings(path.string(), user), 1);
  EXPECT_EQ(CurrentSettings().multiSession, 0u);
  EXPECT_EQ(CurrentSettings().eraseMode, 2);
  EXPECT_EQ(CurrentSettings().reserved, 0xA1B2C3D4u);
  EXPECT_TRUE(user.messages.empty());
}

TEST(Settings, DecodesShortAndDamagedFiles) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    uint32_t multiSession, includeFileData, copyFlag;
    uint8_t eraseMode;
  };
  const Case cases[] = {
      {"empty file keeps every default", {}, 1, 0, 0, 1},
      {"two fields only", {0, 0, 0, 0, 0, 0, 0, 0}, 0, 0, 0, 1},
      {"a field cut in the middle keeps its default", {0, 0, 0, 0, 0, 0, 0, 0, 1, 0}, 0, 0, 0, 1},
      {"erase mode above 2 falls back to fast", {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 7}, 1, 0, 0, 1},
      {"check values other than 0 and 1 count as checked",
       {0, 0, 0, 0, 9, 0, 0, 0, 0, 0, 1, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0}, 1, 1, 1, 0},
  };
  for (const Case& c : cases) {
    Settings s = DecodeSettings(c.bytes.data(), c.bytes.size());
    EXPECT_EQ(s.multiSession, c.multiSession) << c.what;
    EXPECT_EQ(s.includeFileData, c.includeFileData) << c.what;
    EXPECT_EQ(s.copyFlag, c.copyFlag) << c.what;
    EXPECT_EQ(s.eraseMode, c.eraseMode) << c.what;
  }
}

TEST(Settings, UnwritableFolderReportsTheSaveFailure) {
  RecordingUser user;
  std::string path = (TempDir() / "no-such-folder" / "tarvo.cfg").string();
  EXPECT_EQ(SaveSettings(path, false, user), 0);
  ASSERT_EQ(user.messages.size(), 1u);
  EXPECT_EQ(user.messages[0], "Can't save config file: " + path + "||0");
}

}  // namespace
}  // namespace tarvo
