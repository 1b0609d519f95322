#include <gtest/gtest.h>

#include "iso/iso_layout.h"
#include "list_builder.h"

namespace tarvo {
namespace {

using test::Dir;
using test::File;
using test::ListBytes;
using test::Marker;
using test::ParsedList;

TEST(IsoLayout, SingleFileAtStartZeroAndAtALaterSession) {
  const ListFile list = ParsedList(ListBytes({File(0, "a.txt", 5000)}));
  for (uint32_t start : {0u, 12000u}) {
    IsoLayout layout = MeasureCompilation(list, false);
    PlaceVolume(layout, start);
    const TreeLayout& p = layout.trees[0];
    const TreeLayout& j = layout.trees[1];
    EXPECT_EQ(p.directoryTable, std::vector<uint32_t>{1});
    EXPECT_EQ(p.firstDirectory, start + 19);
    EXPECT_EQ(p.lPathTable, start + 20);
    EXPECT_EQ(p.mPathTable, start + 21);
    EXPECT_EQ(p.pathTableSize, 10u);
    EXPECT_EQ(j.firstDirectory, start + 22);
    EXPECT_EQ(j.lPathTable, start + 23);
    EXPECT_EQ(j.mPathTable, start + 24);
    EXPECT_EQ(layout.fileDataStart, start + 25);
    EXPECT_EQ(layout.dataSectors, 3u);
    EXPECT_EQ(layout.volumeSpaceSize, 28u) << "counted from the start address";
  }
}

TEST(IsoLayout, EmptyDirectoryTakesOneSector) {
  const ListFile list = ParsedList(ListBytes({Dir(0, "empty"), Marker(1)}));
  IsoLayout layout = MeasureCompilation(list, false);
  EXPECT_EQ(layout.trees[0].directoryTable, (std::vector<uint32_t>{1, 1}));
  EXPECT_EQ(layout.trees[0].pathTableSize, 10u + 14u);
  EXPECT_EQ(layout.directoryCount, 2u);
}

TEST(IsoLayout, DirectorySpillsIntoSecondSector) {
  // Primary records of 8-character names without extension: "NAME0001;1" is
  // 10 bytes, a 44-byte record. 68 + 45 * 44 = 2048: the 45th record would end
  // exactly at the sector's end and moves on.
  std::vector<test::TestEntry> entries;
  for (int i = 0; i < 45; ++i) entries.push_back(File(0, "name" + std::string(4 - std::to_string(i).size(), '0') + std::to_string(i), 1));
  const ListFile list = ParsedList(ListBytes(entries));
  IsoLayout layout = MeasureCompilation(list, false);
  EXPECT_EQ(layout.trees[0].directoryTable, std::vector<uint32_t>{2});
  entries.pop_back();
  layout = MeasureCompilation(ParsedList(ListBytes(entries)), false);
  EXPECT_EQ(layout.trees[0].directoryTable, std::vector<uint32_t>{1});
}

TEST(IsoLayout, NumbersDirectoriesLevelByLevel) {
  // a/ (b/ (f), c/ (marker)), d/ (g): numbering root 0, a 1, d 2, b 3, c 4.
  const ListFile list = ParsedList(ListBytes({Dir(0, "a"), Dir(1, "b"), File(2, "f", 4096), Dir(1, "c"), Marker(2),
                                              Dir(0, "d"), File(1, "g", 1), File(0, "h", 0)}));
  IsoLayout layout = MeasureCompilation(list, false);
  PlaceVolume(layout, 0);
  EXPECT_EQ(layout.directoryCount, 5u);
  EXPECT_EQ(layout.dataSectors, 3u);
  EXPECT_EQ(layout.trees[0].directoryStart, (std::vector<uint32_t>{19, 20, 21, 22, 23}));
}

TEST(IsoLayout, RecordedFilesTakeNoSectorsWhenTheirExtentsAreImported) {
  test::TestEntry recorded = File(0, "old.bin", 10000);
  recorded.kind = kListKindRecorded;
  const ListFile list = ParsedList(ListBytes({recorded, File(0, "new.bin", 2048)}));
  EXPECT_EQ(MeasureCompilation(list, true).dataSectors, 1u);
  EXPECT_EQ(MeasureCompilation(list, false).dataSectors, 6u);
}

TEST(IsoLayout, LevelCountSmallerThanDepthLeavesDeeperLevelsOutAndIsRefused) {
  const std::string bytes = ListBytes({Dir(0, "a"), Dir(1, "b"), File(2, "deep", 9000), File(0, "top", 100)}, 2);
  const ListFile list = ParsedList(bytes);
  const IsoLayout layout = MeasureCompilation(list, false);
  EXPECT_EQ(layout.directoryCount, 2u) << "b's entries at level 2 are not scanned";
  EXPECT_EQ(layout.dataSectors, 1u);
  EXPECT_NE(CheckListForRecording(list).find("level count 2 is smaller than the depth 3"), std::string::npos);
}

}  // namespace
}  // namespace tarvo
