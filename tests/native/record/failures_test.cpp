// Recordings that go wrong, each with its message and the disc left as it
// must be: write failures at the first sector, in the file data and at the
// last sector (with the End session question), a failed close, a drive that
// refuses or hides the write parameters or refuses the speed, the disc pulled
// out while writing, no disc, a scratch file that can't be created, a last
// session that cannot be imported, a missing source file, an empty
// compilation; and the image file page, with a disk that fills up.
#include "drive/mode_pages.h"
#include "iso/disc_route.h"
#include "iso/iso_numbers.h"
#include "iso/recorder_texts.h"
#include "iso/write_preparation.h"
#include "record_fixture.h"

namespace tarvo::test {
namespace {

class FailureTest : public RecordingFixture {
 protected:
  // Two files in the root: 16 + 3 + 2 x 3 structure sectors, then 3 + 35
  // data sectors from F = 25.
  static constexpr uint32_t kFileData = 25;
  static constexpr uint32_t kVolumeSectors = 63;

  void WriteTwoFiles() {
    WriteBytes(Source("a.txt"), Pattern(5000, 1));
    WriteBytes(Source("b.bin"), Pattern(70000, 2));
    WriteList({File(0, "a.txt", 5000, SourceDir()), File(0, "b.bin", 70000, SourceDir())});
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const TracedCommand& c : RecordingTrace()) names.push_back(c.name);
    return names;
  }
  size_t Count(const std::string& name) const {
    const std::vector<std::string> names = Names();
    return size_t(std::count(names.begin(), names.end(), name));
  }
  std::string DiscSectors(uint32_t lba, uint32_t count) {
    const std::string disc = ReadBytes(DiscPath());
    return disc.substr(size_t(lba) * kSectorSize, size_t(count) * kSectorSize);
  }
};

struct WriteFailureCase {
  const char* name;
  int64_t failAt;
  int answer;
};

class WriteFailureTest : public FailureTest, public ::testing::WithParamInterface<WriteFailureCase> {};

TEST_P(WriteFailureTest, AsksToEndTheSessionAndNeverReportsSuccess) {
  const WriteFailureCase c = GetParam();
  MakeBus("fault-write-at = " + std::to_string(c.failAt) + "\n");
  WriteTwoFiles();
  user.answers = {c.answer};
  EXPECT_EQ(RecordDisc(true), 0);

  // (63 x 2048 + 2500000) / 1000000 + 1 = 3: the whole volume, wherever it failed.
  ASSERT_GE(user.shown.size(), 1u);
  EXPECT_EQ(user.shown[0].text, FormatPrintf(texts::kWriteFailedEndSession, 3ul));
  EXPECT_EQ(user.shown[0].caption, "Tarvo");
  EXPECT_EQ(user.shown[0].style, kMbYesNo | kMbIconStop);
  EXPECT_EQ(EndSessionEstimateMb(kVolumeSectors), 3ul);
  EXPECT_NE(user.LastStatus(), texts::kDiscRecorded);
  EXPECT_EQ(progress.ended, 1);
  EXPECT_FALSE(Device().locked());

  const std::vector<TracedCommand> trace = RecordingTrace();
  size_t failed = 0;
  while (failed < trace.size() && !(trace[failed].name == "WRITE(10)" && trace[failed].status != "00")) ++failed;
  ASSERT_LT(failed, trace.size());
  EXPECT_EQ(Count("WRITE(10)"), size_t(c.failAt + 1)) << "the run stops at the failed sector";
  ASSERT_GE(trace.size(), failed + 3);
  EXPECT_EQ(trace[failed + 1].name, "REZERO-UNIT");
  EXPECT_EQ(trace[failed + 2].name, "PREVENT-ALLOW");
  EXPECT_EQ(trace[failed + 2].cdb[4], 0);
  if (c.answer == kIdNo) {
    EXPECT_EQ(trace.size(), failed + 3) << "the disc is left unlocked and in the drive";
    EXPECT_EQ(Count("CLOSE-TRACK-SESSION"), 0u);
    return;
  }
  EXPECT_EQ(Names().back(), "START-STOP-UNIT") << "closed and ejected";
  EXPECT_EQ(Count("CLOSE-TRACK-SESSION"), 1u);
  if (c.failAt == 0) return;  // no track was written: the drive refuses to close (its status is shown)

  // The session holds what was written; the disc takes a next session past the damage.
  InsertDisc();
  ASSERT_EQ(ReadDiscInformation(*access, false, 0), kStatusGood);
  EXPECT_EQ(access->discInfo.DiscStatus, 1);
  const uint32_t next = NextWritableAddress();
  EXPECT_GT(next, uint32_t(c.failAt));
  user.shown.clear();
  EXPECT_EQ(RecordDisc(true), 1) << ::testing::PrintToString(user.Texts());
  EXPECT_EQ(user.LastStatus(), texts::kDiscRecorded);
  EXPECT_EQ(DiscSectors(next + kFileData, 1), Pattern(5000, 1).substr(0, 2048));
}

// Sector 62 is the volume's last (kVolumeSectors - 1).
INSTANTIATE_TEST_SUITE_P(
    Cases, WriteFailureTest,
    ::testing::Values(WriteFailureCase{"FirstSectorNo", 0, kIdNo}, WriteFailureCase{"FirstSectorYes", 0, kIdYes},
                      WriteFailureCase{"FileDataNo", 40, kIdNo}, WriteFailureCase{"FileDataYes", 40, kIdYes},
                      WriteFailureCase{"LastSectorNo", 62, kIdNo}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FailureTest, NoDiscStopsAtDriveNotReady) {
  MakeBus("fault-not-ready = yes\n");
  WriteTwoFiles();
  EXPECT_EQ(RecordDisc(true), 0);
  ASSERT_EQ(user.Texts(), std::vector<std::string>{texts::kDriveNotReady});
  EXPECT_EQ(user.shown[0].style, kMbIconStop);
  EXPECT_EQ(Count("WRITE(10)"), 0u);
  EXPECT_EQ(Count("PREVENT-ALLOW"), 0u);
  EXPECT_EQ(progress.begun, 0u);
}

TEST_F(FailureTest, FailedCloseIsNoSuccessAndLeavesTheDiscUnlockedAndEjected) {
  MakeBus("fault-close = yes\n");
  WriteTwoFiles();
  EXPECT_EQ(RecordDisc(true), 0);
  ASSERT_EQ(user.shown.size(), 1u) << "the drive's status";
  EXPECT_EQ(user.shown[0].style, kMbIconStop);
  EXPECT_EQ(user.LastStatus(), texts::kSessionNotClosed);
  EXPECT_EQ(Count("WRITE(10)"), size_t(kVolumeSectors));
  EXPECT_EQ(progress.ended, 1);
  EXPECT_FALSE(Device().locked());
  EXPECT_EQ(Names().back(), "START-STOP-UNIT") << "ejected";
}

TEST_F(FailureTest, PreparationRefusedByTheDriveEndsBeforeWritingWithTheMediumFree) {
  const struct {
    const char* fault;
    std::vector<std::string> messages;
  } cases[] = {
      {"fault-mode-select = yes", {texts::kErrorModeSelect}},
      {"fault-set-speed = yes", {texts::kErrorSpeed}},
      {"fault-write-parameters = missing", {kFirmwareMessage, texts::kErrorModeSense}},
      {"fault-write-parameters = ps", {kFirmwareMessage, texts::kErrorModeSense}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    MakeBus(std::string(c.fault) + "\n");
    WriteTwoFiles();
    user.shown.clear();
    EXPECT_EQ(RecordDisc(true), 0);
    ASSERT_EQ(user.Texts(), c.messages);
    EXPECT_EQ(user.shown[0].style, kMbIconStop);
    EXPECT_NE(user.LastStatus(), texts::kDiscRecorded);
    EXPECT_EQ(Count("WRITE(10)"), 0u);
    EXPECT_EQ(Count("PREVENT-ALLOW"), 0u) << "never locked";
    EXPECT_FALSE(Device().locked());
  }
}

// The disc pulled out in the middle of the file data: the write failure's
// question; the session can't be closed on an empty tray, and the drive's
// status says so. Nothing is reported as recorded and the tray is unlocked.
TEST_F(FailureTest, DiscRemovedDuringTheRecording) {
  MakeBus("fault-removed-at = 40\n");
  WriteTwoFiles();
  const std::string list = ReadBytes(listPath);
  user.answers = {kIdYes};
  EXPECT_EQ(RecordDisc(true), 0);
  ASSERT_GE(user.shown.size(), 1u);
  EXPECT_EQ(user.shown[0].text, FormatPrintf(texts::kWriteFailedEndSession, 3ul));
  EXPECT_NE(user.LastStatus(), texts::kDiscRecorded);
  EXPECT_EQ(Count("WRITE(10)"), 41u) << "nothing is written after the failure";
  EXPECT_FALSE(Device().locked());
  EXPECT_FALSE(Device().store()->loaded());
  EXPECT_EQ(ReadBytes(listPath), list);
  EXPECT_EQ(ReadBytes(Source("a.txt")), Pattern(5000, 1));
}

// The program folder can't take the scratch file: said so before the drive
// is touched.
TEST_F(FailureTest, ScratchFileThatCannotBeCreatedStopsBeforeTheDrive) {
  fs::create_directories(dir / "program" / "isoFileList.dat");  // not even root can open a folder for writing
  WriteTwoFiles();
  EXPECT_EQ(RecordDisc(true), 0);
  ASSERT_EQ(user.shown.size(), 1u);
  EXPECT_EQ(user.shown[0].text,
            FormatPrintf(texts::kScratchFileFailed, ((dir / "program").string() + "\\isoFileList.dat").c_str()));
  EXPECT_EQ(user.shown[0].style, kMbOk | kMbIconStop);
  EXPECT_NE(user.LastStatus(), texts::kDiscRecorded);
  EXPECT_EQ(Count("PREVENT-ALLOW"), 0u);
  EXPECT_EQ(Count("WRITE(10)"), 0u);
}

TEST_F(FailureTest, EmptyCompilationIsRefusedBeforeTheDriveIsTouched) {
  WriteList({});
  EXPECT_EQ(RecordDisc(true), 0);
  EXPECT_EQ(user.Texts(), std::vector<std::string>{texts::kSelectFilesFirst});
  EXPECT_TRUE(RecordingTrace().empty());
}

// A session of 300 blocks that hold no volume.
void RecordForeignSession(DriveAccess& access) {
  ASSERT_EQ(PrepareForWrite(access, 4 * 176, true, 0, 0), 0);
  const std::vector<uint8_t> junk(kSectorSize, 0xA5);
  for (uint32_t lba = 0; lba < 300; ++lba) ASSERT_EQ(WriteSector(access, junk.data(), lba, 0), 1);
  ASSERT_EQ(CloseSession(access, 0), 1);
}

TEST_F(FailureTest, LastSessionThatCannotBeImported) {
  RecordForeignSession(*access);
  const uint32_t next = NextWritableAddress();
  WriteTwoFiles();
  user.shown.clear();
  user.answers = {kIdNo};
  EXPECT_EQ(RecordDisc(true), 0);
  ASSERT_EQ(user.Texts(), std::vector<std::string>{texts::kPreviousSessionLost});
  EXPECT_EQ(user.shown[0].style, kMbYesNo | kMbIconQuestion);
  EXPECT_EQ(user.LastStatus(), texts::kRecordingCanceled);
  EXPECT_EQ(Count("WRITE(10)"), 0u);
  EXPECT_EQ(Count("MODE-SELECT(10)"), 0u) << "the drive is not even prepared";
  EXPECT_EQ(NextWritableAddress(), next);

  user.answers = {kIdYes};
  user.status.clear();
  EXPECT_EQ(RecordDisc(true), 1);
  EXPECT_EQ(user.status.front(), texts::kPreparing) << "recorded without an import";
  EXPECT_EQ(DiscSectors(next + 16, 1).substr(1, 5), "CD001");
}

TEST_F(FailureTest, MissingSourceAnsweredYesIsRecordedAsZerosAndListed) {
  WriteBytes(Source("a.txt"), Pattern(5000, 1));
  WriteBytes(Source("c.txt"), Pattern(3000, 3));
  WriteList({File(0, "a.txt", 5000, SourceDir()), File(0, "missing.txt", 3000, SourceDir()),
             File(0, "c.txt", 3000, SourceDir())});
  user.answers = {kIdYes};
  EXPECT_EQ(RecordDisc(true), 1);
  ASSERT_EQ(user.shown.size(), 1u);
  EXPECT_EQ(user.shown[0].text, FormatPrintf(texts::kCantOpenFile, (SourceDir() + "missing.txt").c_str()));
  EXPECT_EQ(user.LastStatus(), texts::kDiscRecorded);
  EXPECT_EQ(DiscSectors(kFileData + 3, 2), std::string(2 * kSectorSize, '\0'));
  std::string c = Pattern(3000, 3);
  c.resize(2 * kSectorSize, '\0');
  EXPECT_EQ(DiscSectors(kFileData + 5, 2), c);
  EXPECT_NE(DiscSectors(19, 1).find("MISSING.TXT;1"), std::string::npos) << "still listed";
}

TEST_F(FailureTest, MissingSourceAnsweredNoClosesTheSessionWithoutSuccess) {
  WriteBytes(Source("a.txt"), Pattern(5000, 1));
  WriteList({File(0, "missing.txt", 3000, SourceDir()), File(0, "a.txt", 5000, SourceDir())});
  user.answers = {kIdNo};
  EXPECT_EQ(RecordDisc(true), 0);
  EXPECT_EQ(user.LastStatus(), texts::kEndedEarly);
  EXPECT_EQ(Count("CLOSE-TRACK-SESSION"), 1u) << "the disc stays usable";
  EXPECT_FALSE(Device().locked());
  EXPECT_EQ(progress.ended, 1);
}

// Files that changed size between Add and Start: each keeps the size and the
// extent of the list, a grown one is cut and a shrunk one padded with zeros,
// so no file spills into the next one's sectors.
TEST_F(FailureTest, SourcesThatGrewOrShrankKeepTheirListedExtents) {
  WriteTwoFiles();
  const std::string grown = Pattern(9000, 1);
  const std::string shrunk = Pattern(30000, 2);
  WriteBytes(Source("a.txt"), grown);
  WriteBytes(Source("b.bin"), shrunk);
  EXPECT_EQ(RecordDisc(true), 1);
  EXPECT_EQ(user.LastStatus(), texts::kDiscRecorded);
  EXPECT_EQ(Count("WRITE(10)"), size_t(kVolumeSectors));
  std::string a = grown.substr(0, 5000);
  a.resize(3 * kSectorSize, '\0');
  EXPECT_EQ(DiscSectors(kFileData, 3), a);
  std::string b = shrunk;
  b.resize(35 * kSectorSize, '\0');
  EXPECT_EQ(DiscSectors(kFileData + 3, 35), b);
}

TEST_F(FailureTest, ImagePageWritesIntoDataCdWithAndWithoutFileData) {
  fs::create_directories(dir / "program" / "dataCD");
  const std::string data = Pattern(5000, 1);
  WriteBytes(Source("a.txt"), data);
  WriteList({File(0, "a.txt", 5000, SourceDir())});
  const fs::path image = dir / "program" / "dataCD" / "test.iso";

  ASSERT_EQ(RecordImage("test.iso", true, uint64_t(7) << 20, 5000), 1);
  EXPECT_EQ(user.shown.back().text, "used=0\nncd =7");
  EXPECT_EQ(user.shown.back().caption, "");
  std::string bytes = ReadBytes(image);
  EXPECT_EQ(bytes.size(), 28u * kSectorSize);
  EXPECT_EQ(bytes.substr(32768, 6), std::string("\1CD001"));
  EXPECT_EQ(bytes.substr(25 * kSectorSize, 5000), data);
  EXPECT_EQ(user.LastStatus(), texts::kImageCreated);

  ASSERT_EQ(RecordImage("test.iso", false, uint64_t(7) << 20, 5000), 1);
  EXPECT_EQ(ReadBytes(image).size(), 25u * kSectorSize) << "descriptors, directories and path tables only";
  EXPECT_EQ(Count("WRITE(10)"), 0u);
}

// The image's disk fills up while it is written (/dev/full refuses every
// write with ENOSPC): the message, no success, and the partial image goes.
TEST_F(FailureTest, DiskFullWhileWritingTheImage) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  fs::create_directories(dir / "program" / "dataCD");
  const fs::path image = dir / "program" / "dataCD" / "full.iso";
  fs::create_symlink("/dev/full", image);
  WriteTwoFiles();
  EXPECT_EQ(RecordImage("full.iso", true), 0);
  const std::string path = (dir / "program").string() + "\\dataCD\\full.iso";
  ASSERT_FALSE(user.shown.empty());
  EXPECT_EQ(user.shown.back().text, FormatPrintf(texts::kCantWriteImage, path.c_str()));
  EXPECT_NE(user.LastStatus(), texts::kImageCreated);
  EXPECT_FALSE(fs::is_symlink(image)) << "the partial image is deleted";
  EXPECT_EQ(ReadBytes(Source("b.bin")), Pattern(70000, 2));
}

TEST_F(FailureTest, TooLittleSpaceForTheImageDeletesIt) {
  fs::create_directories(dir / "program" / "dataCD");
  WriteBytes(Source("a.txt"), Pattern(5000, 1));
  WriteList({File(0, "a.txt", 5000, SourceDir())});
  EXPECT_EQ(RecordImage("test.iso", true, (uint64_t(5) << 20) + 4999, 5000), 0);
  EXPECT_EQ(user.Texts(), (std::vector<std::string>{"used=0\nncd =5", texts::kNotEnoughSpace}));
  EXPECT_FALSE(fs::exists(dir / "program" / "dataCD" / "test.iso"));
}

}  // namespace
}  // namespace tarvo::test
