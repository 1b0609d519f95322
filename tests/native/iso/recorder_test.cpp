#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "iso/image_route.h"
#include "iso/iso_numbers.h"
#include "iso/recorder.h"
#include "iso/recorder_texts.h"
#include "isocheck.h"
#include "list_builder.h"
#include "recorder_fakes.h"

namespace tarvo {
namespace {

namespace fs = std::filesystem;
using test::Dir;
using test::File;
using test::ListBytes;
using test::Marker;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
void WriteAll(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string Pattern(size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[i] = char(i * 7 + i / 251);
  return s;
}

RecordDate FixedClock() { return RecordDate{2007, 3, 1, 5, 12, 34, 56, 789}; }

class RecorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("tarvo-recorder-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                       "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir / "src");
    source = (dir / "src").string() + "/";
    image = dir / "out.iso";
    request.label = "test";
    request.listPath = (dir / "list.dat").string();
    request.scratchPath = (dir / "isoFileList.dat").string();
  }
  void TearDown() override { fs::remove_all(dir); }

  int RecordImage(const std::string& list, uint32_t used = 5000, uint64_t freeBytes = uint64_t(1) << 40) {
    WriteAll(request.listPath, list);
    ImageRoute route({image.string(), dir.string(), "create failed"}, used,
                     [freeBytes](const std::string&) { return freeBytes; });
    RecorderEnvironment env{user, progress, FixedClock};
    return RecordCompilation(request, env, route);
  }
  IsoCheckReport Check(bool allowShort = false) {
    IsoCheckOptions options;
    options.allowShort = allowShort;
    return CheckIsoImage(image.string(), options);
  }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : user.messages) texts.push_back(m.text);
    return texts;
  }

  fs::path dir, image;
  std::string source;
  RecordRequest request;
  test::FakeUser user;
  test::CountingProgress progress;
};

TEST_F(RecorderTest, SingleFileImageIsTwentyEightSectors) {
  const std::string data = Pattern(5000);
  WriteAll(source + "a.txt", data);
  ASSERT_EQ(RecordImage(ListBytes({File(0, "a.txt", 5000, source)})), 1);
  const std::string bytes = ReadAll(image);
  ASSERT_EQ(bytes.size(), 57344u);
  EXPECT_EQ(bytes.substr(32768, 6), "\1CD001");
  EXPECT_EQ(bytes.substr(32768 + 40, 5), std::string("TEST\0", 5));
  EXPECT_EQ(request.label, "TEST");
  EXPECT_EQ(bytes.substr(25 * 2048, 5000), data);
  EXPECT_EQ(bytes.substr(25 * 2048 + 5000), std::string(3 * 2048 - 5000, '\0'));
  EXPECT_EQ(bytes.substr(0, 32768), std::string(32768, '\0'));
  const IsoCheckReport report = Check();
  EXPECT_TRUE(report.ok()) << report.problems[0];
  EXPECT_EQ(report.volumeSpaceSize, 28u);

  ASSERT_EQ(user.messages.size(), 1u);
  EXPECT_EQ(user.messages[0].text, "used=0\nncd =1048576");
  EXPECT_EQ(user.messages[0].caption, "");
  EXPECT_EQ(user.Status(), texts::kImageCreated);
  EXPECT_EQ(progress.begun, 2u * 1 + 5 + 3);
  EXPECT_EQ(progress.ended, 1);
  // The scratch file: path length, size 5000, path.
  std::string scratch;
  test::PutU32(scratch, uint32_t(source.size() + 5));
  test::PutU32(scratch, 5000);
  EXPECT_EQ(ReadAll(request.scratchPath), scratch + source + "a.txt");
}

TEST_F(RecorderTest, NestedCompilationPassesTheChecker) {
  fs::create_directories(dir / "src" / "d");
  WriteAll(source + "d/x.bin", Pattern(2048));
  WriteAll(source + "e.bin", "");
  std::vector<test::TestEntry> entries = {Dir(0, "d", source), File(1, "x.bin", 2048, source + "d/"),
                                          Dir(1, "empty", source + "d/"), Marker(2), File(0, "e.bin", 0, source)};
  // Eighty names that collide in 8.3 form and fill several directory sectors.
  for (int i = 0; i < 80; ++i) entries.push_back(File(0, "zero file number " + std::to_string(i) + ".dat", 0, source));
  ASSERT_EQ(RecordImage(ListBytes(entries)), 1);
  const IsoCheckReport report = Check();
  ASSERT_TRUE(report.ok()) << report.problems[0];
  EXPECT_EQ(report.directories, 3u);
  EXPECT_EQ(report.files, 82u);
}

TEST_F(RecorderTest, WithoutFileDataTheImageEndsAfterThePathTables) {
  WriteAll(source + "a.txt", Pattern(5000));
  request.includeFileData = false;
  ASSERT_EQ(RecordImage(ListBytes({File(0, "a.txt", 5000, source)})), 1);
  EXPECT_EQ(ReadAll(image).size(), 25u * 2048);
  EXPECT_EQ(progress.begun, 7u);
  const IsoCheckReport report = Check(true);
  EXPECT_TRUE(report.ok()) << report.problems[0];
  EXPECT_FALSE(Check(false).ok());
}

TEST_F(RecorderTest, MissingSourceAnsweredYesIsRecordedAsZeros) {
  WriteAll(source + "b.txt", Pattern(100));
  user.answers = {kIdYes};
  ASSERT_EQ(RecordImage(ListBytes({File(0, "gone.txt", 3000, source), File(0, "b.txt", 100, source)})), 1);
  const std::string bytes = ReadAll(image);
  ASSERT_EQ(bytes.size(), (25u + 2 + 1) * 2048);
  EXPECT_EQ(bytes.substr(25 * 2048, 4096), std::string(4096, '\0'));
  EXPECT_EQ(bytes.substr(27 * 2048, 100), Pattern(100));
  EXPECT_EQ(user.messages.at(1).text, "Can't open file: " + source + "gone.txt\nDo you want to continue recording other files ?");
  EXPECT_EQ(user.messages.at(1).style, kMbYesNo | kMbIconStop);
  EXPECT_TRUE(Check().ok());
}

TEST_F(RecorderTest, MissingSourceAnsweredNoIsNoSuccessAndLeavesNoImage) {
  user.answers = {kIdNo};
  EXPECT_EQ(RecordImage(ListBytes({File(0, "gone.txt", 3000, source)})), 0);
  EXPECT_EQ(user.Status(), texts::kEndedEarly);
  EXPECT_FALSE(fs::exists(image));
  EXPECT_EQ(progress.ended, 1);
}

TEST_F(RecorderTest, RefusalsBeforeWriting) {
  struct Case {
    const char* what;
    std::string list;
    uint32_t used;
    uint64_t freeBytes;
    std::vector<std::string> messages;
  } cases[] = {
      {"hostile list", ListBytes({Dir(0, "d"), File(0, "f", 1)}), 5000, uint64_t(1) << 40,
       {"used=0\nncd =1048576",
        "This data file list is damaged and can't be recorded:\nthe directory \"d\" has neither entries nor its "
        "empty-directory marker"}},
      {"list ending inside a record", ListBytes({File(0, "f", 1)}).substr(0, 40), 5000, uint64_t(1) << 40,
       {"used=0\nncd =1048576",
        "This data file list is damaged and can't be recorded:\nthe file ends inside the record at offset 31"}},
      {"short header", std::string("MORVELINE"), 5000, uint64_t(1) << 40, {"used=0\nncd =1048576"}},
      {"empty compilation", ListBytes({}), 0, uint64_t(1) << 40, {texts::kSelectFilesFirst}},
      {"not enough space", ListBytes({File(0, "f", 1)}), 3 << 20, (8 << 20) - 1,
       {"used=3\nncd =7", texts::kNotEnoughSpace}},
  };
  for (const Case& c : cases) {
    user = test::FakeUser();
    EXPECT_EQ(RecordImage(c.list, c.used, c.freeBytes), 0) << c.what;
    EXPECT_EQ(MessageTexts(), c.messages) << c.what;
    EXPECT_FALSE(fs::exists(image)) << c.what;
  }
}

TEST_F(RecorderTest, ImageThatCannotBeCreatedIsReported) {
  image = dir / "no-such-folder" / "out.iso";
  EXPECT_EQ(RecordImage(ListBytes({File(0, "f", 1)})), 0);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"create failed"});
}

TEST_F(RecorderTest, WrongMagicIsReportedAndTheRunGoesOn) {
  WriteAll(source + "a.txt", "x");
  ASSERT_EQ(RecordImage(ListBytes({File(0, "a.txt", 1, source)}, -1, -1, "MORVELINE_FILE_ISO_2.00")), 1);
  EXPECT_EQ(user.messages.at(1).text, texts::kWrongListVersion);
  EXPECT_TRUE(Check().ok());
}

TEST(ImageTarget, DriveLetterOrDataCdFolder) {
  const ImageTarget inFolder = ResolveImageTarget("C:\\Tarvo", "test.iso");
  EXPECT_EQ(inFolder.path, "C:\\Tarvo\\dataCD\\test.iso");
  EXPECT_EQ(inFolder.freeSpaceRoot, "C:\\");
  EXPECT_EQ(inFolder.createFailureText, "Can't create ISO-9660 file:\nC:\\Tarvo\\dataCD\\test.iso");
  const ImageTarget asGiven = ResolveImageTarget("C:\\Tarvo", "D:\\img\\test.iso");
  EXPECT_EQ(asGiven.path, "D:\\img\\test.iso");
  EXPECT_EQ(asGiven.freeSpaceRoot, "D:\\");
  EXPECT_EQ(asGiven.createFailureText, "Can't create ISO-9660 file: D:\\img\\test.iso");
}

// The core against a disc-like route: the volume from the route's start
// address, one step per sector, and the route told of a failed write.
TEST_F(RecorderTest, DiscLikeRouteWritesFromItsStartAddress) {
  WriteAll(source + "a.txt", Pattern(5000));
  WriteAll(request.listPath, ListBytes({File(0, "a.txt", 5000, source)}));
  test::MemoryRoute route(12000);
  RecorderEnvironment env{user, progress, FixedClock};
  ASSERT_EQ(RecordCompilation(request, env, route), 1);
  EXPECT_EQ(route.sink.sectors.begin()->first, 12000u);
  EXPECT_EQ(route.sink.sectors.rbegin()->first, 12027u);
  const std::vector<uint8_t>& pvd = route.sink.sectors[12016];
  EXPECT_EQ(GetLsb32(pvd.data() + 80), 28u);
  EXPECT_EQ(GetLsb32(pvd.data() + 158), 12019u);
  EXPECT_EQ(GetLsb32(route.sink.sectors[12019].data() + 68 + 2), 12025u) << "the file's extent";
  EXPECT_EQ(progress.begun, 28u);
  EXPECT_EQ(progress.stepped, 28u);
  EXPECT_EQ(user.Status(), "recorded");

  test::MemoryRoute failing(0);
  failing.sink.failAt = 0;
  EXPECT_EQ(RecordCompilation(request, env, failing), 0);
  EXPECT_EQ(failing.failureVolumeSize, 28u);
  EXPECT_EQ(failing.abandoned, 1);
}

}  // namespace
}  // namespace tarvo
