// The Win32 file-system seam and crash-safe saving, under Wine or Windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "browser/file_list.h"
#include "browser/file_system.h"
#include "browser/headless_list.h"
#include "browser/replace_file.h"

namespace tarvo {
namespace {

class WinFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    root_ = std::string(temp) + "tarvo-fs-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(root_.c_str(), nullptr);
    CreateDirectoryA((root_ + "\\Sub").c_str(), nullptr);
    Write(root_ + "\\file.txt", "12345");
    Write(root_ + "\\hidden.bin", "x");
    SetFileAttributesA((root_ + "\\hidden.bin").c_str(), FILE_ATTRIBUTE_HIDDEN);
  }
  void TearDown() override {
    SetFileAttributesA((root_ + "\\hidden.bin").c_str(), FILE_ATTRIBUTE_NORMAL);
    for (const char* name : {"\\file.txt", "\\hidden.bin", "\\list.dat", "\\list.dat.tmp~"})
      DeleteFileA((root_ + name).c_str());
    RemoveDirectoryA((root_ + "\\Sub").c_str());
    RemoveDirectoryA(root_.c_str());
  }
  static void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }

  std::string root_;
  std::unique_ptr<FileSystem> fs_ = MakeSystemFileSystem();
};

TEST_F(WinFileSystemTest, ListsEveryAttributeKindAndLooksEntriesUp) {
  std::vector<FileInfo> entries;
  ASSERT_TRUE(fs_->ListFolder(root_ + "\\", entries));
  std::sort(entries.begin(), entries.end(), [](const FileInfo& a, const FileInfo& b) { return a.name < b.name; });
  ASSERT_EQ(entries.size(), 3u) << "no \".\" or \"..\"";
  EXPECT_EQ(entries[0].name, "Sub");
  EXPECT_TRUE(entries[0].IsDirectory());
  EXPECT_EQ(entries[1].name, "file.txt");
  EXPECT_EQ(entries[1].size, 5u);
  EXPECT_EQ(entries[1].modified.second % 2, 0);
  EXPECT_EQ(entries[1].modified.milliseconds, 0);
  EXPECT_GE(entries[1].modified.year, 2020);
  EXPECT_EQ(entries[2].name, "hidden.bin");
  EXPECT_NE(entries[2].attributes & kFileAttributeHidden, 0u);

  FileInfo info;
  ASSERT_TRUE(fs_->Lookup(root_ + "\\FILE.TXT", info));
  EXPECT_EQ(info.size, 5u);
  EXPECT_FALSE(fs_->Lookup(root_ + "\\none.txt", info));
  EXPECT_TRUE(fs_->Exists(root_ + "\\Sub\\"));
  EXPECT_TRUE(fs_->Exists(root_ + "\\"));
  EXPECT_FALSE(fs_->Exists(root_ + "\\none\\"));
  EXPECT_EQ(fs_->FullPath(root_ + "/Sub/"), root_ + "\\Sub");
  EXPECT_EQ(fs_->Separator(), '\\');
}

TEST_F(WinFileSystemTest, SavingReplacesAnExistingFile) {
  const std::string target = root_ + "\\list.dat";
  Write(target, "old contents");
  ASSERT_TRUE(WriteFileReplacing(target, {1, 2, 3}));
  std::ifstream in(target, std::ios::binary);
  const std::string now((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(now, std::string("\1\2\3"));
  EXPECT_EQ(GetFileAttributesA(ReplacementPath(target).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(WinFileSystemTest, TheHeadlessListUsesBackslashPaths) {
  class Silent final : public UserSeam {
   public:
    int ShowMessage(const std::string&, const std::string&, unsigned) override { return kIdNo; }
  } user;
  const std::string out = root_ + "\\list.dat";
  ASSERT_EQ(TarvoIsoList(out, {root_ + "\\Sub", root_ + "/Sub/"}, *fs_, user), 1) << "Sub is added twice";
  ASSERT_EQ(TarvoIsoList(out, {root_}, *fs_, user), 0);
  FileList list;
  std::string detail;
  ASSERT_EQ(ReadFileList(out, list, detail), ListStatus::Ok) << detail;
  ASSERT_GE(list.records.size(), 2u);
  EXPECT_EQ(list.records[0].sourcePath, root_ + "\\");
  EXPECT_EQ(list.records[1].sourcePath, root_ + "\\");
}

}  // namespace
}  // namespace tarvo
