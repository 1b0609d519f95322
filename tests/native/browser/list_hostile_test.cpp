// Damaged and hostile list files: refused with a message, never overrun.
#include <gtest/gtest.h>

#include <random>

#include "browser/file_list.h"
#include "list_bytes.h"

namespace tarvo {
namespace {

using testing::ListBytes;

// A sound list: a directory with a file and an empty directory, and a file.
ListBytes Good() {
  return ListBytes()
      .Header(3, 12)
      .Record(0, "dir", "C:\\", 0, 0, 0x10)
      .Record(1, "file.txt", "C:\\dir\\", 0, 100, 0x20)
      .Record(1, "empty", "C:\\dir\\", 0, 0, 0x10)
      .Record(2, "a", "a", 50, 0, 0x10)
      .Record(0, "top.txt", "C:\\", 0, 5, 0x20);
}

ListStatus Decode(const std::vector<uint8_t>& bytes, std::string& detail) {
  FileList list;
  return DecodeFileList(bytes.data(), bytes.size(), list, detail);
}

TEST(HostileLists, DamagedFilesAreRefusedWithTheirReason) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    const char* detail;
  };
  const std::string longText(256, 'x');
  const std::vector<Case> cases = {
      {"level count one too high", ListBytes().Header(2, 10).Record(0, "f", "", 1, 1, 0x20).bytes, "header counts"},
      {"level count smaller than the depth",
       ListBytes().Header(1, 11).Record(0, "d", "", 100, 0, 0x10).Record(1, "a", "a", 50, 0, 0x10).bytes,
       "header counts"},
      {"directory count smaller than the directories",
       ListBytes().Header(2, 10).Record(0, "d", "", 100, 0, 0x10).Record(1, "a", "a", 50, 0, 0x10).bytes,
       "header counts"},
      {"directory count zero",
       ListBytes().Header(2, 0).Record(0, "d", "", 100, 0, 0x10).Record(1, "a", "a", 50, 0, 0x10).bytes,
       "header counts"},
      {"name over 255 bytes", ListBytes().Header(1, 10).Record(0, longText, "", 1, 1, 0x20).bytes,
       "name is longer than 255"},
      {"path over 255 bytes", ListBytes().Header(1, 10).Record(0, "f", longText, 1, 1, 0x20).bytes,
       "path is longer than 255"},
      {"name length beyond the end", ListBytes().Header(1, 10).U32(0).U16(200).Raw("short").bytes,
       "ends inside a record"},
      {"empty name", ListBytes().Header(1, 10).Record(0, "", "", 1, 1, 0x20).bytes, "no name"},
      {"name with a path in it", ListBytes().Header(1, 10).Record(0, "..\\x", "", 1, 1, 0x20).bytes, "separator"},
      {"first record below the root", ListBytes().Header(2, 10).Record(1, "f", "", 1, 1, 0x20).bytes,
       "not at level 0"},
      {"level jumping by two",
       ListBytes().Header(3, 11).Record(0, "d", "", 100, 0, 0x10).Record(2, "f", "", 1, 1, 0x20).bytes,
       "more than one level"},
      {"entry below a file",
       ListBytes().Header(2, 10).Record(0, "f", "", 1, 1, 0x20).Record(1, "g", "", 1, 1, 0x20).bytes, "below a file"},
      {"empty directory without marker at the end", ListBytes().Header(1, 11).Record(0, "d", "", 100, 0, 0x10).bytes,
       "no marker"},
      {"empty directory without marker before a sibling",
       ListBytes().Header(1, 11).Record(0, "d", "", 100, 0, 0x10).Record(0, "f", "", 1, 1, 0x20).bytes, "no marker"},
      {"marker after a file",
       ListBytes().Header(2, 10).Record(0, "f", "", 1, 1, 0x20).Record(1, "a", "a", 50, 0, 0x10).bytes,
       "marker follows no directory"},
      {"entries after an empty directory's marker",
       ListBytes()
           .Header(2, 11)
           .Record(0, "d", "", 100, 0, 0x10)
           .Record(1, "a", "a", 50, 0, 0x10)
           .Record(1, "f", "", 1, 1, 0x20)
           .bytes,
       "marker"},
      {"unknown kind", ListBytes().Header(1, 10).Record(0, "f", "", 7, 1, 0x20).bytes, "unknown kind"},
      {"file of 2 GiB", ListBytes().Header(1, 10).Record(0, "f", "", 0, 0x80000000u, 0x20).bytes, "2 GiB"},
      {"file of 4 GiB less one", ListBytes().Header(1, 10).Record(0, "f", "", 0, 0xFFFFFFFFu, 0x20).bytes, "2 GiB"},
  };
  for (const Case& c : cases) {
    std::string detail;
    EXPECT_EQ(Decode(c.bytes, detail), ListStatus::Damaged) << c.what;
    EXPECT_NE(detail.find(c.detail), std::string::npos) << c.what << ": " << detail;
  }
}

TEST(HostileLists, EveryCutInsideARecordIsRefused) {
  const std::vector<uint8_t> good = Good().bytes;
  std::string detail;
  ASSERT_EQ(Decode(good, detail), ListStatus::Ok) << detail;
  const size_t lastRecord = good.size() - (33 + 7 + 3);
  for (size_t size = lastRecord + 1; size < good.size(); ++size) {
    const std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
    EXPECT_EQ(Decode(cut, detail), ListStatus::Damaged) << "cut at " << size;
    EXPECT_EQ(detail, "it ends inside a record") << "cut at " << size;
  }
}

TEST(HostileLists, DepthAndDirectoryCountsStopAtWhatAVolumeCanHold) {
  auto chain = [](uint32_t directories) {
    ListBytes b;
    b.Header(directories + 1, directories + 10);
    for (uint32_t level = 0; level < directories; ++level) b.Record(level, "d", "", 100, 0, 0x10);
    return b.Record(directories, "a", "a", 50, 0, 0x10).bytes;
  };
  auto flat = [](uint32_t directories) {
    std::vector<uint8_t> bytes = ListBytes().Header(2, directories + 10).bytes;
    const std::vector<uint8_t> pair =
        ListBytes().Record(0, "d", "", 100, 0, 0x10).Record(1, "a", "a", 50, 0, 0x10).bytes;
    bytes.reserve(bytes.size() + pair.size() * directories);
    for (uint32_t i = 0; i < directories; ++i) bytes.insert(bytes.end(), pair.begin(), pair.end());
    return bytes;
  };
  std::string detail;
  EXPECT_EQ(Decode(chain(255), detail), ListStatus::Ok) << detail;
  EXPECT_EQ(Decode(chain(256), detail), ListStatus::Damaged);
  EXPECT_NE(detail.find("deeper than 255"), std::string::npos) << detail;
  EXPECT_EQ(Decode(flat(65534), detail), ListStatus::Ok) << detail;
  EXPECT_EQ(Decode(flat(65535), detail), ListStatus::Damaged);
  EXPECT_EQ(detail, "it holds more than 65,535 directories");
}

// Random damage to a sound list: every outcome is a status, never a crash
// or an overrun (the sanitizer build watches the reads).
TEST(HostileLists, RandomDamageNeverOverruns) {
  const std::vector<uint8_t> good = Good().bytes;
  std::mt19937 random(20070515);
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> bytes = good;
    const int flips = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < flips; ++i) bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
    if (random() % 4 == 0) bytes.resize(random() % bytes.size());
    FileList list;
    std::string detail;
    const ListStatus status = DecodeFileList(bytes.data(), bytes.size(), list, detail);
    if (status == ListStatus::Ok) {
      EXPECT_EQ(CheckFileList(list), nullptr);
    }
  }
}

}  // namespace
}  // namespace tarvo
