#include "app/drive_list.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace tarvo {
namespace {

constexpr uint32_t kFixed = 3;

// "c:\", "d:\", ... as GetLogicalDriveStringsA writes them.
std::string RootList(const std::vector<std::string>& roots) {
  std::string s;
  for (const std::string& r : roots) s += r + '\0';
  return s + '\0';
}

std::vector<DriveRoot> Parse(const std::string& list, std::map<std::string, uint32_t> types) {
  return ParseDriveRoots(list.data(), list.size(), [&](const std::string& root) { return types[root]; });
}

TEST(DriveRoots, AreUpperCasedTypedAndEndAtTheEmptyString) {
  const std::string list = RootList({"c:\\", "d:\\", "e:\\"}) + "x:\\" + '\0';
  const auto roots = Parse(list, {{"C:\\", kFixed}, {"D:\\", kDriveTypeCdrom}, {"E:\\", kFixed}});
  ASSERT_EQ(roots.size(), 3u);
  EXPECT_EQ(roots[0].root, "C:\\");
  EXPECT_EQ(roots[1].root, "D:\\");
  EXPECT_EQ(roots[1].type, kDriveTypeCdrom);
  EXPECT_EQ(roots[2].type, kFixed);
}

TEST(DriveRoots, KeepNineCharactersThirtyRootsAndStayInsideTheBuffer) {
  const auto longRoot = Parse(RootList({"\\\\server\\share\\"}), {});
  ASSERT_EQ(longRoot.size(), 1u);
  EXPECT_EQ(longRoot[0].root, "\\\\SERVER\\");

  std::vector<std::string> many;
  for (int i = 0; i < 40; ++i) many.push_back("z:");
  EXPECT_EQ(Parse(RootList(many), {}).size(), 30u);

  // No terminating NUL within the given length: the walk stops at the end.
  const std::string unterminated = "c:\\";
  const auto cut = ParseDriveRoots(unterminated.data(), unterminated.size(), [](const std::string&) { return 0u; });
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_EQ(cut[0].root, "C:\\");
}

TEST(DriveRoots, WalkAtMost255Characters) {
  std::vector<std::string> roots;
  for (int i = 0; i < 29; ++i) roots.push_back("abcdefgh");  // 9 characters each with the NUL
  const std::string list = RootList(roots);
  EXPECT_EQ(Parse(list, {}).size(), 29u);  // the 29th root starts at 252 and is cut at 255
  EXPECT_EQ(Parse(list, {}).back().root, "ABC");
}

std::vector<DriveRoot> Roots(const std::string& layout) {
  // One letter per character: 'c' a CD-ROM letter, 'h' a hard disk.
  std::vector<DriveRoot> roots;
  char letter = 'C';
  for (char kind : layout) roots.push_back({std::string(1, letter++) + ":\\", kind == 'c' ? kDriveTypeCdrom : kFixed});
  return roots;
}

DriveSummary Drive(const char* identity, bool cdR, bool cdRw) { return {identity, cdR, cdRw, 0}; }

TEST(DriveListPlan, CdLettersAroundAHardDiskAreCdNumbersZeroAndOne) {
  std::vector<DriveSummary> table(5);
  table[0] = Drive("VREC    CD-ROM 0        1.00", false, false);
  table[1] = Drive("VREC    CD-ROM 1        1.00", false, false);
  const DriveListPlan plan = PlanDriveList(Roots("hchc"), table);
  ASSERT_EQ(plan.items.size(), 2u);
  EXPECT_EQ(plan.items[0].text, "CD-ROM [D:\\] - VREC    CD-ROM 0        1.00");
  EXPECT_EQ(plan.items[0].rootIndex, 1);
  EXPECT_EQ(plan.items[1].text, "CD-ROM [F:\\] - VREC    CD-ROM 1        1.00");
  EXPECT_EQ(plan.items[1].rootIndex, 3);
  EXPECT_EQ(plan.selectedDrive, 0);  // none can write
  EXPECT_EQ(plan.selectedRootIndex, 1);
}

TEST(DriveListPlan, TheFirstDriveThatCanWriteIsPreselected) {
  struct Case {
    std::vector<DriveSummary> drives;
    int selected;
  };
  const Case cases[] = {
      {{Drive("", false, false), Drive("", true, false), Drive("", true, true)}, 1},
      {{Drive("", true, false), Drive("", true, true)}, 0},   // a CD-R writer before a CD-RW writer wins
      {{Drive("", false, false), Drive("", false, true)}, 1},
      {{Drive("", false, false), Drive("", false, false)}, 0},
  };
  for (const Case& c : cases) {
    std::vector<DriveSummary> table = c.drives;
    table.resize(5);
    const DriveListPlan plan = PlanDriveList(Roots("ccc"), table);
    EXPECT_EQ(plan.selectedDrive, c.selected);
    EXPECT_EQ(plan.selectedRootIndex, c.selected);
  }
}

TEST(DriveListPlan, NoMoreLettersThanTableEntriesAndNoneWithoutCdLetters) {
  const DriveListPlan six = PlanDriveList(Roots("cccccc"), std::vector<DriveSummary>(5));
  EXPECT_EQ(six.items.size(), 5u);

  const DriveListPlan none = PlanDriveList(Roots("hh"), std::vector<DriveSummary>(5));
  EXPECT_TRUE(none.items.empty());
  EXPECT_EQ(none.selectedDrive, 0);
  EXPECT_EQ(none.selectedRootIndex, -1);
}

}  // namespace
}  // namespace tarvo
