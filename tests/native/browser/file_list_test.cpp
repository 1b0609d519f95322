#include "browser/file_list.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "browser/list_files.h"
#include "browser/replace_file.h"
#include "browser_test_support.h"
#include "list_bytes.h"

namespace tarvo {
namespace {

using testing::Bench;
using testing::ListBytes;

constexpr SystemTime kDate{2007, 5, 2, 15, 10, 20, 30, 0};

class ListFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("tarvo-list-" + std::to_string(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  static std::vector<uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  static void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
  }

  std::filesystem::path dir_;
};

EntryId Put(CompilationTree& tree, const std::string& name, EntryId parent, EntryId after, EntryKind kind,
            uint32_t size, uint32_t attributes, const std::string& path) {
  CompilationEntry e;
  e.kind = kind;
  e.date = kDate;
  e.size = size;
  e.attributes = attributes;
  e.sourcePath = path;
  return tree.InsertEntry(name, parent, after, e);
}

TEST_F(ListFiles, SavedBytesAreExactAndLoadingThemGivesTheSameBytesBack) {
  struct Case {
    const char* what;
    void (*build)(CompilationTree&);
    std::vector<uint8_t> expected;
  };
  const std::vector<Case> cases = {
      {"empty list", [](CompilationTree&) {}, ListBytes().Header(1, 10).bytes},
      {"single file",
       [](CompilationTree& t) { Put(t, "readme.txt", kRootEntry, kFirstPosition, EntryKind::Local, 5000, 0x20, "C:\\in\\"); },
       ListBytes().Header(1, 10).Record(0, "readme.txt", "C:\\in\\", 0, 5000, 0x20).bytes},
      {"empty directory and its marker",
       [](CompilationTree& t) { Put(t, "empty", kRootEntry, kFirstPosition, EntryKind::Created, 0, 0x10, ""); },
       ListBytes().Header(2, 11).Record(0, "empty", "", 100, 0, 0x10).Record(1, "a", "a", 50, 0, 0x10).bytes},
      {"a directory whose first entry is an empty directory",
       [](CompilationTree& t) {
         const EntryId top = Put(t, "top", kRootEntry, kFirstPosition, EntryKind::Local, 0, 0x10, "C:\\");
         const EntryId e = Put(t, "e", top, kFirstPosition, EntryKind::Local, 0, 0x11, "C:\\top\\");
         Put(t, "f", top, e, EntryKind::Local, 7, 0x20, "C:\\top\\");
         Put(t, "last", kRootEntry, top, EntryKind::Recorded, 9, 0x21, "E:\\");
       },
       ListBytes()
           .Header(3, 12)
           .Record(0, "top", "C:\\", 0, 0, 0x10)
           .Record(1, "e", "C:\\top\\", 0, 0, 0x11)
           .Record(2, "a", "a", 50, 0, 0x11)
           .Record(1, "f", "C:\\top\\", 0, 7, 0x20)
           .Record(0, "last", "E:\\", 1, 9, 0x21)
           .bytes},
  };
  for (const Case& c : cases) {
    Bench b;
    b.fs.AddDirectory("C:\\in");
    b.fs.AddDirectory("C:\\top");
    c.build(b.tree);
    ASSERT_EQ(SaveList(b.tree, Path("list.dat"), b.gauge), 1) << c.what;
    const std::vector<uint8_t> saved = Bytes(Path("list.dat"));
    EXPECT_EQ(saved, c.expected) << c.what;
    EXPECT_EQ(b.gauge.resets, b.tree.Empty() ? 1 : 0) << c.what;

    Bench again;
    again.fs.AddDirectory("C:\\in");
    again.fs.AddDirectory("C:\\top");
    ASSERT_EQ(LoadList(again.tree, Path("list.dat"), again.fs, again.user), 1) << c.what;
    EXPECT_TRUE(again.user.shown.empty()) << c.what;
    ASSERT_EQ(SaveList(again.tree, Path("again.dat"), again.gauge), 1) << c.what;
    EXPECT_EQ(Bytes(Path("again.dat")), c.expected) << c.what;
  }
}

TEST_F(ListFiles, LoadingKeepsTheOrderOfTheFile) {
  Write(Path("l.dat"), ListBytes()
                           .Header(2, 11)
                           .Record(0, "zeta", "", 100, 0, 0x10)
                           .Record(1, "b", "", 1, 1, 0x20)
                           .Record(1, "A", "", 1, 1, 0x20)
                           .Record(0, "alpha", "", 1, 1, 0x20)
                           .bytes);
  Bench b;
  ASSERT_EQ(LoadList(b.tree, Path("l.dat"), b.fs, b.user), 1);
  EXPECT_EQ(b.Names(), (std::vector<std::string>{"zeta", "alpha"}));
  EXPECT_EQ(b.Names(b.Child(kRootEntry, "zeta")), (std::vector<std::string>{"b", "A"}));
  EXPECT_TRUE(b.gauge.adds.empty()) << "loading charges nothing";
}

TEST_F(ListFiles, WrongShortOrUnreadableHeadersLeaveAnEmptyTree) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    bool message;
  };
  const std::vector<Case> cases = {
      {"empty file", {}, true},
      {"shorter than the magic", ListBytes().Raw("MORVELINE_FILE").bytes, true},
      {"magic in another case", ListBytes().Raw("morveline_file_iso_1.00").U32(1).U32(10).bytes, true},
      {"magic of another version", ListBytes().Raw("MORVELINE_FILE_ISO_1.01").U32(1).U32(10).bytes, true},
      {"header cut after the magic", ListBytes().Raw("MORVELINE_FILE_ISO_1.00").U32(1).U8(10).bytes, false},
  };
  for (const Case& c : cases) {
    Write(Path("bad.dat"), c.bytes);
    Bench b;
    Put(b.tree, "kept?", kRootEntry, kFirstPosition, EntryKind::Created, 0, 0x10, "");
    EXPECT_EQ(LoadList(b.tree, Path("bad.dat"), b.fs, b.user), 0) << c.what;
    EXPECT_TRUE(b.tree.Empty()) << c.what;
    ASSERT_EQ(b.user.shown.size(), c.message ? 1u : 0u) << c.what;
    if (c.message) {
      EXPECT_EQ(b.user.shown[0].text, "This file is not a data file list, saved by this software.");
      EXPECT_EQ(b.user.shown[0].style, kMbIconStop);
    }
  }
  Bench b;
  Put(b.tree, "x", kRootEntry, kFirstPosition, EntryKind::Created, 0, 0x10, "");
  EXPECT_EQ(LoadList(b.tree, Path("missing.dat"), b.fs, b.user), 0);
  EXPECT_TRUE(b.tree.Empty());
  EXPECT_TRUE(b.user.shown.empty());
}

TEST_F(ListFiles, MissingSourcesAreLeftOutWithTheirSubtreesAndWarnedUntilNo) {
  Write(Path("l.dat"), ListBytes()
                           .Header(3, 13)
                           .Record(0, "gone", "C:\\gone\\", 0, 0, 0x10)
                           .Record(1, "made", "", 100, 0, 0x10)
                           .Record(2, "a", "a", 50, 0, 0x10)
                           .Record(1, "inner.txt", "C:\\gone\\", 0, 1, 0x20)
                           .Record(0, "lost.txt", "C:\\lost\\", 0, 1, 0x20)
                           .Record(0, "ok.txt", "C:\\in\\", 0, 1, 0x20)
                           .Record(0, "old.txt", "E:\\nowhere\\", 1, 1, 0x20)
                           .Record(0, "also-lost.txt", "C:\\lost2\\", 0, 1, 0x20)
                           .Record(0, "box", "", 100, 0, 0x10)
                           .Record(1, "in-box.txt", "C:\\lost\\", 0, 1, 0x20)
                           .bytes);
  Bench b;
  b.fs.AddDirectory("C:\\in");
  b.user.answers = {kIdYes, kIdNo};
  ASSERT_EQ(LoadList(b.tree, Path("l.dat"), b.fs, b.user), 1);
  EXPECT_EQ(b.Names(), (std::vector<std::string>{"ok.txt", "old.txt", "box"}))
      << "Recorded and Created entries are not tested";
  EXPECT_TRUE(b.Names(b.Child(kRootEntry, "box")).empty());
  ASSERT_EQ(b.user.shown.size(), 2u) << "after No no further question";
  EXPECT_EQ(b.user.shown[0].text,
            "Can't find a Directory: C:\\gone\\\n\nWarn me again if any other file or directory missing ?");
  EXPECT_EQ(b.user.shown[1].text,
            "Can't find a File: C:\\lost\\\n\nWarn me again if any other file or directory missing ?");
  EXPECT_EQ(b.user.shown[0].style, kMbYesNo | kMbIconStop);
}

TEST_F(ListFiles, SavingReplacesTheOldListOnlyWhenTheNewOneIsComplete) {
  Bench b;
  Put(b.tree, "one", kRootEntry, kFirstPosition, EntryKind::Created, 0, 0x10, "");
  const std::string target = Path("list.dat");
  const std::vector<uint8_t> old = ListBytes().Header(1, 10).bytes;
  Write(target, old);

  // The file beside the target can't be made: the old list stays whole.
  std::filesystem::create_directory(ReplacementPath(target));
  EXPECT_EQ(SaveList(b.tree, target, b.gauge), 0);
  EXPECT_EQ(Bytes(target), old);
  std::filesystem::remove(ReplacementPath(target));

  ASSERT_EQ(SaveList(b.tree, target, b.gauge), 1);
  EXPECT_EQ(Bytes(target).size(), 31u + 2 * 33 + 3 + 2);
  EXPECT_FALSE(std::filesystem::exists(ReplacementPath(target)));

  EXPECT_EQ(SaveList(b.tree, Path("no-such-folder/list.dat"), b.gauge), 0);
  std::filesystem::create_directory(Path("a-folder"));
  EXPECT_EQ(SaveList(b.tree, Path("a-folder"), b.gauge), 0) << "a folder is not replaced";
  EXPECT_TRUE(std::filesystem::is_directory(Path("a-folder")));
  EXPECT_FALSE(std::filesystem::exists(ReplacementPath(Path("a-folder"))));
}

TEST(ListPaths, DefaultListsLiveInTheProgramDirectory) {
  EXPECT_EQ(DefaultListPath("C:\\Tarvo", 0), "C:\\Tarvo\\defiso01.dat");
  EXPECT_EQ(DefaultListPath("C:\\Tarvo", 2), "C:\\Tarvo\\defiso02.dat");
  EXPECT_EQ(currentListPath, "") << "empty when the program starts";
}

}  // namespace
}  // namespace tarvo
