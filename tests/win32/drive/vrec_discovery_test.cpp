// Opening the manager and discovering drives through the virtual recorder's
// WNASPI32.DLL under Wine, as the program does at start-up.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "drive/aspi_transport_win.h"
#include "drive/disc_query.h"
#include "fakes.h"

namespace tarvo::testing {
namespace {

std::string TempFolder() {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "drive-vrec-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

std::vector<std::string> TraceOf(const std::string& trace, const std::string& address) {
  std::vector<std::string> names;
  std::istringstream lines(trace);
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    std::string tag, at, sequence, name;
    fields >> tag >> at >> sequence >> name;
    if (at == address) names.push_back(name);
  }
  return names;
}

TEST(VrecManager, DiscoveryOrderReportsAndTheSixthDriveNeverAsked) {
  const std::string folder = TempFolder();
  std::ofstream(folder + "\\vrec.cfg")
      << "trace = trace.log\n"
         "[adapter 0]\ntargets = 0\n"
         "[adapter 1]\ntargets = 8\n"
         "[device 1:0:0]\ntype = 4\n"
         "[device 1:1:0]\ndisc = cdr.img\nmedia = cdr80\n"
         "[device 1:2:0]\n[device 1:2:5]\n[device 1:3:0]\n[device 1:4:0]\n"
         "[device 1:5:0]\n";
  SetEnvironmentVariableA("VREC_CONFIG", (folder + "\\vrec.cfg").c_str());

  FakeUi ui;
  DriveAccess access(ui);
  ASSERT_EQ(OpenAspiManager(access), 1);
  ASSERT_TRUE(ui.messages.empty());
  ASSERT_EQ(access.driveCount, 5);
  const int expected[5][2] = {{1, 0}, {2, 0}, {2, 5}, {3, 0}, {4, 0}};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(access.drives[size_t(i)].adapterId, 1);
    EXPECT_EQ(access.drives[size_t(i)].targetId, expected[i][0]);
    EXPECT_EQ(access.drives[size_t(i)].lun, expected[i][1]);
  }
  EXPECT_TRUE(access.drives[0].canWriteCdR);
  EXPECT_EQ(access.drives[0].identity.size(), 32u);

  access.senseDumpPath = folder + "\\request_sense_buf.txt";
  QueryDriveInfo(access, kQueryDiscInfo, true, 0);
  EXPECT_EQ(ui.infoText.rfind("DiscStatus = 0\r\nStateOfLastSession = 0\r\n", 0), 0u);
  EXPECT_NE(ui.infoText.find("LastPossibleLeadOut = 0  79, 59, 74, LBA=359849\r\n"), std::string::npos);

  std::ifstream in(folder + "\\trace.log");
  std::stringstream trace;
  trace << in.rdbuf();
  const std::vector<std::string> discovery = {"INQUIRY", "REZERO-UNIT", "MODE-SENSE(10)",
                                              "SET-CD-SPEED"};
  EXPECT_EQ(TraceOf(trace.str(), "1:2:5"), discovery);
  EXPECT_TRUE(TraceOf(trace.str(), "1:5:0").empty());  // the sixth CD drive
  EXPECT_TRUE(TraceOf(trace.str(), "1:0:0").empty());  // the write-once device
}

}  // namespace
}  // namespace tarvo::testing
