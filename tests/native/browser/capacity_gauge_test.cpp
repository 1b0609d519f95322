#include "browser/capacity_gauge.h"

#include <gtest/gtest.h>

#include "browser/compilation_commands.h"
#include "browser_test_support.h"

namespace tarvo {
namespace {

using testing::ScriptedUser;

constexpr uint32_t kBlankBlocks = 359849;
constexpr GaugeReading kBlankDisc{kBlankBlocks * 2048u, 0, kBlankBlocks * 2048u};

// A freshly read blank disc, a source drive and the model wired to the real gauge.
struct GaugeBench {
  CapacityGauge gauge;
  CompilationTree tree;
  MemoryFileSystem fs;
  ScriptedUser user;
  CompilationContext context{tree, fs, user, gauge};

  GaugeBench() {
    gauge.ReadDisc(kBlankDisc);
    fs.AddFile("C:\\src\\hello", 1000);  // a 5-character name
    fs.AddDirectory("C:\\src\\docs");    // an empty 4-character directory
    fs.AddFile("C:\\big\\part.bin", 3u << 20);
    fs.AddFile("C:\\big\\more.bin", 512u << 10);
  }
  EntryId Only() const { return tree.FirstChild(kRootEntry); }
};

TEST(CapacityGauge, BlankDiscReadsAsItsBlocksTimesTheSectorSize) {
  GaugeBench b;
  EXPECT_EQ(b.gauge.total, 736970752u);
  EXPECT_EQ(b.gauge.used, 0u);
  EXPECT_EQ(b.gauge.free, 736970752u);
  EXPECT_EQ(GaugeLine(b.gauge, 0), "CD->MB   Total: 702   Free: 702   Used: 0");
  const auto texts = StatusBarTexts(b.gauge);
  EXPECT_EQ(texts, (std::array<std::string, 6>{"Total size (MB)", "702", "Used space (MB)", "0", "Free space (MB)",
                                              "702"}));
  EXPECT_TRUE(b.gauge.AtDiscFigures());
}

// Each row adds one source item to an empty compilation, then removes it
// again, or removes a New directory that was never charged.
TEST(CapacityGauge, ChargesOfAddAndRemove) {
  struct Case {
    const char* what;
    SourceItem item;
    const char* sourcePath;
    uint32_t charged;
    uint32_t givenBack;
  };
  const Case cases[] = {
      {"1,000-byte file, 5-character name", {"hello", SourceKind::File}, "C:\\src\\", 1005, 1001},
      {"empty 4-character directory", {"docs", SourceKind::Directory}, "C:\\src\\docs\\", 2052, 2049},
  };
  for (const Case& c : cases) {
    GaugeBench b;
    ASSERT_EQ(AddFromSource(b.context, &c.item, c.sourcePath, kNoEntry), 1) << c.what;
    EXPECT_EQ(b.gauge.used, c.charged) << c.what;
    EXPECT_EQ(b.gauge.free, kBlankDisc.free - c.charged) << c.what;
    ASSERT_EQ(RemoveSelected(b.context, b.Only()), 1) << c.what;
    EXPECT_EQ(b.gauge.used, c.charged - c.givenBack) << c.what;
    EXPECT_EQ(b.gauge.free, kBlankDisc.free - c.charged + c.givenBack) << c.what;
  }

  GaugeBench b;
  b.gauge.ChargeAdd(10000);
  ASSERT_NE(MakeDirectory(b.context, "New", kNoEntry), kNoEntry);
  EXPECT_EQ(b.gauge.used, 10000u) << "a New directory charges nothing";
  ASSERT_EQ(RemoveSelected(b.context, b.tree.FirstChild(kRootEntry)), 1);
  EXPECT_EQ(b.gauge.used, 10000u - 2048u) << "but gives back a directory sector";
  EXPECT_EQ(b.gauge.free, kBlankDisc.free - 10000u + 2048u);
}

TEST(CapacityGauge, FiguresClampInsteadOfWrapping) {
  CapacityGauge gauge;
  gauge.ReadDisc({3000, 1000, 2000});
  gauge.ChargeAdd(5000);
  EXPECT_EQ(gauge.free, 0u) << "free stops at 0";
  EXPECT_EQ(gauge.used, 6000u) << "used still grows by the whole amount";

  CompilationEntry big;
  big.size = 7000;
  big.sourcePath = "C:\\";
  gauge.ChargeRemove(big);
  EXPECT_EQ(gauge.used, 0u) << "used stops at 0";
  EXPECT_EQ(gauge.free, 7001u);

  gauge.ChargeAdd(0xFFFFFFFFu);
  gauge.ChargeAdd(10);
  EXPECT_EQ(gauge.used, 0xFFFFFFFFu) << "a 32-bit used figure past 4 GiB must not wrap to a small one";
}

TEST(CapacityGauge, MainDialogLineShowsTheNewMebibytesOnlyOnTheRecordingTab) {
  GaugeBench b;
  const SourceItem big{"big", SourceKind::Directory};
  b.fs.AddDirectory("C:\\big");
  ASSERT_EQ(AddFromSource(b.context, &big, "C:\\big\\", kNoEntry), 1);
  ASSERT_GT(b.gauge.used, 3u << 20);
  ASSERT_LT(b.gauge.used, 4u << 20);
  EXPECT_EQ(GaugeLine(b.gauge, 0), "CD->MB   Total: 702   Free: 699   Used: 3 : 3 New");
  EXPECT_EQ(GaugeLine(b.gauge, 2), "CD->MB   Total: 702   Free: 699   Used: 3");

  // After removing more than was added the difference is still positive.
  CapacityGauge gauge;
  gauge.ReadDisc({50u << 20, 20u << 20, 30u << 20});
  CompilationEntry recordedBefore;
  recordedBefore.size = 5u << 20;
  gauge.ChargeRemove(recordedBefore);
  EXPECT_EQ(GaugeLine(gauge, 0), "CD->MB   Total: 50   Free: 35   Used: 15 : 5 New");
}

TEST(CapacityGauge, StatusBarGroupsThousandsWithAFullStop) {
  const std::pair<uint32_t, const char*> cases[] = {
      {0, "0"},           {702, "702"},          {999, "999"},           {1024, "1.024"},
      {12345, "12.345"},  {123456, "123.456"},   {1234567, "1.234.567"}, {4294967295u, "4.294.967.295"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(GroupThousands(value), text) << value;

  CapacityGauge gauge;
  gauge.ReadDisc({0xFFFFFFFFu, 1024u << 20, 702u << 20});
  const auto texts = StatusBarTexts(gauge);
  EXPECT_EQ(texts[1], "4.095");
  EXPECT_EQ(texts[3], "1.024");
  EXPECT_EQ(texts[5], "702");
}

TEST(CapacityGauge, StatusBarPartsFollowTheWidth) {
  EXPECT_EQ(StatusBarEdges(600), (std::array<int, 6>{100, 200, 300, 400, 500, 600}));
  EXPECT_EQ(StatusBarEdges(605), (std::array<int, 6>{100, 205, 305, 405, 505, 605}))
      << "a width not divisible by 6 leaves the first part short";
  EXPECT_EQ(StatusBarEdges(5), (std::array<int, 6>{0, 5, 5, 5, 5, 5}));
}

TEST(CapacityGauge, ReadingTheSameDiscAgainKeepsWhatWasAddedVisible) {
  CapacityGauge gauge;
  const GaugeReading disc{100u << 20, 10u << 20, 90u << 20};
  gauge.ReadDisc(disc);
  EXPECT_EQ(gauge.discUsed, disc.used);
  EXPECT_EQ(gauge.keptUsed[kRecordingTabGroup], disc.used);

  gauge.ChargeAdd(1u << 20);
  gauge.ReadDisc(disc);
  EXPECT_EQ(gauge.used, disc.used) << "the figures are the disc's again";
  EXPECT_EQ(gauge.discUsed, 11u << 20) << "the same disc keeps the used figure held before the reading";
  EXPECT_EQ(gauge.discFree, 89u << 20);
  EXPECT_EQ(gauge.lastReading, disc);
  EXPECT_FALSE(gauge.AtDiscFigures());

  const GaugeReading other{100u << 20, 40u << 20, 60u << 20};
  gauge.ReadDisc(other);
  EXPECT_EQ(gauge.lastReading, other);
  EXPECT_EQ(gauge.discUsed, other.used);
  EXPECT_EQ(gauge.discFree, other.free);
  EXPECT_EQ(gauge.keptUsed[kRecordingTabGroup], other.used);
  EXPECT_TRUE(gauge.AtDiscFigures());
}

TEST(CapacityGauge, EachTabGroupKeepsItsOwnUsedFigure) {
  CapacityGauge gauge;
  gauge.ReadDisc({100u << 20, 10u << 20, 90u << 20});

  gauge.BrowserOpened(2);  // the ISO-file tab starts from nothing
  EXPECT_EQ(gauge.used, 0u);
  gauge.ChargeAdd(4096);
  gauge.BrowserClosed(2);

  gauge.BrowserOpened(0);
  EXPECT_EQ(gauge.used, 10u << 20) << "the recording tab takes the disc's used figure";
  gauge.ChargeAdd(100);
  gauge.BrowserClosed(0);

  gauge.BrowserOpened(3);
  EXPECT_EQ(gauge.used, 4096u) << "every tab other than recording shares one figure";
  gauge.BrowserOpened(0);
  EXPECT_EQ(gauge.used, (10u << 20) + 100u);
}

TEST(CapacityGauge, SavingAnEmptyCompilationResetsToTheDisc) {
  CapacityGauge gauge;
  gauge.ReadDisc({100u << 20, 10u << 20, 90u << 20});
  gauge.ChargeAdd(12345);
  gauge.ResetToDisc();
  EXPECT_EQ(gauge.used, 10u << 20);
  EXPECT_EQ(gauge.free, 90u << 20);
  EXPECT_TRUE(gauge.AtDiscFigures());
}

}  // namespace
}  // namespace tarvo
