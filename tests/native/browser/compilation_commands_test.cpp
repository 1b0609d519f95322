#include "browser/compilation_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "browser_test_support.h"

namespace tarvo {
namespace {

using testing::Bench;

constexpr SystemTime kModified{2021, 6, 2, 15, 10, 20, 30, 0};
constexpr SystemTime kCreatedUtc{2020, 1, 3, 2, 8, 0, 0, 0};
constexpr SystemTime kLocalNow{2024, 3, 5, 12, 9, 30, 0, 250};
constexpr SystemTime kUtcNow{2024, 3, 5, 12, 8, 30, 0, 250};

const char* const kRecordedRefusal =
    "You can't Add To directories and files which was recorded before.\nNotes: Files and directories already "
    "recorded on the disc can not be removed unless you erase the disc.\nNotes2: If you want to hide existing "
    "files on the disc then just click on the \"Remove\" button to remove existing directories and files. In "
    "this case you will not be able to wiev and access this files anymore, but they will be still there on the "
    "disc.\nNotes3: To add new directories and/or files at the root of the tree view window, first click ones "
    "or twice on the empty space on the tree view window and then click on \"Add\" button.\nIf mistaken, "
    "DESELECT RIGHT TREE VIEW ITEM, by clicking on the empty space.";
const char* const kNameTaken =
    "This directory already exist. You must set a new name or remove existing directory with the same name.";

// A source folder whose listing is in no particular order.
void AddSourceFolder(MemoryFileSystem& fs) {
  fs.AddDirectory("C:\\src", kModified, kCreatedUtc);
  fs.AddFile("C:\\src\\zeta.txt", 10, kModified);
  fs.AddFile("C:\\src\\Alpha.doc", 20, kModified, kFileAttributeArchive | kFileAttributeReadOnly);
  fs.AddFile("C:\\src\\.git\\config", 7);
  fs.AddFile("C:\\src\\WIN386.swp", 999);
  fs.AddFile("C:\\src\\.profile", 5, kModified, kFileAttributeHidden);
  fs.AddDirectory("C:\\src\\sub", kModified);
  fs.AddFile("C:\\src\\sub\\b.txt", 3, kModified);
  fs.AddFile("C:\\src\\sub\\A.txt", 4, kModified);
  fs.AddFile("C:\\src\\sub\\.hidden\\x", 1);
  fs.AddDirectory("C:\\src\\empty", kModified);
}

TEST(AddFromSource, WalksAFolderSkippingDotFoldersAndTheSwapFile) {
  Bench b;
  AddSourceFolder(b.fs);
  const SourceItem src{"src", SourceKind::Directory};
  ASSERT_EQ(AddFromSource(b.context, &src, "C:\\src\\", kNoEntry), 1);

  ASSERT_EQ(b.Names(), (std::vector<std::string>{"src"}));
  const EntryId top = b.Child(kRootEntry, "src");
  EXPECT_EQ(b.Names(top), (std::vector<std::string>{".profile", "Alpha.doc", "empty", "sub", "zeta.txt"}));
  const EntryId sub = b.Child(top, "sub");
  EXPECT_EQ(b.Names(sub), (std::vector<std::string>{"A.txt", "b.txt"}));
  EXPECT_TRUE(b.Names(b.Child(top, "empty")).empty());

  const CompilationEntry& chosen = *b.tree.Entry(top);
  EXPECT_EQ(chosen.kind, EntryKind::Local);
  EXPECT_EQ(chosen.sourcePath, "C:\\src\\") << "a chosen directory carries its own path";
  EXPECT_EQ(chosen.date, kCreatedUtc);
  EXPECT_EQ(chosen.attributes, 0x10u);
  const CompilationEntry& walked = *b.tree.Entry(sub);
  EXPECT_EQ(walked.sourcePath, "C:\\src\\") << "a walked directory carries the folder holding it";
  EXPECT_EQ(walked.date, kModified);
  const CompilationEntry& file = *b.tree.Entry(b.Child(sub, "b.txt"));
  EXPECT_EQ(file.sourcePath, "C:\\src\\sub\\");
  EXPECT_EQ(file.size, 3u);
  EXPECT_EQ(b.tree.Entry(b.Child(top, "Alpha.doc"))->attributes, kFileAttributeArchive | kFileAttributeReadOnly);

  // One charge: names plus sizes, 2048 per directory (src, sub, empty).
  EXPECT_EQ(b.gauge.adds, (std::vector<uint32_t>{(3 + 8 + 9 + 8 + 3 + 5 + 5 + 5) + (10 + 20 + 5 + 3 + 4) + 3 * 2048}));
  EXPECT_TRUE(b.user.shown.empty());
  EXPECT_EQ(b.user.busyDepth, 0);
  EXPECT_GT(b.user.busyCalls, 0);
}

TEST(AddFromSource, AFilePutNextToASelectedFileLandsInItsDirectory) {
  Bench b;
  b.fs.AddFile("C:\\in\\b.txt", 1);
  b.fs.AddFile("C:\\in\\C.TXT", 1);
  CompilationEntry dirEntry;
  dirEntry.attributes = 0x10;
  const EntryId docs = b.tree.InsertEntry("docs", kRootEntry, kFirstPosition, dirEntry);
  CompilationEntry fileEntry;
  const EntryId a = b.tree.InsertEntry("a.txt", docs, kFirstPosition, fileEntry);
  const EntryId c = b.tree.InsertEntry("c.txt", docs, a, fileEntry);

  const SourceItem bFile{"b.txt", SourceKind::File};
  ASSERT_EQ(AddFromSource(b.context, &bFile, "C:\\in\\", c), 1);
  EXPECT_EQ(b.Names(docs), (std::vector<std::string>{"a.txt", "b.txt", "c.txt"}));
  EXPECT_EQ(b.tree.Entry(b.Child(docs, "b.txt"))->sourcePath, "C:\\in\\");

  const SourceItem clash{"C.TXT", SourceKind::File};
  EXPECT_EQ(AddFromSource(b.context, &clash, "C:\\in\\", a), 0);
  ASSERT_EQ(b.user.shown.size(), 1u);
  EXPECT_EQ(b.user.shown[0].text, kNameTaken);
  EXPECT_EQ(b.Names(docs).size(), 3u);
}

TEST(AddFromSource, RefusalsShowTheirMessageAndChangeNothing) {
  struct Case {
    const char* what;
    bool sourceSelected;
    SourceItem item;
    int selection;  // 0 none, 1 a deleted entry, 2 a Recorded entry, 3 the existing "Docs"
    std::string message;
  };
  const std::vector<Case> cases = {
      {"stale selection", true, {"x.txt", SourceKind::File}, 1,
       "An error was ocured while retiving selected item information."},
      {"recorded selection", true, {"x.txt", SourceKind::File}, 2, kRecordedRefusal},
      {"nothing in the source tree", false, {}, 0,
       "First you must select an file or folder form the Left Tree view to Add"},
      {"empty display name", true, {"", SourceKind::File}, 0,
       "An error was ocured while retiving selected item information."},
      {"directory named like another in other case", true, {"docs", SourceKind::Directory}, 0, kNameTaken},
      {"file gone from the disk", true, {"gone.txt", SourceKind::File}, 0,
       "Can't add/find this file. File may be erased.\nYou should close and run the browser again to update "
       "Tree view entries."},
  };
  for (const Case& c : cases) {
    Bench b;
    b.fs.AddFile("C:\\in\\x.txt", 1);
    b.fs.AddDirectory("C:\\in\\docs");
    CompilationEntry dir;
    dir.attributes = 0x10;
    const EntryId docs = b.tree.InsertEntry("Docs", kRootEntry, kFirstPosition, dir);
    CompilationEntry recorded;
    recorded.kind = EntryKind::Recorded;
    const EntryId old = b.tree.InsertEntry("old", kRootEntry, docs, recorded);
    const EntryId doomed = b.tree.InsertEntry("doomed", kRootEntry, docs, CompilationEntry{});
    b.tree.DeleteSubtree(doomed);
    const EntryId selections[] = {kNoEntry, doomed, old, docs};
    const std::string path = c.item.kind == SourceKind::Directory ? "C:\\in\\docs\\" : "C:\\in\\";

    EXPECT_EQ(AddFromSource(b.context, c.sourceSelected ? &c.item : nullptr, path, selections[c.selection]), 0)
        << c.what;
    ASSERT_EQ(b.user.shown.size(), 1u) << c.what;
    EXPECT_EQ(b.user.shown[0].text, c.message) << c.what;
    EXPECT_EQ(b.user.shown[0].caption, "Tarvo");
    EXPECT_EQ(b.user.shown[0].style, kMbIconStop) << c.what;
    EXPECT_EQ(b.tree.EntryCount(), 2u) << c.what;
    EXPECT_TRUE(b.gauge.adds.empty()) << c.what;
    EXPECT_EQ(b.user.busyDepth, 0) << c.what;
  }
}

TEST(AddFromSource, ADriveGoesIntoAHoldingDirectoryOrStraightIntoTheTarget) {
  struct Case {
    const char* what;
    int answer;
    std::deque<std::string> names;
    std::vector<std::string> rootNames;
  };
  const std::vector<Case> cases = {
      {"yes, name kept", kIdYes, {"DRIVE_C"}, {"DRIVE_C", "m"}},
      {"yes, renamed", kIdYes, {"backup"}, {"backup", "m"}},
      {"yes, name dialog cancelled", kIdYes, {}, {"m"}},
      {"no", kIdNo, {}, {"boot.ini", "m", "Windows"}},
      {"cancel", kIdCancel, {}, {"m"}},
  };
  for (const Case& c : cases) {
    Bench b;
    b.fs.SetClock(kLocalNow, kUtcNow);
    b.fs.AddFile("C:\\boot.ini", 12);
    b.fs.AddFile("C:\\Windows\\win.ini", 30);
    b.fs.AddFile("C:\\.trash\\junk", 3);
    b.fs.AddFile("C:\\win386.swp", 4096);
    b.tree.InsertEntry("m", kRootEntry, kFirstPosition, CompilationEntry{});
    b.user.answers = {c.answer};
    b.user.names = c.names;
    const SourceItem drive{"C:\\ [ SYSTEM ]", SourceKind::DriveRoot};

    AddFromSource(b.context, &drive, "C:\\", kNoEntry);
    ASSERT_GE(b.user.shown.size(), 1u) << c.what;
    EXPECT_EQ(b.user.shown[0].text, "Do you want to create an directory, where to place all files in the current drive");
    EXPECT_EQ(b.user.shown[0].style, kMbYesNoCancel | kMbIconQuestion);
    EXPECT_EQ(b.Names(), c.rootNames) << c.what;
    if (c.answer == kIdYes) EXPECT_EQ(b.user.proposedNames, (std::vector<std::string>{"DRIVE_C"}));
    if (c.answer == kIdYes && !c.names.empty()) {
      const EntryId holder = b.Child(kRootEntry, c.names.front());
      const CompilationEntry& entry = *b.tree.Entry(holder);
      EXPECT_EQ(entry.kind, EntryKind::Created);
      EXPECT_EQ(entry.sourcePath, "C:\\");
      EXPECT_EQ(entry.date, kUtcNow);
      EXPECT_EQ(b.Names(holder), (std::vector<std::string>{"boot.ini", "Windows"}));
    }
  }
}

TEST(MakeDirectory, LandsSecondInsideADirectoryAndSortedAtTheRoot) {
  Bench b;
  b.fs.SetClock(kLocalNow, kUtcNow);
  CompilationEntry dir;
  dir.attributes = 0x10;
  const EntryId m = b.tree.InsertEntry("m", kRootEntry, kFirstPosition, dir);
  b.tree.InsertEntry("x", kRootEntry, m, CompilationEntry{});
  const EntryId a = b.tree.InsertEntry("a", m, kFirstPosition, CompilationEntry{});
  b.tree.InsertEntry("b", m, a, CompilationEntry{});

  const EntryId inside = MakeDirectory(b.context, "zz", a);  // a file selected: its directory
  ASSERT_NE(inside, kNoEntry);
  EXPECT_EQ(b.Names(m), (std::vector<std::string>{"a", "zz", "b"}));
  const CompilationEntry& entry = *b.tree.Entry(inside);
  EXPECT_EQ(entry.kind, EntryKind::Created);
  EXPECT_EQ(entry.attributes, 0x10u);
  EXPECT_EQ(entry.sourcePath, "");
  EXPECT_EQ(entry.date, kLocalNow);

  ASSERT_NE(MakeDirectory(b.context, "n", kNoEntry), kNoEntry);
  EXPECT_EQ(b.Names(), (std::vector<std::string>{"m", "n", "x"}));
  EXPECT_EQ(MakeDirectory(b.context, "N", kNoEntry), kNoEntry);
  EXPECT_EQ(b.user.shown.back().text, kNameTaken);
  EXPECT_TRUE(b.gauge.adds.empty()) << "a new directory charges nothing";

  CompilationEntry recorded;
  recorded.kind = EntryKind::Recorded;
  recorded.attributes = 0x10;
  const EntryId old = b.tree.InsertEntry("old", kRootEntry, kFirstPosition, recorded);
  EXPECT_EQ(MakeDirectory(b.context, "new", old), kNoEntry);
  EXPECT_EQ(b.user.shown.back().text, kRecordedRefusal);
  EXPECT_TRUE(b.Names(old).empty());
}

// The capacity figures of adding and removing, as the gauge shows them.
TEST(Charging, AddChargesNamesAndSizesRemoveGivesBackSizesAndPaths) {
  struct Case {
    const char* what;
    bool file;
    bool created;  // made with New directory
    uint32_t charged;
    uint64_t givenBack;
  };
  const std::vector<Case> cases = {
      {"1,000-byte file named with 5 characters", true, false, 1005, 1001},
      {"empty directory named with 4 characters", false, false, 2052, 2049},
      {"New directory", false, true, 0, 2048},
  };
  for (const Case& c : cases) {
    Bench b;
    b.fs.AddFile("C:\\in\\hello", 1000);
    b.fs.AddDirectory("C:\\in\\four");
    EntryId added = kNoEntry;
    if (c.created) {
      added = MakeDirectory(b.context, "fresh", kNoEntry);
    } else {
      const SourceItem item{c.file ? "hello" : "four", c.file ? SourceKind::File : SourceKind::Directory};
      ASSERT_EQ(AddFromSource(b.context, &item, c.file ? "C:\\in\\" : "C:\\in\\four\\", kNoEntry), 1);
      added = b.tree.FirstChild(kRootEntry);
    }
    const uint64_t usedAfterAdd = b.gauge.used;
    EXPECT_EQ(usedAfterAdd, c.charged) << c.what;
    b.gauge.used += 5000;  // what the disc already holds
    ASSERT_EQ(RemoveSelected(b.context, added), 1);
    EXPECT_EQ(usedAfterAdd + 5000 - b.gauge.used, c.givenBack) << c.what;
    EXPECT_TRUE(b.tree.Empty());
  }
}

TEST(RemoveSelected, GivesBackAWholeSubtreeButNothingForRecordedEntries) {
  Bench b;
  AddSourceFolder(b.fs);
  const SourceItem src{"src", SourceKind::Directory};
  ASSERT_EQ(AddFromSource(b.context, &src, "C:\\src\\", kNoEntry), 1);
  EXPECT_EQ(RemoveSelected(b.context, kNoEntry), 0) << "nothing selected: nothing happens";
  ASSERT_EQ(RemoveSelected(b.context, b.tree.FirstChild(kRootEntry)), 1);
  EXPECT_EQ(b.gauge.givenBack.size(), 8u) << "src, its five entries, sub's two files";
  EXPECT_TRUE(b.tree.Empty());
  EXPECT_TRUE(b.user.shown.empty());

  CompilationEntry recorded;
  recorded.kind = EntryKind::Recorded;
  recorded.attributes = 0x10;
  recorded.sourcePath = "E:\\";
  const EntryId old = b.tree.InsertEntry("old", kRootEntry, kFirstPosition, recorded);
  b.user.answers = {kIdNo, kIdYes};
  EXPECT_EQ(RemoveSelected(b.context, old), 0);
  EXPECT_TRUE(b.tree.Contains(old));
  EXPECT_EQ(RemoveSelected(b.context, old), 1);
  EXPECT_FALSE(b.tree.Contains(old));
  ASSERT_EQ(b.user.shown.size(), 2u);
  EXPECT_EQ(b.user.shown[0].text,
            "Removing previously recorded files you will not be able to view or access this files anymore, but "
            "they will be still on the disc.\nAlso if you add files, dirs with the same names as already recorded "
            "files, dirs on the CD, CD will be DAMAGE.\nDo you wish to remove selected item ?");
  EXPECT_EQ(b.user.shown[0].style, kMbYesNo | kMbIconQuestion);
  EXPECT_EQ(b.gauge.givenBack.size(), 8u) << "a Recorded removal charges nothing";
}

TEST(ImportRecorded, TakesTheDiscContentAsRecordedEntriesAtTheRoot) {
  Bench b;
  b.fs.SetDrive("E:\\", DriveType::CdRom, "DISC", 0);
  b.fs.AddFile("E:\\readme.txt", 10, kModified);
  b.fs.AddFile("E:\\Docs\\b.txt", 5, kModified);
  b.fs.AddFile("E:\\Docs\\a.txt", 6, kModified);
  b.fs.AddFile("E:\\.meta\\x", 1);
  ASSERT_EQ(ImportRecorded(b.context, "E:\\"), 1);
  EXPECT_EQ(b.Names(), (std::vector<std::string>{"Docs", "readme.txt"}));
  const EntryId docs = b.Child(kRootEntry, "Docs");
  EXPECT_EQ(b.Names(docs), (std::vector<std::string>{"a.txt", "b.txt"}));
  EXPECT_EQ(b.tree.Entry(docs)->sourcePath, "E:\\");
  EXPECT_EQ(b.tree.Entry(b.Child(docs, "a.txt"))->kind, EntryKind::Recorded);
  EXPECT_EQ(b.tree.Entry(b.Child(docs, "a.txt"))->sourcePath, "E:\\Docs\\");
  EXPECT_TRUE(b.gauge.adds.empty());

  const SourceItem item{"x.txt", SourceKind::File};
  EXPECT_EQ(AddFromSource(b.context, &item, "C:\\", b.Child(docs, "a.txt")), 0);
  EXPECT_EQ(b.user.shown.back().text, kRecordedRefusal);
}

TEST(AddFromSource, AWalkStoppedByARefusedEntryKeepsAndChargesWhatItInserted) {
  struct Case {
    const char* what;
    std::string file;
    uint64_t size;
    std::string message;
  };
  const std::string longName(250, 'L');
  const std::vector<Case> cases = {
      {"source path over 255 bytes", "C:\\src\\" + longName + "\\deep.txt", 1,
       "Can't add a file: deep.txt to the Tree view"},
      {"file of 2 GiB", "C:\\src\\big.iso", 0x80000000u, "Can't add a file: big.iso to the Tree view"},
      {"file over 4 GiB", "C:\\src\\huge.iso", 0x100000001ull, "Can't add a file: huge.iso to the Tree view"},
  };
  for (const Case& c : cases) {
    Bench b;
    b.fs.AddFile("C:\\src\\first.txt", 100);
    b.fs.AddFile(c.file, c.size);
    const SourceItem src{"src", SourceKind::Directory};
    EXPECT_EQ(AddFromSource(b.context, &src, "C:\\src\\", kNoEntry), 0) << c.what;
    ASSERT_EQ(b.user.shown.size(), 1u) << c.what;
    EXPECT_EQ(b.user.shown[0].text, c.message) << c.what;
    const EntryId top = b.Child(kRootEntry, "src");
    ASSERT_NE(top, kNoEntry) << c.what;
    EXPECT_NE(b.Child(top, "first.txt"), kNoEntry) << c.what;
    ASSERT_EQ(b.gauge.adds.size(), 1u) << c.what;
    EXPECT_GE(b.gauge.adds[0], 3u + 2048 + 9 + 100) << c.what;
    EXPECT_EQ(b.user.busyDepth, 0) << c.what;
  }
}

// A view that keeps its own copy of the tree from the notifications alone,
// as the browser's disc tree does: it must end up equal to the model.
class MirrorView final : public CompilationObserver {
 public:
  explicit MirrorView(const CompilationTree& tree) : tree_(tree) {}
  void EntryInserted(EntryId id) override {
    std::vector<EntryId>& siblings = children_[tree_.Parent(id)];
    const EntryId previous = tree_.PreviousSibling(id);
    const auto at = previous == kNoEntry ? siblings.begin()
                                         : std::find(siblings.begin(), siblings.end(), previous) + 1;
    siblings.insert(at, id);
  }
  void EntryDeleting(EntryId id) override {
    std::erase(children_[tree_.Parent(id)], id);
    Forget(id);
  }
  void ChildrenSorted(EntryId parent) override { children_[parent] = tree_.Children(parent); }
  void TreeCleared() override { children_.clear(); }

  bool Matches(EntryId id = kRootEntry) const {
    const auto found = children_.find(id);
    const std::vector<EntryId> mine = found == children_.end() ? std::vector<EntryId>{} : found->second;
    if (mine != tree_.Children(id)) return false;
    return std::all_of(mine.begin(), mine.end(), [this](EntryId c) { return Matches(c); });
  }

 private:
  void Forget(EntryId id) {
    for (EntryId c : children_[id]) Forget(c);
    children_.erase(id);
  }
  const CompilationTree& tree_;
  std::map<EntryId, std::vector<EntryId>> children_;
};

TEST(CompilationObserver, AViewMirroringTheNotificationsMatchesTheModel) {
  Bench b;
  MirrorView view(b.tree);
  b.tree.SetObserver(&view);
  AddSourceFolder(b.fs);
  b.fs.AddFile("C:\\more\\m.txt", 1);
  const SourceItem src{"src", SourceKind::Directory};
  ASSERT_EQ(AddFromSource(b.context, &src, "C:\\src\\", kNoEntry), 1);
  const SourceItem drive{"C:\\ [ SYSTEM ]", SourceKind::DriveRoot};
  b.user.answers = {kIdNo};
  AddFromSource(b.context, &drive, "C:\\more\\", b.Child(kRootEntry, "src"));
  EXPECT_TRUE(view.Matches());
  const EntryId made = MakeDirectory(b.context, "New", b.Child(kRootEntry, "src"));
  ASSERT_NE(made, kNoEntry);
  EXPECT_TRUE(view.Matches());
  ASSERT_EQ(RemoveSelected(b.context, b.Child(b.Child(kRootEntry, "src"), "sub")), 1);
  EXPECT_TRUE(view.Matches());
  ClearTree(b.tree);
  EXPECT_TRUE(view.Matches());
}

}  // namespace
}  // namespace tarvo
