// AspiTransport against the scripted manager in this folder's WNASPI32.DLL.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "drive/aspi_transport_win.h"
#include "drive/command_set.h"
#include "drive/discovery.h"
#include "drive/scsi_status.h"
#include "fake_aspi_control.h"
#include "fakes.h"

namespace tarvo::testing {
namespace {

using fake_aspi::ExecMode;

class AspiTransportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    transport_ = AspiTransport::Load();
    ASSERT_NE(transport_, nullptr);
    HMODULE module = GetModuleHandleA("WNASPI32.DLL");
    ASSERT_NE(module, nullptr);
    setScript_ = reinterpret_cast<fake_aspi::SetScriptFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "FakeAspiSetScript")));
    getLog_ = reinterpret_cast<fake_aspi::GetLogFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "FakeAspiLog")));
    ASSERT_NE(setScript_, nullptr) << "the test folder's WNASPI32.DLL was not the one loaded";
    transport_->boundedWaitMs = 300;
  }

  void Script(ExecMode mode, uint8_t targetStatus = 0, uint32_t delayMs = 0) {
    script_.mode = mode;
    script_.targetStatus = targetStatus;
    script_.delayMs = delayMs;
    setScript_(&script_);
  }

  uint8_t Run(const uint8_t* cdb, DataDirection direction, uint8_t* buffer, uint32_t length,
              WaitPolicy wait = WaitPolicy::Bounded, const std::function<void()>& slices = {}) {
    return transport_->Execute({1, 2, 3}, cdb, direction, buffer, length, wait, slices);
  }

  const fake_aspi::Log& Log() { return *getLog_(); }

  std::unique_ptr<AspiTransport> transport_;
  fake_aspi::Script script_;
  fake_aspi::SetScriptFn setScript_ = nullptr;
  fake_aspi::GetLogFn getLog_ = nullptr;
};

TEST_F(AspiTransportTest, RequestBlockFields) {
  struct Case { DataDirection direction; uint8_t flags; uint32_t length; };
  const Case cases[] = {{DataDirection::None, 0x40, 0}, {DataDirection::In, 0x48, 96},
                        {DataDirection::Out, 0x50, 2048}};
  for (const Case& c : cases) {
    Script(ExecMode::CompleteAtOnce);
    const uint8_t inquiry[10] = {0x12, 0, 0, 0, 0x60, 0, 0, 0, 0, 0};
    uint8_t buffer[2048] = {};
    EXPECT_EQ(Run(inquiry, c.direction, c.length ? buffer : nullptr, c.length), kStatusGood);
    ASSERT_EQ(Log().execCount, 1);
    const fake_aspi::ExecRecord& r = Log().exec[0];
    EXPECT_EQ(r.flags, c.flags);
    EXPECT_EQ(r.bufLen, c.length);
    EXPECT_EQ(r.cdbLen, 10);
    EXPECT_EQ(r.senseLen, 14);
    EXPECT_TRUE(r.hasEvent);
    EXPECT_EQ(r.haId, 1);
    EXPECT_EQ(r.target, 2);
    EXPECT_EQ(r.lun, 3);
    EXPECT_EQ(r.cdb[4], 0x60);
    for (int i = 5; i < 16; ++i) EXPECT_EQ(r.cdb[i], 0) << i;
  }
}

TEST_F(AspiTransportTest, PendingRequestCompletesThroughItsEvent) {
  script_.replyByte = 0x5A;
  Script(ExecMode::CompleteLater, kStatusGood, 200);
  const uint8_t cdb[10] = {0x51, 0, 0, 0, 0, 0, 0, 0, 0x96, 0};
  uint8_t reply[256] = {};
  EXPECT_EQ(Run(cdb, DataDirection::In, reply, sizeof reply), kStatusGood);
  EXPECT_EQ(reply[0], 0x5A);
  Script(ExecMode::CompleteLater, kStatusCheckCondition, 50);
  EXPECT_EQ(Run(cdb, DataDirection::In, reply, sizeof reply, WaitPolicy::Unbounded),
            kStatusCheckCondition);
}

TEST_F(AspiTransportTest, SlicedWaitRunsWorkBetweenSlices) {
  Script(ExecMode::CompleteLater, kStatusGood, 1500);
  const uint8_t blank[10] = {0xA1, 0x01};
  int slices = 0;
  EXPECT_EQ(Run(blank, DataDirection::Out, nullptr, 0, WaitPolicy::Sliced, [&] { ++slices; }),
            kStatusGood);
  EXPECT_GE(slices, 1);
}

TEST_F(AspiTransportTest, RefusedRequestIsAFailure) {
  const uint8_t cdb[10] = {0x00, 0x01};
  struct Case { uint8_t code; uint8_t expected; };
  const Case cases[] = {{0x82, 0x82}, {0xE5, 0xE5}, {0x07, kStatusRequestRefused}};
  for (const Case& c : cases) {
    script_.refuseCode = c.code;
    Script(ExecMode::Refuse);
    EXPECT_EQ(Run(cdb, DataDirection::None, nullptr, 0), c.expected);
  }
  Script(ExecMode::AdapterError);
  EXPECT_NE(Run(cdb, DataDirection::None, nullptr, 0), kStatusGood);
  Script(ExecMode::CompleteAtOnce, kStatusCheckCondition);
  EXPECT_EQ(Run(cdb, DataDirection::None, nullptr, 0), kStatusCheckCondition);
}

TEST_F(AspiTransportTest, BoundedWaitThatEndsAbortsTheRequest) {
  Script(ExecMode::NeverComplete);
  const uint8_t cdb[10] = {0x51, 0, 0, 0, 0, 0, 0, 0, 0x96, 0};
  uint8_t reply[256] = {};
  EXPECT_EQ(Run(cdb, DataDirection::In, reply, sizeof reply), kStatusCommandTerminated);
  EXPECT_EQ(Log().aborts, 1);
}

TEST_F(AspiTransportTest, LongWaitsAlsoEndAndAbort) {
  // WRITE and CLOSE wait long, BLANK in slices, but neither for ever.
  transport_->unboundedWaitMs = 300;
  transport_->slicedWaitMs = 1500;
  const uint8_t write[10] = {0x2A, 0, 0, 0, 0, 0, 0, 0, 1, 0};
  const uint8_t blank[10] = {0xA1, 0x01};
  uint8_t sector[2048] = {};
  Script(ExecMode::NeverComplete);
  EXPECT_EQ(Run(write, DataDirection::Out, sector, sizeof sector, WaitPolicy::Unbounded),
            kStatusCommandTerminated);
  EXPECT_EQ(Log().aborts, 1);
  Script(ExecMode::NeverComplete);
  int slices = 0;
  EXPECT_EQ(Run(blank, DataDirection::Out, nullptr, 0, WaitPolicy::Sliced, [&] { ++slices; }),
            kStatusCommandTerminated);
  EXPECT_GE(slices, 1);
  EXPECT_LE(slices, 2);
  EXPECT_EQ(Log().aborts, 1);
}

TEST_F(AspiTransportTest, FailedAbortKeepsWaitingUntilTheManagerLetsGo) {
  // The reply buffer is returned to the caller only after the manager has
  // finished with it, and the command still counts as failed.
  Script(ExecMode::AbortFails, kStatusGood, 400);
  const uint8_t cdb[10] = {0x51, 0, 0, 0, 0, 0, 0, 0, 0x96, 0};
  uint8_t reply[256] = {};
  EXPECT_EQ(Run(cdb, DataDirection::In, reply, sizeof reply), kStatusCommandTerminated);
  EXPECT_EQ(Log().aborts, 1);
  EXPECT_EQ(Log().completedLate, 1);
}

TEST_F(AspiTransportTest, EnumerationAndDiscovery) {
  script_.adapterCount = 3;
  script_.maxTargets[0] = 0;   // contributes nothing
  script_.maxTargets[1] = -1;  // inquiry fails: skipped
  script_.maxTargets[2] = 4;
  script_.deviceCount = 3;
  script_.devices[0] = {2, 0, 0, 4};  // write-once device
  script_.devices[1] = {2, 1, 0, 5};
  script_.devices[2] = {2, 3, 7, 5};
  Script(ExecMode::CompleteAtOnce);
  EXPECT_EQ(transport_->AdapterCount(), 3);
  EXPECT_EQ(transport_->MaxTargets(1), -1);
  EXPECT_EQ(transport_->MaxTargets(2), 4);
  EXPECT_EQ(transport_->DeviceType({2, 0, 0}), 4);
  EXPECT_EQ(transport_->DeviceType({2, 0, 1}), -1);
  setScript_(&script_);

  FakeUi ui;
  DriveAccess access(ui);
  access.transport = transport_.get();
  DiscoverDrives(access);
  ASSERT_EQ(access.driveCount, 2);
  EXPECT_EQ(access.drives[0].targetId, 1);
  EXPECT_EQ(access.drives[1].targetId, 3);
  EXPECT_EQ(access.drives[1].lun, 7);
  EXPECT_EQ(Log().probeCount, 4 * 8);
  ASSERT_EQ(Log().execCount, 8);
  const uint8_t order[4] = {0x12, 0x01, 0x5A, 0xBB};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(Log().exec[i].cdb[0], order[i % 4]) << i;
}

TEST_F(AspiTransportTest, SenseDumpGoesToTheRootOfDriveC) {
  Script(ExecMode::CompleteAtOnce);
  FakeUi ui;
  DriveAccess access(ui);
  access.transport = transport_.get();
  access.driveCount = 1;
  DeleteFileA("c:\\request_sense_buf.txt");
  EXPECT_EQ(RequestSense(access, 0), kStatusGood);
  FILE* file = std::fopen("c:\\request_sense_buf.txt", "rb");
  ASSERT_NE(file, nullptr);
  char line[80] = {};
  std::fgets(line, sizeof line, file);
  std::fclose(file);
  // Text mode on Windows: each line ends in CR LF.
  EXPECT_STREQ(line, "0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, \r\n");
  EXPECT_EQ(Log().exec[0].cdb[4], 0);  // allocation length 0
}

}  // namespace
}  // namespace tarvo::testing
