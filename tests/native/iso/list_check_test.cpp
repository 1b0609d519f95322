#include <gtest/gtest.h>

#include "iso/list_file.h"
#include "list_builder.h"

namespace tarvo {
namespace {

using test::Dir;
using test::File;
using test::ListBytes;
using test::Marker;
using test::TestEntry;

ListReadResult Read(const std::string& bytes, ListFile& list) {
  return ReadListFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), list);
}

TEST(ListFile, ReadsHeaderAndRecords) {
  ListFile list;
  TestEntry file = File(1, "f.txt", 77, "C:\\x\\d\\");
  file.date = RecordDate{2001, 2, 3, 4, 5, 6, 7, 8};
  const std::string bytes = ListBytes({Dir(0, "d", "C:\\x\\"), file});
  ASSERT_EQ(Read(bytes, list).status, ListReadStatus::Ok);
  EXPECT_TRUE(list.magicOk);
  EXPECT_EQ(list.levelCount, 2u);
  EXPECT_EQ(list.directoryCapacity, 11u);
  ASSERT_EQ(list.entries.size(), 2u);
  EXPECT_TRUE(list.entries[0].IsDirectory());
  EXPECT_EQ(list.entries[1].sourcePath + list.entries[1].name, "C:\\x\\d\\f.txt");
  EXPECT_EQ(list.entries[1].size, 77u);
  EXPECT_EQ(list.entries[1].date.day, 4);
  EXPECT_EQ(list.entries[1].date.milliseconds, 8);
  EXPECT_EQ(CheckListForRecording(list), "");

  ASSERT_EQ(Read(ListBytes({}, 1, 10, "MORVELINE_FILE_ISO_1.01"), list).status, ListReadStatus::Ok);
  EXPECT_FALSE(list.magicOk);
}

TEST(ListFile, DamagedFilesAreReportedNotOverrun) {
  const std::string good = ListBytes({File(0, "a", 1), File(0, "b", 2)});
  std::string longName = ListBytes({});
  test::PutU32(longName, 0);
  test::PutU16(longName, 300);
  longName += std::string(300, 'x');
  std::string longPath = ListBytes({});
  test::PutU32(longPath, 0);
  test::PutU16(longPath, 1);
  longPath += "x";
  test::PutU16(longPath, 256);
  longPath += std::string(400, 'x');
  struct Case {
    const char* what;
    std::string bytes;
    ListReadStatus status;
    const char* problem;
  } cases[] = {
      {"header of 20 bytes", good.substr(0, 20), ListReadStatus::ShortHeader, "header"},
      {"header of 30 bytes", good.substr(0, 30), ListReadStatus::ShortHeader, "header"},
      {"ends inside the last record", good.substr(0, good.size() - 5), ListReadStatus::Damaged, "ends inside"},
      {"ends inside a level", good + "\1\0", ListReadStatus::Damaged, "ends inside"},
      {"name over 255 bytes", longName, ListReadStatus::Damaged, "a name of 300 bytes"},
      {"path over 255 bytes", longPath, ListReadStatus::Damaged, "a path of 256 bytes"},
  };
  for (const Case& c : cases) {
    ListFile list;
    const ListReadResult result = Read(c.bytes, list);
    EXPECT_EQ(result.status, c.status) << c.what;
    EXPECT_NE(result.problem.find(c.problem), std::string::npos) << c.what << ": " << result.problem;
  }
}

TEST(ListFile, HostileStructuresAreRefused) {
  TestEntry huge = File(0, "huge.bin", 0x80000000u);
  TestEntry largest = File(0, "largest.bin", 0x7FFFFFFFu);
  struct Case {
    const char* what;
    std::string bytes;
    const char* problem;  // empty: accepted
  } cases[] = {
      {"ordinary", ListBytes({Dir(0, "d"), Marker(1), largest}), ""},
      {"first record below the root", ListBytes({File(1, "f", 1)}), "level jumps from 0 to 1"},
      {"level jumping by two", ListBytes({Dir(0, "d"), File(2, "f", 1)}), "level jumps from 0 to 2"},
      {"entries below a file", ListBytes({File(0, "f", 1), File(1, "g", 1)}), "below the file \"f\""},
      {"entries below a marker", ListBytes({Dir(0, "d"), Marker(1), File(2, "g", 1)}), "below the file"},
      {"directory without marker", ListBytes({Dir(0, "d"), File(0, "f", 1)}), "\"d\" has neither entries"},
      {"last directory without marker", ListBytes({File(0, "f", 1), Dir(0, "d")}), "\"d\" has neither entries"},
      {"level count zero", ListBytes({File(0, "f", 1)}, 0), "level count 0 is smaller than the depth 1"},
      {"directory count too small", ListBytes({Dir(0, "d"), Marker(1), Dir(0, "e"), Marker(1)}, -1, 1),
       "directory count 1 is smaller than the 2 directories"},
      {"file of 2 GiB", ListBytes({huge}), "\"huge.bin\" is 2 GiB or larger"},
      {"empty name", ListBytes({File(0, "", 1)}), "no file can carry"},
      {"name with a slash", ListBytes({File(0, "a/b", 1)}), "no file can carry"},
      {"name \"..\"", ListBytes({Dir(0, ".."), Marker(1)}), "no file can carry"},
  };
  for (const Case& c : cases) {
    ListFile list;
    ASSERT_EQ(Read(c.bytes, list).status, ListReadStatus::Ok) << c.what;
    const std::string problem = CheckListForRecording(list);
    if (*c.problem == '\0') EXPECT_EQ(problem, "") << c.what;
    else EXPECT_NE(problem.find(c.problem), std::string::npos) << c.what << ": " << problem;
  }
}

TEST(ListFile, MoreDirectoriesThanPathTableNumbersAreRefused) {
  std::vector<TestEntry> entries;
  for (int i = 0; i < 65535; ++i) {
    entries.push_back(Dir(0, "d" + std::to_string(i)));
    entries.push_back(Marker(1));
  }
  ListFile list;
  ASSERT_EQ(Read(ListBytes(entries), list).status, ListReadStatus::Ok);
  EXPECT_NE(CheckListForRecording(list).find("65536 directories are more"), std::string::npos);
  entries.pop_back();
  entries.pop_back();
  ASSERT_EQ(Read(ListBytes(entries), list).status, ListReadStatus::Ok);
  EXPECT_EQ(CheckListForRecording(list), "");
}

}  // namespace
}  // namespace tarvo
