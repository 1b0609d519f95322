// The import of a disc's last session from hand-made sectors: files found by
// path through the Joliet tree (the primary one when there is none), the keys
// the list's Recorded entries look them up with, and hostile directories
// (records of length 0 or 255, records crossing the sector end, loops,
// directories outside the volume, lengths that would never end).
#include <gtest/gtest.h>

#include <array>
#include <functional>
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
  Sector& At(uint32_t address) { return sectors[address]; }
  // type 1 primary, 2 Joliet; the root record's extent and length.
  void Descriptor(uint32_t address, uint8_t type, uint32_t volumeSize, uint32_t root, uint32_t rootLength = 2048) {
    Sector& s = At(address);
    s.fill(0);
    s[0] = type;
    std::copy_n("CD001", 5, s.begin() + 1);
    PutBoth32(s.data() + 80, volumeSize);
    PutLsb32(s.data() + 158, root);
    PutLsb32(s.data() + 166, rootLength);
  }
  // Appends a record at `at` (identifier in Joliet form when `joliet`);
  // returns the offset after it.
  uint32_t Record(uint32_t address, uint32_t at, const std::string& id, uint8_t flags, uint32_t extent,
                  uint32_t length = 0, bool joliet = true, uint8_t recordLength = 0) {
    Sector& s = At(address);
    std::string bytes = id;
    if (joliet && id.size() > 1) {
      bytes.clear();
      for (char c : id) bytes += std::string{'\0', c};
    }
    const uint32_t size = recordLength ? recordLength : (33 + bytes.size() + 1) & ~1u;
    s[at] = uint8_t(size);
    PutBoth32(s.data() + at + 2, extent);
    PutBoth32(s.data() + at + 10, length);
    s[at + 25] = flags;
    s[at + 32] = uint8_t(bytes.size());
    std::copy(bytes.begin(), bytes.end(), s.begin() + at + 33);
    return at + size;
  }
  // A directory sector: "." and ".." of `self`, then (name, flags, extent).
  uint32_t Directory(uint32_t address, uint32_t self,
                     std::initializer_list<std::tuple<std::string, uint8_t, uint32_t>> entries, bool joliet = true) {
    At(address).fill(0);
    uint32_t at = Record(address, 0, std::string(1, '\0'), 2, self, 2048);
    at = Record(address, at, std::string(1, '\1'), 2, self, 2048);
    for (const auto& [name, flags, extent] : entries)
      at = Record(address, at, name, flags, extent, flags & 2 ? 2048 : 10, joliet);
    return at;
  }

  std::map<uint32_t, Sector> sectors;
  int reads = 0;
};

// A session at 1000: the Joliet root at 1022, directory "Docs" at 1023.
class SessionImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    disc.Descriptor(1016, 1, 200, 1019);
    disc.Descriptor(1017, 2, 200, 1022);
    disc.Directory(1022, 1022, {{"Zeta.txt;1", 0, 1030}, {"Docs", 2, 1023}, {"alpha.txt;1", 0, 1031}});
    disc.Directory(1023, 1023, {{"Guide.txt;1", 0, 1040}});
  }
  PreviousSession Import() { return ImportPreviousSession(disc.Reader(), 1016); }
  FakeDisc disc;
};

TEST_F(SessionImportTest, JolietFilesByPathWhateverTheirOrderOnTheDisc) {
  const PreviousSession session = Import();
  ASSERT_TRUE(session.imported);
  EXPECT_EQ(session.extents.size(), 3u);
  EXPECT_EQ(session.ExtentOf(RecordedEntryKey("E:\\", "alpha.txt")), 1031u);
  EXPECT_EQ(session.ExtentOf(RecordedEntryKey("E:\\", "ZETA.TXT")), 1030u) << "CD file systems ignore case";
  EXPECT_EQ(session.ExtentOf(RecordedEntryKey("E:\\Docs\\", "Guide.txt")), 1040u);
  EXPECT_EQ(session.ExtentOf(RecordedEntryKey("E:\\", "Guide.txt")), 0u) << "only at its own path";
  EXPECT_EQ(session.ExtentOf(RecordedEntryKey("E:\\", "missing.txt")), 0u);
}

TEST_F(SessionImportTest, PrimaryTreeWhenThereIsNoJoliet) {
  disc.sectors.erase(1017);
  disc.Directory(1019, 1019, {{"README.TXT;1", 0, 1050}, {"NOEXT.;1", 0, 1051}, {"SUB", 2, 1020}}, false);
  disc.Directory(1020, 1020, {{"INNER.BIN;1", 0, 1052}}, false);
  const PreviousSession session = Import();
  ASSERT_TRUE(session.imported);
  EXPECT_EQ(session.ExtentOf(RecordedEntryKey("R:\\", "readme.txt")), 1050u);
  EXPECT_EQ(session.ExtentOf(RecordedEntryKey("R:\\", "noext")), 1051u);
  EXPECT_EQ(session.ExtentOf(RecordedEntryKey("R:\\SUB\\", "INNER.BIN")), 1052u);
}

TEST(SessionPathKey, VersionCaseAndTrailingDot) {
  EXPECT_EQ(SessionPathKey(u"Docs\\Guide.txt;1"), u"DOCS\\GUIDE.TXT");
  EXPECT_EQ(SessionPathKey(u"NOEXT.;1"), u"NOEXT");
  EXPECT_EQ(SessionPathKey(u"\u00e4bc"), u"\u00e4BC") << "only ASCII letters are folded";
  EXPECT_EQ(RecordedEntryKey("D:\\a\\b\\", "c"), u"A\\B\\C");
  EXPECT_EQ(RecordedEntryKey("D:\\", "c"), u"C");
}

TEST_F(SessionImportTest, NoVolumeOfThisLayoutFails) {
  struct Case {
    const char* name;
    std::function<void(FakeDisc&)> spoil;
  };
  const Case cases[] = {
      {"no descriptor", [](FakeDisc& d) { d.sectors.clear(); }},
      {"descriptors unreadable", [](FakeDisc& d) { d.sectors.erase(1016), d.sectors.erase(1017); }},
      {"root not above the descriptor", [](FakeDisc& d) { d.Descriptor(1017, 2, 200, 1016); }},
      {"root beyond the volume", [](FakeDisc& d) { d.Descriptor(1017, 2, 200, 1300); }},
      {"root beyond the disc", [](FakeDisc& d) { d.Descriptor(1017, 2, 0xFFFFFFFF, 0xFFFFFF00); }},
      {"root unreadable", [](FakeDisc& d) { d.sectors.erase(1022); }},
      {"root not a directory", [](FakeDisc& d) { d.At(1022)[25] = 0; }},
      {"root's first record is not itself", [](FakeDisc& d) { PutBoth32(d.At(1022).data() + 2, 1023); }},
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
  // Length 0 ends a sector's records: alpha.txt, behind it, is not seen.
  const uint32_t alpha = 68 + 54 + 42;  // after ".", "..", "Zeta.txt;1" and "Docs"
  disc.At(1022)[alpha] = 0;
  // In Docs, a record of 255 bytes fits; one that would cross the sector end
  // ends the sector.
  uint32_t at = disc.Directory(1023, 1023, {});
  at = disc.Record(1023, at, "big;1", 0, 1101, 10, true, 255);
  while (at + 40 <= 1900) at = disc.Record(1023, at, "f" + std::to_string(at) + ";1", 0, 1102);
  disc.Record(1023, at, "crossing;1", 0, 4242, 10, true, 200);
  const PreviousSession session = Import();
  ASSERT_TRUE(session.imported);
  EXPECT_EQ(session.ExtentOf(u"ZETA.TXT"), 1030u);
  EXPECT_EQ(session.ExtentOf(u"ALPHA.TXT"), 0u);
  EXPECT_EQ(session.ExtentOf(u"DOCS\\BIG"), 1101u);
  EXPECT_EQ(session.ExtentOf(u"DOCS\\CROSSING"), 0u);
  for (const auto& [key, extent] : session.extents) EXPECT_NE(extent, 4242u);
}

TEST_F(SessionImportTest, RecordWithAnIdentifierLongerThanItselfIsNotTaken) {
  disc.Directory(1023, 1023, {});
  disc.Record(1023, 68, "x;1", 0, 6060, 10, true, 40);
  disc.At(1023)[68 + 32] = 200;
  const PreviousSession session = Import();
  EXPECT_EQ(session.extents.size(), 2u);
}

TEST_F(SessionImportTest, LoopsAndDirectoriesOutsideTheVolumeAreNotFollowed) {
  // Docs holds the root and itself again, a directory beyond the volume and
  // one before the session.
  disc.Directory(1023, 1023,
                 {{"Guide.txt;1", 0, 1040}, {"Up", 2, 1022}, {"Self", 2, 1023}, {"Far", 2, 5000}, {"Old", 2, 10}});
  const PreviousSession session = Import();
  ASSERT_TRUE(session.imported);
  EXPECT_EQ(session.extents.size(), 3u);
  EXPECT_LE(disc.reads, 4) << "no directory twice";
}

TEST_F(SessionImportTest, WalkNeverRunsPastTheDisc) {
  // A volume space size of 4 G sectors, a root of 4 G bytes, and every
  // sector reads back as a directory holding a new subdirectory.
  disc.Descriptor(1017, 2, 0xFFFFFFFF, 1022, 0xFFFFFFFF);
  int reads = 0;
  const SectorReader endless = [&reads](uint32_t address, uint8_t* out) {
    ++reads;
    FakeDisc d;
    if (address == 1016 || address == 1017) {
      d.Descriptor(address, uint8_t(address - 1015), 0xFFFFFFFF, 1022, 0xFFFFFFFF);
    } else {
      d.Directory(address, address, {{"d", 2, address + 1}});
    }
    std::copy(d.At(address).begin(), d.At(address).end(), out);
    return true;
  };
  const PreviousSession session = ImportPreviousSession(endless, 1016);
  EXPECT_TRUE(session.imported);
  EXPECT_TRUE(session.extents.empty());
  EXPECT_LE(reads, 99 * 60 * 75 + 2);
}

// Sectors made up as they are read: a volume as large as a disc whose every
// sector from the root on is a directory sector `Fill` writes.
class GeneratedDisc {
 public:
  explicit GeneratedDisc(std::function<void(FakeDisc&, uint32_t)> fill) : fill_(std::move(fill)) {}
  SectorReader Reader() {
    return [this](uint32_t address, uint8_t* out) {
      ++reads;
      FakeDisc d;
      if (address == 1016 || address == 1017) {
        d.Descriptor(address, uint8_t(address - 1015), 0xFFFFFFFF, 1022, rootLength);
      } else {
        fill_(d, address);
      }
      std::copy(d.At(address).begin(), d.At(address).end(), out);
      return true;
    };
  }
  uint32_t rootLength = 2048;
  int reads = 0;

 private:
  std::function<void(FakeDisc&, uint32_t)> fill_;
};

TEST(SessionImportLimits, PathsWithoutEndCountAsAnUnreadableSession) {
  // A chain of directories with 100-character names nested as deep as the
  // disc goes: every path is longer than the one before (before the limit,
  // hours of copying).
  GeneratedDisc deep([](FakeDisc& d, uint32_t address) {
    d.Directory(address, address, {{std::string(100, 'n'), 2, address + 1}, {"f;1", 0, 7}});
  });
  // A root as long as the disc, every sector full of files with distinct
  // 100-character names (before the limit, gigabytes of keys). One sector,
  // with the sector's address and the record's number written into each
  // name.
  FakeDisc files;
  files.Directory(0, 1022, {});
  for (uint32_t i = 0, at = 68; i < 8; ++i) at = files.Record(0, at, std::string(98, 'x') + ";1", 0, 7);
  GeneratedDisc wide([&files](FakeDisc& d, uint32_t address) {
    Sector& s = d.At(address) = files.At(0);
    for (uint16_t at = 68, n = 0; s[at] != 0; at += s[at], ++n) {
      PutMsb32(s.data() + at + 33, address);
      PutMsb16(s.data() + at + 37, n);
    }
  });
  wide.rootLength = 0xFFFFFFFF;
  for (GeneratedDisc* disc : {&deep, &wide}) {
    const PreviousSession session = ImportPreviousSession(disc->Reader(), 1016);
    EXPECT_FALSE(session.imported);
    EXPECT_TRUE(session.extents.empty());
    EXPECT_LT(disc->reads, 99 * 60 * 75);
  }
}

}  // namespace
}  // namespace tarvo
