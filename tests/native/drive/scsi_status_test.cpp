#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "drive/command_set.h"
#include "drive/scsi_status.h"
#include "fakes.h"

namespace tarvo::testing {
namespace {

TEST(ScsiStatusText, TableWithTrailingBlanks) {
  struct Case { uint8_t status; std::string text; };
  const Case cases[] = {
      {0x00, "Status Good"},
      {0x02, "Check Condition"},
      {0x03, "Uknown error"},
      {0x04, "Condition Met"},
      {0x08, "Busy"},
      {0x10, "Intermediate"},
      {0x14, "Intermediate-condition met"},
      {0x18, "Reservation conflict"},
      {0x22, "Command Terminated"},
      {0x28, "Queue full"},
      {0x80, "Invalid ASPI command" + std::string(11, ' ')},
      {0x81, "Invalid host adapter number" + std::string(4, ' ')},
      {0x82, "SCSI device not installed" + std::string(6, ' ')},
      {0xE0, "Invalid parameter set in SRB" + std::string(3, ' ')},
      {0xE1, "ASPI manager doesn't support windows "},
      {0xE2, "Unsupported Windows mode" + std::string(7, ' ')},
      {0xE3, "No ASPI managers" + std::string(15, ' ')},
      {0xE4, "ASPI for windows failed init" + std::string(3, ' ')},
      {0xE5, "No resources available to execute command  "},
      {0xE6, "Buffer size too big to handle  "},
      {0xE7, "The DLLs/EXEs of ASPI don't version check "},
      {0xE8, "No host adapters to manager" + std::string(4, ' ')},
      {0xE9, "Couldn't allocate resources needed to init "},
      {0xEA, "Call came to ASPI after PROCESS_DETACH  "},
      {0xEB, "The DLL or other components are installed wrong"},
      {0xEC, "Uknown error"},
      {0xFF, "Uknown error"},
  };
  for (const Case& c : cases) EXPECT_EQ(ScsiStatusText(c.status), c.text) << int(c.status);
}

TEST(ShowScsiStatus, StopIconWithTitle) {
  Fixture f;
  ShowScsiStatus(f.access, 0x80);
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.ui.messages[0].text, "Invalid ASPI command           ");
  EXPECT_EQ(f.ui.messages[0].caption, "Tarvo");
  EXPECT_EQ(f.ui.messages[0].style, kMbIconStop);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(RequestSense, DumpLayout) {
  Fixture f;
  const std::string path = ::testing::TempDir() + "request_sense_buf.txt";
  f.access.senseDumpPath = path;
  {
    std::ofstream old(path);
    old << "an earlier dump that is longer than the word ERROR";
  }
  EXPECT_EQ(RequestSense(f.access, 0), kStatusGood);
  const std::string dump = ReadFile(path);
  std::vector<std::string> lines;
  std::istringstream stream(dump);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 2u + 205u);
  EXPECT_EQ(lines[0], "0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, ");
  EXPECT_EQ(lines[1], "");
  std::string ten;
  for (int i = 0; i < 10; ++i) ten += "0x00, ";
  for (size_t i = 2; i < 2 + 204; ++i) ASSERT_EQ(lines[i], ten) << i;
  EXPECT_EQ(lines.back(), ten.substr(0, 8 * 6));
  EXPECT_EQ(dump.back(), ' ');  // the last line of eight values has no line feed

  f.transport.replies[0x03] = {kStatusCheckCondition, {}};
  EXPECT_EQ(RequestSense(f.access, 0), kStatusCheckCondition);
  EXPECT_EQ(ReadFile(path), "ERROR");
}

TEST(RequestSense, ReplyBytesAreDumpedInUpperCaseHex) {
  const uint8_t cdb[10] = {0x03};
  const uint8_t reply[12] = {0x70, 0, 0x05, 0, 0, 0, 0, 0x0A, 0, 0, 0xab, 0xFF};
  EXPECT_EQ(FormatSenseDump(kStatusGood, cdb, reply, sizeof reply),
            "0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, \n\n"
            "0x70, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x00, \n0xAB, 0xFF, ");
}

TEST(RequestSense, UnwritablePathIsSkipped) {
  Fixture f;
  f.access.senseDumpPath = ::testing::TempDir() + "no/such/folder/request_sense_buf.txt";
  EXPECT_EQ(RequestSense(f.access, 0), kStatusGood);
  EXPECT_EQ(f.ui.messages.size(), 0u);
}

}  // namespace
}  // namespace tarvo::testing
