#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "iso/iso_numbers.h"
#include "iso/iso_structures.h"

namespace tarvo {
namespace {

std::string Bytes(const uint8_t* p, size_t n) { return std::string(reinterpret_cast<const char*>(p), n); }
std::string Ucs2(const std::string& ascii) {
  std::string out;
  for (char c : ascii) out += std::string(1, '\0') + c;
  return out;
}
std::string Spaces(size_t n) { return std::string(n, ' '); }
std::string Zeros(size_t n) { return std::string(n, '\0'); }

TEST(IsoNumbers, SwapsAndSectors) {
  EXPECT_EQ(SwapBytes32(0x11223344u), 0x44332211u);
  EXPECT_EQ(SwapBytes16(0x1122), 0x2211);
  EXPECT_EQ(SectorsFor(0), 0u);
  EXPECT_EQ(SectorsFor(1), 1u);
  EXPECT_EQ(SectorsFor(2048), 1u);
  EXPECT_EQ(SectorsFor(2049), 2u);
  EXPECT_EQ(SectorOffset(5000), 904u);
}

struct IdentifierCase {
  const char* name;
  bool directory;
  TreeKind kind;
  std::string expected;
};

TEST(IsoNames, SingleNameIdentifiers) {
  const IdentifierCase cases[] = {
      {"readme", false, TreeKind::Primary, "README;1"},
      {"readme", false, TreeKind::Joliet, Ucs2("readme;1")},
      {"a.c", false, TreeKind::Primary, "A.C;1"},
      {"my file.html", false, TreeKind::Primary, "MY_FILE.HTM;1"},
      {"archive.tar.gz", false, TreeKind::Primary, "ARCHIVE.TAR;1"},
      {"abcdefgh.ij.kl", false, TreeKind::Primary, "ABCDEFGH.IJ_;1"},
      {"longfilename.txt", false, TreeKind::Primary, "LONGFILE.TXT;1"},
      {"my.docs", true, TreeKind::Primary, "MY_DOCS"},
      {"My.Docs", true, TreeKind::Joliet, Ucs2("My.Docs")},
  };
  for (const IdentifierCase& c : cases)
    EXPECT_EQ(Identifier(c.name, c.directory, c.kind), c.expected) << c.name;
}

TEST(IsoStructures, DirectoryRecordLengthsAndFields) {
  uint8_t record[256];
  const RecordDate date{2007, 3, 1, 5, 12, 34, 56, 789};
  struct Case {
    const char* name;
    SpecialRecord special;
    uint32_t length;
  } cases[] = {{"a", SpecialRecord::None, 34}, {"ab", SpecialRecord::None, 36}, {"", SpecialRecord::Self, 34}, {"", SpecialRecord::Parent, 34}};
  for (const Case& c : cases)
    EXPECT_EQ(BuildDirectoryRecord(record, c.name, 1, 2, 2, date, c.special, TreeKind::Primary), c.length) << c.name;
  // A 1-byte identifier needs no pad byte, a 2-byte one does.
  EXPECT_EQ(BuildDirectoryRecordWithIdentifier(record, "A", 0, 0, 0, date, SpecialRecord::None), 34u);
  EXPECT_EQ(BuildDirectoryRecordWithIdentifier(record, "AB", 0, 0, 0, date, SpecialRecord::None), 36u);
  EXPECT_EQ(record[35], 0);

  BuildDirectoryRecord(record, "a.c", 0x12345678, 5000, 0, date, SpecialRecord::None, TreeKind::Primary);
  EXPECT_EQ(Bytes(record + 2, 8), Bytes((const uint8_t*)"\x78\x56\x34\x12\x12\x34\x56\x78", 8));
  EXPECT_EQ(Bytes(record + 10, 8), Bytes((const uint8_t*)"\x88\x13\0\0\0\0\x13\x88", 8));
  EXPECT_EQ(Bytes(record + 18, 7), Bytes((const uint8_t*)"\x6B\x03\x05\x0C\x22\x38\x00", 7));  // 2007 -> 107
  EXPECT_EQ(Bytes(record + 28, 4), Bytes((const uint8_t*)"\1\0\0\1", 4));
  EXPECT_EQ(record[32], 5);
  EXPECT_EQ(Bytes(record + 33, 5), "A.C;1");

  BuildDirectoryRecord(record, "x", 0, 0, 0, RecordDate{}, SpecialRecord::None, TreeKind::Primary);
  EXPECT_EQ(record[18], 0) << "a zero date stays 0";
  BuildDirectoryRecord(record, "", 0, 0, 2, date, SpecialRecord::Parent, TreeKind::Joliet);
  EXPECT_EQ(record[32], 1);
  EXPECT_EQ(record[33], 1);
}

TEST(IsoStructures, PathTablesAndTheirMForm) {
  uint8_t table[64] = {};
  uint32_t size = BuildPathTableRecord(table, "", 1, 19, TreeKind::Primary);
  EXPECT_EQ(size, 10u);
  size += BuildPathTableRecord(table + size, "my.docs", 1, 0x01020304, TreeKind::Primary);
  EXPECT_EQ(size, 10u + 16u);
  EXPECT_EQ(Bytes(table + 10, 16), Bytes((const uint8_t*)"\x07\x00\x04\x03\x02\x01\x01\x00MY_DOCS\x00", 16));
  ConvertPathTableToM(table, size);
  EXPECT_EQ(Bytes(table, 10), Bytes((const uint8_t*)"\x01\x00\x00\x00\x00\x13\x00\x01\x00\x00", 10));
  EXPECT_EQ(Bytes(table + 10, 16), Bytes((const uint8_t*)"\x07\x00\x01\x02\x03\x04\x00\x01MY_DOCS\x00", 16));
}

TEST(IsoStructures, TerminatorSector) {
  std::vector<uint8_t> sector(2048, 0xEE);
  BuildTerminator(sector.data());
  EXPECT_EQ(Bytes(sector.data(), 7), Bytes((const uint8_t*)"\xFF" "CD001\x01", 7));
  EXPECT_EQ(Bytes(sector.data() + 7, 2041), Zeros(2041));
}

// Every byte range of both descriptors: (first byte, expected bytes).
struct Field {
  size_t at;
  std::string bytes;
};

TEST(IsoStructures, VolumeDescriptorsByteByByte) {
  const RecordDate now{2007, 3, 1, 5, 12, 34, 56, 789};
  VolumeTexts texts;
  texts.dataPreparer = "prep";
  texts.copyrightFile = "copy.txt";
  const std::string app(kApplicationIdentifier);
  const std::string date = std::string("2007030512345678") + '\0';
  std::vector<uint8_t> sector(2048, 0xEE);
  std::string label = "my cd-1";
  BuildVolumeDescriptor(sector.data(), TreeKind::Primary, label, 28, 20, 21, 2048, 10, 19, texts, now);
  EXPECT_EQ(label, "MY_CD_1") << "converted in place";
  const std::string rootRecord = Bytes((const uint8_t*)"\x22\x00\x13\0\0\0\0\0\0\x13\0\x08\0\0\0\0\x08\0", 18);
  const Field primary[] = {
      {0, Bytes((const uint8_t*)"\x01" "CD001\x01\x00", 8)},
      {8, Spaces(31) + Zeros(1)},
      {40, "MY_CD_1" + Zeros(1) + Spaces(23) + Zeros(1)},
      {72, Zeros(8)},
      {80, Bytes((const uint8_t*)"\x1C\0\0\0\0\0\0\x1C", 8)},
      {88, Zeros(32)},
      {120, Bytes((const uint8_t*)"\1\0\0\1\1\0\0\1\0\x08\x08\0", 12)},
      {132, Bytes((const uint8_t*)"\x0A\0\0\0\0\0\0\x0A\x14\0\0\0\0\0\0\0\0\0\0\x15\0\0\0\0", 24)},
      {156, rootRecord},
      {181, Bytes((const uint8_t*)"\x02\0\0\x01\0\0\x01\x01\x00", 9)},
      {190, Spaces(127) + Zeros(1)},
      {318, Spaces(127) + Zeros(1)},
      {446, "prep" + Zeros(1) + Spaces(122) + Zeros(1)},
      {574, app + Zeros(1) + Spaces(126 - app.size()) + Zeros(1)},
      {702, "copy.txt" + Zeros(1) + Spaces(28)},
      {739, Spaces(74)},
      {813, date + date + date + date},
      {881, Bytes((const uint8_t*)"\x01\x00", 2)},
      {883, Zeros(2048 - 883)},
  };
  for (const Field& f : primary) EXPECT_EQ(Bytes(sector.data() + f.at, f.bytes.size()), f.bytes) << "primary byte " << f.at;
  EXPECT_EQ(Bytes(sector.data() + 174, 6), Bytes((const uint8_t*)"\x6B\x03\x05\x0C\x22\x38", 6));

  std::fill(sector.begin(), sector.end(), 0xEE);
  BuildVolumeDescriptor(sector.data(), TreeKind::Joliet, label, 28, 23, 24, 2048, 10, 22, texts, now);
  const Field joliet[] = {
      {0, Bytes((const uint8_t*)"\x02" "CD001\x01\x00", 8)},
      {8, Ucs2(Spaces(15)) + Zeros(2)},
      {40, Ucs2("MY_CD_1") + Zeros(2) + Ucs2(Spaces(7)) + Zeros(2)},
      {88, "%/E" + Zeros(29)},
      {140, Bytes((const uint8_t*)"\x17\0\0\0\0\0\0\0\0\0\0\x18\0\0\0\0", 16)},
      {190, Ucs2(Spaces(63)) + Zeros(2)},
      {318, Ucs2(Spaces(63)) + Zeros(2)},
      {446, Ucs2("prep" + Spaces(59)) + Zeros(2)},
      {574, Ucs2(app + Spaces(63 - app.size())) + Zeros(2)},
      {702, Ucs2("copy.txt" + Spaces(10)) + Zeros(1)},
      {739, Ucs2(Spaces(18)) + Zeros(1) + Ucs2(Spaces(18)) + Zeros(1)},
      {813, date + date + date + date},
      {881, Bytes((const uint8_t*)"\x01\x00", 2)},
      {883, Zeros(2048 - 883)},
  };
  for (const Field& f : joliet) EXPECT_EQ(Bytes(sector.data() + f.at, f.bytes.size()), f.bytes) << "Joliet byte " << f.at;
}

TEST(IsoStructures, LabelConversionAndEmptyLabel) {
  std::string label = "a\xE9z.9";
  ConvertLabel(label);
  EXPECT_EQ(label, "A_Z_9");
  std::vector<uint8_t> sector(2048);
  std::string empty;
  BuildVolumeDescriptor(sector.data(), TreeKind::Primary, empty, 1, 0, 0, 0, 10, 0, VolumeTexts{}, RecordDate{});
  EXPECT_EQ(sector[40], 0);
  EXPECT_EQ(sector[41], ' ');
}

}  // namespace
}  // namespace tarvo
