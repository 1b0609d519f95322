#include "app/volume_texts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace tarvo {
namespace {

TEST(VolumeTexts, AVolumeThisProgramWroteGivesBackItsTexts) {
  VolumeTexts written;
  written.dataPreparer = "THE TARVO TEAM";
  written.copyrightFile = "COPYRIGHT.TXT";
  std::string label = "BACKUP01";
  std::vector<uint8_t> sector(2048);
  BuildVolumeDescriptor(sector.data(), TreeKind::Primary, label, 500, 20, 21, 2048, 10, 22, written, RecordDate{});

  VolumeTexts read;
  std::string readLabel;
  ASSERT_TRUE(FillVolumeTextsFromSector16(sector.data(), sector.size(), read, readLabel));
  EXPECT_EQ(read.dataPreparer, written.dataPreparer);
  EXPECT_EQ(read.copyrightFile, written.copyrightFile);
  EXPECT_EQ(read.discApplicationId, std::string(kApplicationIdentifier));
  EXPECT_EQ(readLabel, "BACKUP01");
}

TEST(VolumeTexts, FieldsWithoutZeroComeBackAtFullWidthBlanksIncluded) {
  std::vector<uint8_t> sector(2048, ' ');
  std::memcpy(&sector[40], "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345", 32);
  std::memcpy(&sector[446], "PREPARER", 8);
  std::memset(&sector[702], 'C', 37);
  VolumeTexts texts;
  std::string label;
  ASSERT_TRUE(FillVolumeTextsFromSector16(sector.data(), sector.size(), texts, label));
  EXPECT_EQ(label, "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345");
  EXPECT_EQ(texts.dataPreparer, "PREPARER" + std::string(120, ' '));
  EXPECT_EQ(texts.discApplicationId, std::string(128, ' '));
  EXPECT_EQ(texts.copyrightFile, std::string(37, 'C'));  // the disc's 37 characters are kept
}

TEST(VolumeTexts, AShortSectorChangesNothing) {
  std::vector<uint8_t> sector(2047, 'x');
  VolumeTexts texts;
  texts.dataPreparer = "kept";
  std::string label = "KEPT";
  EXPECT_FALSE(FillVolumeTextsFromSector16(sector.data(), sector.size(), texts, label));
  EXPECT_FALSE(FillVolumeTextsFromSector16(nullptr, 2048, texts, label));
  EXPECT_EQ(texts.dataPreparer, "kept");
  EXPECT_EQ(label, "KEPT");
}

TEST(VolumeTexts, TypedTextsKeepAtMost127And36Characters) {
  struct Case {
    size_t typedPreparer, typedCopyright, keptPreparer, keptCopyright;
  };
  const Case cases[] = {{0, 0, 0, 0}, {127, 36, 127, 36}, {128, 37, 127, 36}, {300, 100, 127, 36}, {5, 6, 5, 6}};
  for (const Case& c : cases) {
    VolumeTexts texts;
    texts.discApplicationId = "untouched";
    StoreTypedVolumeTexts(std::string(c.typedPreparer, 'p'), std::string(c.typedCopyright, 'c'), texts);
    EXPECT_EQ(texts.dataPreparer, std::string(c.keptPreparer, 'p'));
    EXPECT_EQ(texts.copyrightFile, std::string(c.keptCopyright, 'c'));
    EXPECT_EQ(texts.discApplicationId, "untouched");
  }
}

}  // namespace
}  // namespace tarvo
