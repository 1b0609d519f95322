#include "browser/compilation_tree.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvo {
namespace {

CompilationEntry File(uint32_t size = 1) {
  CompilationEntry e;
  e.size = size;
  e.attributes = 0x20;
  return e;
}

CompilationEntry Directory() {
  CompilationEntry e;
  e.attributes = 0x10;
  return e;
}

std::vector<std::string> Names(const CompilationTree& tree, EntryId parent) {
  std::vector<std::string> names;
  for (EntryId c : tree.Children(parent)) names.push_back(tree.Name(c));
  return names;
}

TEST(CompilationTree, InsertsAfterTheGivenSiblingOrFirst) {
  CompilationTree tree;
  const EntryId b = tree.InsertEntry("b", kRootEntry, kFirstPosition, File());
  const EntryId d = tree.InsertEntry("d", kRootEntry, b, File());
  tree.InsertEntry("c", kRootEntry, b, File());
  tree.InsertEntry("a", kRootEntry, kFirstPosition, File());
  EXPECT_EQ(Names(tree, kRootEntry), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(tree.PreviousSibling(d), tree.NextSibling(b));

  const EntryId dir = tree.InsertEntry("dir", kRootEntry, d, Directory());
  EXPECT_EQ(tree.InsertEntry("x", d, kFirstPosition, File()), kNoEntry) << "a file holds no entries";
  EXPECT_EQ(tree.InsertEntry("x", dir, b, File()), kNoEntry) << "after must be a child of the parent";
  EXPECT_EQ(tree.InsertEntry("x", 999, kFirstPosition, File()), kNoEntry);
  const EntryId x = tree.InsertEntry("x", dir, kFirstPosition, File());
  EXPECT_EQ(tree.Parent(x), dir);
  EXPECT_EQ(tree.Level(x), 1u);
  EXPECT_EQ(tree.EntryCount(), 6u);
}

TEST(CompilationTree, RefusesWhatNoListOrVolumeCanHold) {
  struct Case {
    const char* what;
    std::string name;
    CompilationEntry entry;
    bool accepted;
  };
  CompilationEntry longPath = File();
  longPath.sourcePath = std::string(256, 'p');
  CompilationEntry fullPath = File();
  fullPath.sourcePath = std::string(255, 'p');
  CompilationEntry bigDirectory = Directory();
  bigDirectory.size = 0x80000000;
  const std::vector<Case> cases = {
      {"empty name", "", File(), false},
      {"255-byte name", std::string(255, 'n'), File(), true},
      {"256-byte name", std::string(256, 'n'), File(), false},
      {"dot", ".", Directory(), false},
      {"dot dot", "..", Directory(), false},
      {"backslash", "a\\b", File(), false},
      {"slash", "a/b", File(), false},
      {"zero byte", std::string("a\0b", 3), File(), false},
      {"255-byte path", "f", fullPath, true},
      {"256-byte path", "f", longPath, false},
      {"file just under 2 GiB", "f", File(0x7FFFFFFF), true},
      {"file of 2 GiB", "f", File(0x80000000), false},
      {"directory size is not a file size", "d", bigDirectory, true},
  };
  for (const Case& c : cases) {
    CompilationTree tree;
    const bool accepted = tree.InsertEntry(c.name, kRootEntry, kFirstPosition, c.entry) != kNoEntry;
    EXPECT_EQ(accepted, c.accepted) << c.what;
    EXPECT_EQ(EntryProblem(c.name, c.entry) == nullptr, c.accepted) << c.what;
  }
}

TEST(CompilationTree, NestsNoDeeperThanAListCanMarkAnEmptyDirectory) {
  CompilationTree tree;
  EntryId parent = kRootEntry;
  for (uint32_t level = 0; level <= kMaxEntryLevel; ++level) {
    parent = tree.InsertEntry("d", parent, kFirstPosition, Directory());
    ASSERT_NE(parent, kNoEntry) << "level " << level;
  }
  EXPECT_EQ(tree.Level(parent), 254u);
  EXPECT_EQ(tree.InsertEntry("d", parent, kFirstPosition, Directory()), kNoEntry);
}

TEST(CompilationTree, NamesCompareAndSortWithoutRegardToLetterCase) {
  CompilationTree tree;
  EntryId after = kFirstPosition;
  for (const char* name : {"beta", "Alpha", "_x", "alpha2", "ALPHA", "Zed", "a"})
    after = tree.InsertEntry(name, kRootEntry, after, File());
  EXPECT_FALSE(tree.IsNameFree(kRootEntry, "ZED"));
  EXPECT_FALSE(tree.IsNameFree(kRootEntry, "alpha"));
  EXPECT_TRUE(tree.IsNameFree(kRootEntry, "alph"));
  EXPECT_TRUE(tree.IsNameFree(tree.FirstChild(kRootEntry), "anything")) << "a target without children";
  tree.SortChildren(kRootEntry);
  // Letters compare as lower case, so '_' (5Fh) comes before them; equal names keep their order.
  EXPECT_EQ(Names(tree, kRootEntry), (std::vector<std::string>{"_x", "a", "Alpha", "ALPHA", "alpha2", "beta", "Zed"}));
}

TEST(CompilationTree, DeletesASubtreeVisitingEveryEntryOnce) {
  CompilationTree tree;
  const EntryId keep = tree.InsertEntry("keep", kRootEntry, kFirstPosition, File());
  const EntryId dir = tree.InsertEntry("dir", kRootEntry, keep, Directory());
  const EntryId sub = tree.InsertEntry("sub", dir, kFirstPosition, Directory());
  const EntryId f1 = tree.InsertEntry("f1", sub, kFirstPosition, File());
  const EntryId f2 = tree.InsertEntry("f2", dir, sub, File());
  const EntryId last = tree.InsertEntry("last", kRootEntry, dir, File());

  std::vector<EntryId> visited;
  tree.DeleteSubtree(dir, [&](EntryId id, const CompilationEntry&) { visited.push_back(id); });
  EXPECT_EQ(visited, (std::vector<EntryId>{dir, sub, f1, f2}));
  for (EntryId gone : visited) EXPECT_FALSE(tree.Contains(gone));
  EXPECT_EQ(Names(tree, kRootEntry), (std::vector<std::string>{"keep", "last"}));
  EXPECT_EQ(tree.NextSibling(keep), last);
  EXPECT_EQ(tree.EntryCount(), 2u);
  EXPECT_GT(tree.InsertEntry("new", kRootEntry, kFirstPosition, File()), last) << "ids are not reused";

  tree.Clear();
  EXPECT_TRUE(tree.Empty());
  EXPECT_FALSE(tree.Contains(keep));
}

}  // namespace
}  // namespace tarvo
