// The import of a disc's last session from hand-made sectors: the Joliet
// descriptor before the primary one, the scan's limits, and hostile
// directories (records of length 0 or 255, records crossing the sector end,
// roots outside the volume, scans that would never end).
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>

#include "iso/iso_numbers.h"
#include "iso/session_import.h"

namespace tarvo {
namespace {

using Sector = std::array<uint8_t, kSectorSize>;

class FakeDisc {
 public:
  SectorReader Reader() {
    return [this](uint32_t address, uint8_t* out) {
      ++reads;
      const auto it = sectors.find(address);
      if (it == sectors.end()) return false;
      std::copy(it->second.begin(), it->second.end(), out);
      return true;
    };
  }
  Sector& At(uint32_t address) {
    Sector& s = sectors[address];
    return s;
  }
  // type 1 primary, 2 Joliet.
  void Descriptor(uint32_t address, uint8_t type, uint32_t volumeSize, uint32_t lPathTable, uint32_t root) {
    Sector& s = At(address);
    s.fill(0);
    s[0] = type;
    std::copy_n("CD001", 5, s.begin() + 1);
    PutBoth32(s.data() + 80, volumeSize);
    PutLsb32(s.data() + 140, lPathTable);
    PutLsb32(s.data() + 158, root);
  }
  // Appends a record at `at`; returns the offset after it.
  uint32_t Record(uint32_t address, uint32_t at, uint8_t length, uint8_t flags, uint32_t extent, uint8_t idLength = 1) {
    Sector& s = At(address);
    s[at] = length;
    PutBoth32(s.data() + at + 2, extent);
    s[at + 25] = flags;
    s[at + 32] = idLength;
    return at + length;
  }
  // A directory sector that begins with "." of `self`, then files.
  void Directory(uint32_t address, uint32_t self, std::initializer_list<uint32_t> files) {
    At(address).fill(0);
    uint32_t at = Record(address, 0, 34, 2, self);
    at = Record(address, at, 34, 2, self);
    for (uint32_t extent : files) at = Record(address, at, 40, 0, extent, 7);
  }

  std::map<uint32_t, Sector> sectors;
  int reads = 0;
};

// A session at 1000: Joliet root at 1022 (two sectors of directories), its L
// path table at 1024.
class SessionImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    disc.Descriptor(1016, 1, 200, 1020, 1019);
    disc.Descriptor(1017, 2, 200, 1024, 1022);
    disc.Directory(1022, 1022, {1030, 1031});
    disc.Directory(1023, 1023, {1040});
    disc.Directory(1024, 0, {7777});  // the path table: never read as a directory
  }
  PreviousSession Import() { return ImportPreviousSession(disc.Reader(), 1016); }
  FakeDisc disc;
};

TEST_F(SessionImportTest, JolietTreeUpToItsPathTable) {
  const PreviousSession session = Import();
  EXPECT_TRUE(session.imported);
  EXPECT_EQ(session.extents, (std::vector<uint32_t>{1030, 1031, 1040}));
}

TEST_F(SessionImportTest, PrimaryDescriptorWhenThereIsNoJoliet) {
  disc.sectors.erase(1017);
  disc.Directory(1019, 1019, {1050});
  disc.Directory(1020, 0, {9999});
  EXPECT_EQ(Import().extents, std::vector<uint32_t>{1050});
}

TEST_F(SessionImportTest, WithoutAPathTableBeyondTheRootTheFirstFileEndsTheScan) {
  disc.Descriptor(1017, 2, 200, 5, 1022);
  disc.Directory(1022, 1022, {1024});
  disc.Directory(1023, 1023, {1025});  // 1024 holds file data, not a directory
  EXPECT_EQ(Import().extents, (std::vector<uint32_t>{1024, 1025}));
}

TEST_F(SessionImportTest, NoVolumeOfThisLayoutFails) {
  struct Case {
    const char* name;
    std::function<void(FakeDisc&)> spoil;
  };
  const Case cases[] = {
      {"no descriptor", [](FakeDisc& d) { d.sectors.clear(); }},
      {"descriptors unreadable", [](FakeDisc& d) { d.sectors.erase(1016), d.sectors.erase(1017); }},
      {"root not above the descriptor", [](FakeDisc& d) { d.Descriptor(1017, 2, 200, 1024, 1016); }},
      {"root beyond the volume", [](FakeDisc& d) { d.Descriptor(1017, 2, 200, 1024, 1300); }},
      {"root beyond the disc", [](FakeDisc& d) { d.Descriptor(1017, 2, 0xFFFFFFFF, 0, 0xFFFFFF00); }},
      {"root unreadable", [](FakeDisc& d) { d.sectors.erase(1022); }},
      {"root not a directory", [](FakeDisc& d) { d.At(1022)[25] = 0; }},
      {"root's first record is not itself", [](FakeDisc& d) { d.Record(1022, 0, 34, 2, 1023); }},
      {"root's first record has length 0", [](FakeDisc& d) { d.At(1022)[0] = 0; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeDisc spoilt = disc;
    c.spoil(spoilt);
    const PreviousSession session = ImportPreviousSession(spoilt.Reader(), 1016);
    EXPECT_FALSE(session.imported);
    EXPECT_LE(spoilt.reads, 3);
  }
}

TEST_F(SessionImportTest, HostileRecordsAreNeverReadPastTheSectorEnd) {
  // Length 0 ends a sector's records (here before 1031); the next sector is
  // still read.
  disc.At(1022)[68 + 40] = 0;
  // In the next one, a record of 255 bytes fits; a second one would cross
  // the sector end and ends the sector.
  disc.Directory(1023, 1023, {});
  uint32_t at = disc.Record(1023, 68, 255, 0, 1101, 200);
  while (at + 40 <= 1868) at = disc.Record(1023, at, 40, 0, 1102);
  disc.Record(1023, at, 255, 0, 4242);
  const PreviousSession session = Import();
  ASSERT_TRUE(session.imported);
  ASSERT_GE(session.extents.size(), 3u);
  EXPECT_EQ(session.extents[0], 1030u);
  EXPECT_EQ(session.extents[1], 1101u);
  EXPECT_EQ(session.extents.back(), 1102u);
  EXPECT_EQ(std::count(session.extents.begin(), session.extents.end(), 4242u), 0);
}

TEST_F(SessionImportTest, RecordWithAnIdentifierLongerThanItselfIsNotTaken) {
  disc.Directory(1023, 1023, {});
  disc.Record(1023, 68, 40, 0, 6060, 200);
  EXPECT_EQ(Import().extents, (std::vector<uint32_t>{1030, 1031}));
}

TEST_F(SessionImportTest, ScanNeverRunsPastTheVolume) {
  // No path table beyond the root and no files: a hostile volume space size
  // of 4 G sectors, and every sector reads back as the same directory.
  disc.Descriptor(1017, 2, 0xFFFFFFFF, 0, 1022);
  disc.sectors.erase(1023);
  disc.sectors.erase(1024);
  disc.Directory(1022, 1022, {});
  FakeDisc& d = disc;
  int reads = 0;
  const SectorReader endless = [&d, &reads](uint32_t address, uint8_t* out) {
    ++reads;
    const uint32_t from = d.sectors.count(address) ? address : 1022;
    std::copy(d.sectors[from].begin(), d.sectors[from].end(), out);
    return true;
  };
  const PreviousSession session = ImportPreviousSession(endless, 1016);
  EXPECT_TRUE(session.imported);
  EXPECT_TRUE(session.extents.empty());
  EXPECT_LE(reads, 99 * 60 * 75 + 2);
}

}  // namespace
}  // namespace tarvo
