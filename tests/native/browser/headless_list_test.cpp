// The headless list command on the machine's own file system.
#include "browser/headless_list.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "browser/file_list.h"
#include "browser_test_support.h"

namespace tarvo {
namespace {

namespace fs = std::filesystem;

class HeadlessList : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("tarvo-headless-" + std::to_string(getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "src" / "sub");
    fs::create_directories(root_ / "src" / "empty");
    fs::create_directories(root_ / "src" / ".svn");
    fs::create_directories(root_ / "other" / "src");
    File(root_ / "src" / "b.txt", 3);
    File(root_ / "src" / "A.txt", 5);
    File(root_ / "src" / "Win386.Swp", 8);
    File(root_ / "src" / ".rc", 1);
    File(root_ / "src" / "sub" / "c.bin", 2048);
    File(root_ / "src" / ".svn" / "entries", 1);
    fs::create_directory_symlink(root_ / "src", root_ / "src" / "sub" / "loop");
  }
  void TearDown() override { fs::remove_all(root_); }

  static void File(const fs::path& path, size_t size) { std::ofstream(path) << std::string(size, 'x'); }
  std::string P(const std::string& relative) const { return (root_ / relative).string(); }

  fs::path root_;
  std::unique_ptr<FileSystem> system_ = MakeSystemFileSystem();
  testing::ScriptedUser user_;
};

TEST_F(HeadlessList, AddsFoldersAsTheBrowserDoesAndSavesTheList) {
  ASSERT_EQ(TarvoIsoList(P("out.dat"), {P("src")}, *system_, user_), 0);
  EXPECT_TRUE(user_.shown.empty());
  FileList list;
  std::string detail;
  ASSERT_EQ(ReadFileList(P("out.dat"), list, detail), ListStatus::Ok) << detail;

  std::vector<std::string> lines;
  for (const ListRecord& r : list.records) {
    const std::string where = r.IsMarker() ? "marker" : r.sourcePath.substr(root_.string().size());
    lines.push_back(std::to_string(r.level) + " " + r.name + " " + where);
  }
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "0 src /src/", "1 .rc /src/", "1 A.txt /src/", "1 b.txt /src/", "1 empty /src/",
                       "2 a marker", "1 sub /src/", "2 c.bin /src/sub/"}))
      << "dot-folders, the swap file and links to folders are left out";
  EXPECT_EQ(list.records[7].size, 2048u);
  EXPECT_EQ(list.levelCount, 3u);
  EXPECT_EQ(list.directoryCapacity, 13u);
}

TEST_F(HeadlessList, RefusesMissingFoldersAndNameClashes) {
  EXPECT_EQ(TarvoIsoList(P("out.dat"), {P("nothing-here")}, *system_, user_), 1);
  ASSERT_EQ(user_.shown.size(), 1u);
  EXPECT_NE(user_.shown[0].text.find("Can't find a directory"), std::string::npos);

  EXPECT_EQ(TarvoIsoList(P("out.dat"), {P("src"), P("other/src")}, *system_, user_), 1);
  EXPECT_EQ(user_.shown.back().text,
            "This directory already exist. You must set a new name or remove existing directory with the same name.");
  EXPECT_FALSE(fs::exists(P("out.dat"))) << "nothing written after a refusal";

  EXPECT_EQ(TarvoIsoList(P("no-folder/out.dat"), {P("src")}, *system_, user_), 1);
}

}  // namespace
}  // namespace tarvo
