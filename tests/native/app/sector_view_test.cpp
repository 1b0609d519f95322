// The sector viewer's decoders over hand-built sectors: the fields at their
// ECMA-119 offsets, identifiers running on where the disc has no zero byte,
// and records at or past the sector's end reading zeros, never beyond it.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/sector_view.h"

namespace tarvo {
namespace {

using Sector = std::vector<uint8_t>;

void Put(Sector& s, size_t at, const char* text) { std::memcpy(s.data() + at, text, std::strlen(text)); }
void PutLe32(Sector& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void PutBe32(Sector& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + 3 - i] = static_cast<uint8_t>(v >> (8 * i));
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(SectorView, RawTextReplacesZeroAndLineFeed) {
  Sector s(kViewSectorSize, 'A');
  s[0] = 0;
  s[129] = 10;
  const std::string text = RawSectorText(s.data(), s.size());
  ASSERT_EQ(text.size(), 2080u);
  EXPECT_EQ(text[0], 4);
  EXPECT_EQ(text.substr(128, 2), "\r\n");
  EXPECT_EQ(text[130 + 1], 4);
  EXPECT_EQ(text.substr(2078), "\r\n");
}

TEST(SectorView, VolumeDescriptorFields) {
  Sector s(kViewSectorSize, 0);
  s[0] = 1;
  Put(s, 1, "CD001");
  s[6] = 1;  // no zero after the identifier: it runs on into the version
  Put(s, 40, "TESTVOL");
  PutLe32(s, 80, 200);
  PutBe32(s, 84, 200);
  PutBe32(s, 148, 21);
  PutLe32(s, 158, 18);
  Put(s, 446, "PREPARER");
  s[881] = 1;
  s[882] = 0xFF;
  Put(s, 1395, "END");
  const std::string text = VolumeDescriptorText(s.data(), s.size());
  EXPECT_TRUE(text.rfind("VolumeDescriptorType = 1\r\nStandardIdentifier = CD001\x01\r\n", 0) == 0) << text;
  EXPECT_TRUE(Has(text, "\r\nVolumeIdentifier = TESTVOL\r\nUnusedField2 = \r\n"));
  EXPECT_TRUE(Has(text, "lsbVolumeSpaceSize = 200\r\nmsbVolumeSpaceSize = -939524096\r\n"));
  EXPECT_TRUE(Has(text, "LocationOfOccurrencePathTableM = 352321536, 21\r\n"));
  EXPECT_TRUE(Has(text, "RDirC = 18, \r\nVolumeSetIdentifier = \r\n"));
  EXPECT_TRUE(Has(text, "\r\nDataPreparerIdentifier = PREPARER\r\n"));
  EXPECT_TRUE(Has(text, "\r\nVolumeEffectiveDateTime = \r\npv.FileStructureVersion = 1\r\npv.ReservedField = -1\r\n"
                        "\r\nApplicationUse = \r\nReservedForFuture = END"));
}

TEST(SectorView, VolumeDescriptorWithoutZerosStaysInBounds) {
  Sector s(kViewSectorSize, 'x');  // every text field runs to the sector's end
  const std::string text = VolumeDescriptorText(s.data(), s.size());
  EXPECT_EQ(text.size(), kViewBufferSize - 1);
  EXPECT_TRUE(Has(text, "StandardIdentifier = xxxx"));
}

TEST(SectorView, PathTableRecordsWalk) {
  Sector s(kViewSectorSize, 0);
  // Root: identifier length 1, the byte 0, padding; then "DOCS" at offset 10.
  s[0] = 1;
  PutLe32(s, 2, 20);
  s[6] = 1;
  s[10] = 4;
  PutLe32(s, 12, 21);
  s[16] = 1;
  Put(s, 18, "DOCS");
  RecordView root = PathTableRecordText(s.data(), s.size(), 0);
  EXPECT_EQ(root.text,
            "len_di = 1\r\nXARlength = 0\r\ndirLocation = lsb=20, msb=335544320\r\nparentDN = 1\r\ndirID=_#\r\n");
  EXPECT_EQ(root.advance, 10);
  RecordView docs = PathTableRecordText(s.data(), s.size(), root.advance);
  EXPECT_TRUE(Has(docs.text, "dirID=DOCS#")) << docs.text;
  EXPECT_EQ(docs.advance, 12);
}

TEST(SectorView, DirectoryRecords) {
  Sector s(kViewSectorSize, 0);
  s[0] = 46;
  PutLe32(s, 2, 30);
  PutBe32(s, 6, 30);
  PutLe32(s, 10, 1234);
  s[18] = 126;
  s[19] = 12;
  s[20] = 31;
  s[25] = 0;
  s[28] = 1;
  s[32] = 12;
  Put(s, 33, "README.TXT;1");
  // An odd identifier length has no padding byte: the text runs on into the
  // next record.
  s[46] = 44;
  s[46 + 32] = 11;
  Put(s, 46 + 33, "NOTES.TX;1");
  s[46 + 43] = 'Q';
  RecordView readme = DirectoryRecordText(s.data(), s.size(), 0);
  EXPECT_EQ(readme.advance, 46);
  EXPECT_TRUE(Has(readme.text, "lend_dr = 46\r\nXARlength = 0\r\nlsbStart = 30\r\nmsbStart = 503316480\r\n"
                               "lsbDataLength = 1234\r\nmsbDataLength = 0\r\nyear = 126\r\nmonth = 12\r\nday = 31\r\n"))
      << readme.text;
  EXPECT_TRUE(Has(readme.text, "lsbVolSetSeqNum = 1\r\nmsbVolSetSeqNum = 0\r\nlen_fi = 12\r\nfi=README.TXT;1#\r\n"));
  RecordView notes = DirectoryRecordText(s.data(), s.size(), 46);
  EXPECT_TRUE(Has(notes.text, "fi=NOTES.TX;1Q#")) << notes.text;
}

TEST(SectorView, RecordsAtTheSectorsEndReadZeros) {
  Sector s(kViewSectorSize, 0xEE);
  // A record starting 4 bytes before the end: its tail is zero, the
  // identifier text stops at the sector's end.
  RecordView tail = PathTableRecordText(s.data(), s.size(), kViewSectorSize - 4);
  EXPECT_TRUE(Has(tail.text, "len_di = 238\r\nXARlength = 238\r\n")) << tail.text;
  EXPECT_TRUE(Has(tail.text, "parentDN = 0\r\ndirID=")) << tail.text;
  // Past the end: an all-zero record that does not move.
  RecordView past = DirectoryRecordText(s.data(), s.size(), 3000);
  EXPECT_EQ(past.advance, 0);
  EXPECT_TRUE(Has(past.text, "lend_dr = 0\r\n"));
  EXPECT_TRUE(Has(past.text, "len_fi = 0\r\nfi=#\r\n"));
}

}  // namespace
}  // namespace tarvo
