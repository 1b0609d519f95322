// WNASPI32.DLL under Wine, loaded as a program loads it (LoadLibraryA by
// name from the program's folder) and driven through SendASPI32Command with
// event notification.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "vrec/aspi_defs.h"

namespace {

using namespace tarvo::vrec::aspi;

using SendFn = DWORD(__cdecl*)(void*);
using InfoFn = DWORD(__cdecl*)();

class AspiDllTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "vrec-dll-test-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    std::ofstream(folder_ + "\\vrec.cfg") << "trace = trace.log\n"
                                             "[adapter 0]\ntargets = 8\n"
                                             "[adapter 1]\ntargets = 0\n"
                                             "[device 0:1:0]\ndisc = cdr.img\nmedia = cdr80\n"
                                             "[device 0:2:0]\ntype = 4\n"
                                             "[device 0:3:0]\ndisc = cdrw.img\nmedia = cdrw\ntime-scale = 0.005\n";
    SetEnvironmentVariableA("VREC_CONFIG", (folder_ + "\\vrec.cfg").c_str());
    module_ = LoadLibraryA("WNASPI32.DLL");
    ASSERT_NE(module_, nullptr);
    send_ = reinterpret_cast<SendFn>(reinterpret_cast<void*>(GetProcAddress(module_, "SendASPI32Command")));
    info_ = reinterpret_cast<InfoFn>(reinterpret_cast<void*>(GetProcAddress(module_, "GetASPI32SupportInfo")));
    version_ = reinterpret_cast<InfoFn>(reinterpret_cast<void*>(GetProcAddress(module_, "GetASPI32DLLVersion")));
  }

  // Runs one command as a program does: a fresh manual-reset event,
  // SRB_EVENT_NOTIFY, a wait only when the manager answers SS_PENDING.
  struct Result {
    DWORD sent;
    SRB_ExecSCSICmd srb;
    bool signalledAtOnce;
  };
  Result Exec(uint8_t target, std::vector<uint8_t> cdb, uint8_t direction, uint8_t* buffer, DWORD length,
              DWORD waitMs = 100000) {
    Result result{};
    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SRB_ExecSCSICmd& srb = result.srb;
    srb.SRB_Cmd = SC_EXEC_SCSI_CMD;
    srb.SRB_Target = target;
    srb.SRB_Flags = static_cast<uint8_t>(SRB_EVENT_NOTIFY | direction);
    srb.SRB_BufLen = length;
    srb.SRB_BufPointer = buffer;
    srb.SRB_SenseLen = SENSE_LEN;
    srb.SRB_CDBLen = 10;
    srb.SRB_PostProc = event;
    std::memcpy(srb.CDBByte, cdb.data(), cdb.size());
    ResetEvent(event);
    result.sent = send_(&srb);
    if (result.sent == SS_PENDING) {
      result.signalledAtOnce = WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
      WaitForSingleObject(event, waitMs);
    }
    CloseHandle(event);
    return result;
  }

  static std::string folder_;
  static HMODULE module_;
  static SendFn send_;
  static InfoFn info_;
  static InfoFn version_;
};

std::string AspiDllTest::folder_;
HMODULE AspiDllTest::module_;
SendFn AspiDllTest::send_;
InfoFn AspiDllTest::info_;
InfoFn AspiDllTest::version_;

TEST_F(AspiDllTest, OurManagerIsLoadedWithItsThreeEntries) {
  ASSERT_NE(send_, nullptr);
  ASSERT_NE(info_, nullptr);
  ASSERT_NE(version_, nullptr);
  EXPECT_EQ(version_(), 0x3C04u) << "Wine's own manager answers differently";
  char path[MAX_PATH];
  GetModuleFileNameA(module_, path, MAX_PATH);
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string folder(exe, std::strrchr(exe, '\\'));
  EXPECT_EQ(_strnicmp(path, folder.c_str(), folder.size()), 0) << path;
}

TEST_F(AspiDllTest, DiscoveryFindsTheCdDrivesOnly) {
  DWORD info = info_();
  EXPECT_EQ(info >> 8 & 0xFF, SS_COMP);
  int adapters = static_cast<int>(info & 0xFF);
  ASSERT_EQ(adapters, 2);
  std::vector<std::string> drives;
  for (int a = 0; a < adapters; ++a) {
    SRB_HAInquiry inquiry{};
    inquiry.SRB_Cmd = SC_HA_INQUIRY;
    inquiry.SRB_HaId = static_cast<uint8_t>(a);
    ASSERT_EQ(send_(&inquiry), SS_COMP);
    for (int t = 0; t < inquiry.HA_Unique[3]; ++t) {
      for (int l = 0; l < 8; ++l) {
        SRB_GDEVBlock device{};
        device.SRB_Cmd = SC_GET_DEV_TYPE;
        device.SRB_HaId = static_cast<uint8_t>(a);
        device.SRB_Target = static_cast<uint8_t>(t);
        device.SRB_Lun = static_cast<uint8_t>(l);
        send_(&device);
        if (device.SRB_Status == SS_COMP && device.SRB_DeviceType == 5) {
          drives.push_back(std::to_string(a) + ":" + std::to_string(t) + ":" + std::to_string(l));
        }
      }
    }
  }
  EXPECT_EQ(drives, (std::vector<std::string>{"0:1:0", "0:3:0"}));
}

TEST_F(AspiDllTest, InquiryAndAWriteReadRoundTrip) {
  uint8_t identity[100] = {};
  Result inquiry = Exec(1, {0x12, 0, 0, 0, 0x60}, SRB_DIR_IN, identity, sizeof identity);
  ASSERT_EQ(inquiry.sent, SS_PENDING);
  EXPECT_EQ(inquiry.srb.SRB_Status, SS_COMP);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(identity) + 8, 4), "VREC");

  uint8_t modeData[2048] = {};
  ASSERT_EQ(Exec(1, {0x5A, 0, 0x05, 0, 0, 0, 0, 0x01, 0x00}, SRB_DIR_IN, modeData, 2048).srb.SRB_TargStat, 0);
  uint8_t total = static_cast<uint8_t>(modeData[1] + 2);
  modeData[8 + 2] = 0x01;
  modeData[8 + 3] = 0xC6;
  modeData[8 + 4] = 0x08;
  std::memset(modeData + 8 + 5, 0, total - 13);
  ASSERT_EQ(Exec(1, {0x55, 0x10, 0, 0, 0, 0, 0, 0, total}, SRB_DIR_OUT, modeData, total).srb.SRB_TargStat, 0);

  std::vector<uint8_t> sector(2048);
  for (size_t i = 0; i < sector.size(); ++i) sector[i] = static_cast<uint8_t>(i * 7);
  Result write = Exec(1, {0x2A, 0, 0, 0, 0, 0, 0, 0, 1}, SRB_DIR_OUT, sector.data(), 2048);
  ASSERT_EQ(write.sent, SS_PENDING);
  EXPECT_EQ(write.srb.SRB_TargStat, 0);
  std::vector<uint8_t> back(2048);
  Result read = Exec(1, {0x28, 0, 0, 0, 0, 0, 0, 0, 1}, SRB_DIR_IN, back.data(), 2048);
  EXPECT_EQ(read.srb.SRB_TargStat, 0);
  EXPECT_EQ(back, sector);

  Result refused = Exec(1, {0x2A, 0, 0, 0, 0, 0, 0, 0, 1}, SRB_DIR_OUT, sector.data(), 2048);
  EXPECT_EQ(refused.srb.SRB_Status, SS_ERR);
  EXPECT_EQ(refused.srb.SRB_TargStat, 0x02) << "not at the next writable address";
  EXPECT_EQ(refused.srb.SenseArea[2], 0x05);
  EXPECT_EQ(refused.srb.SenseArea[12], 0x21);
  EXPECT_EQ(refused.srb.SenseArea[13], 0x02);
}

TEST_F(AspiDllTest, SlowBlankIsPendingThenSignalled) {
  // Full blank at 40X is about 124 s of drive time; scaled by 0.005, 0.6 s.
  DWORD begin = GetTickCount();
  Result blank = Exec(3, {0xA1, 0x00}, SRB_DIR_OUT, nullptr, 0);
  DWORD took = GetTickCount() - begin;
  ASSERT_EQ(blank.sent, SS_PENDING);
  EXPECT_FALSE(blank.signalledAtOnce);
  EXPECT_EQ(blank.srb.SRB_Status, SS_COMP);
  EXPECT_EQ(blank.srb.SRB_TargStat, 0);
  EXPECT_GE(took, 500u);

  Result onCdr = Exec(1, {0xA1, 0x01}, SRB_DIR_OUT, nullptr, 0);
  EXPECT_EQ(onCdr.srb.SRB_TargStat, 0x02) << "a CD-R cannot be blanked";
}

TEST_F(AspiDllTest, TraceRecordsWhatWasSent) {
  Exec(1, {0x00, 0x01}, 0, nullptr, 0);
  std::ifstream trace(folder_ + "\\trace.log");
  std::string text((std::istreambuf_iterator<char>(trace)), {});
  EXPECT_NE(text.find("TEST-UNIT-READY cdb=00010000000000000000 dir=none len=0 xfer=0 status=00"), std::string::npos)
      << text;
}

}  // namespace
