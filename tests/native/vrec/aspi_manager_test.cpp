// The ASPI manager logic behind WNASPI32.DLL, driven with the published
// request blocks natively (the same packed layout as the x86-64 DLL).
#include <condition_variable>
#include <cstring>
#include <mutex>

#include "vrec/aspi_manager.h"
#include "vrec_test_support.h"

namespace tarvo::vrec::testing {
namespace {

using namespace aspi;

class AspiManagerTest : public ::testing::Test {
 public:
  void Start(const std::string& text) {
    std::string error;
    auto bus = InProcessBus::FromText(text, temp_.path(), &error);
    ASSERT_NE(bus, nullptr) << error;
    manager_ = std::make_unique<AspiManager>(std::move(bus), [this](uint8_t flags, void* postProc, SRB_ExecSCSICmd*) {
      std::lock_guard<std::mutex> lock(mutex_);
      notices_.push_back({flags, postProc});
      done_.notify_all();
    });
  }
  void SetUp() override {
    Start("[adapter 0]\ntargets = 4\n[adapter 1]\ntargets = 0\n"
          "[device 0:1:0]\ndisc = d.img\nmedia = cdrw\ntime-scale = 0.001\n"
          "[device 0:2:0]\ntype = 4\n");
  }

  SRB_ExecSCSICmd Command(std::vector<uint8_t> cdb, uint8_t flags, std::vector<uint8_t>* buffer) {
    SRB_ExecSCSICmd srb{};
    srb.SRB_Cmd = SC_EXEC_SCSI_CMD;
    srb.SRB_Target = 1;
    srb.SRB_Flags = static_cast<uint8_t>(SRB_EVENT_NOTIFY | flags);
    srb.SRB_BufLen = static_cast<uint32_t>(buffer ? buffer->size() : 0);
    srb.SRB_BufPointer = buffer ? buffer->data() : nullptr;
    srb.SRB_SenseLen = SENSE_LEN;
    srb.SRB_CDBLen = 10;
    srb.SRB_PostProc = &event_;
    std::memcpy(srb.CDBByte, cdb.data(), cdb.size());
    return srb;
  }
  // Sends and waits for the completion notice.
  uint32_t SendAndWait(SRB_ExecSCSICmd* srb) {
    size_t before = Notices();
    uint32_t result = manager_->Send(srb);
    if (result == SS_PENDING) {
      std::unique_lock<std::mutex> lock(mutex_);
      done_.wait(lock, [this, before] { return notices_.size() > before; });
    }
    return result;
  }
  size_t Notices() {
    std::lock_guard<std::mutex> lock(mutex_);
    return notices_.size();
  }

  TempFolder temp_;
  std::unique_ptr<AspiManager> manager_;
  int event_ = 0;  // stands for the event handle
  std::mutex mutex_;
  std::condition_variable done_;
  std::vector<std::pair<uint8_t, void*>> notices_;
};

TEST_F(AspiManagerTest, DiscoveryRequestsCompleteAtOnce) {
  EXPECT_EQ(manager_->SupportInfo(), 0x0102u);
  SRB_HAInquiry inquiry{};
  inquiry.SRB_Cmd = SC_HA_INQUIRY;
  EXPECT_EQ(manager_->Send(&inquiry), SS_COMP);
  EXPECT_EQ(inquiry.HA_Count, 2);
  EXPECT_EQ(inquiry.HA_Unique[3], 4);
  inquiry.SRB_HaId = 1;
  EXPECT_EQ(manager_->Send(&inquiry), SS_COMP);
  EXPECT_EQ(inquiry.HA_Unique[3], 0);
  inquiry.SRB_HaId = 2;
  EXPECT_EQ(manager_->Send(&inquiry), SS_INVALID_HA);

  struct Case {
    uint8_t target, lun, status, type;
  } cases[] = {{1, 0, SS_COMP, 5}, {2, 0, SS_COMP, 4}, {1, 1, SS_NO_DEVICE, 0}, {3, 0, SS_NO_DEVICE, 0}};
  for (const Case& c : cases) {
    SRB_GDEVBlock device{};
    device.SRB_Cmd = SC_GET_DEV_TYPE;
    device.SRB_Target = c.target;
    device.SRB_Lun = c.lun;
    EXPECT_EQ(manager_->Send(&device), c.status) << int(c.target) << ":" << int(c.lun);
    EXPECT_EQ(device.SRB_Status, c.status);
    if (c.status == SS_COMP) EXPECT_EQ(device.SRB_DeviceType, c.type);
  }
}

TEST_F(AspiManagerTest, CommandsRunPendingAndSignalCompletion) {
  std::vector<uint8_t> reply(100, 0);
  SRB_ExecSCSICmd inquiry = Command({0x12, 0, 0, 0, 0x60}, SRB_DIR_IN, &reply);
  EXPECT_EQ(SendAndWait(&inquiry), SS_PENDING);
  EXPECT_EQ(inquiry.SRB_Status, SS_COMP);
  EXPECT_EQ(inquiry.SRB_TargStat, 0);
  EXPECT_EQ(std::string(reply.begin() + 8, reply.begin() + 12), "VREC");
  ASSERT_EQ(Notices(), 1u);
  EXPECT_EQ(notices_[0].second, &event_);

  SRB_ExecSCSICmd read = Command({0x28, 0, 0, 0, 0, 5, 0, 0, 1}, SRB_DIR_IN, &reply);
  std::vector<uint8_t> sector(2048);
  read.SRB_BufPointer = sector.data();
  read.SRB_BufLen = 2048;
  EXPECT_EQ(SendAndWait(&read), SS_PENDING);
  EXPECT_EQ(read.SRB_Status, SS_ERR);
  EXPECT_EQ(read.SRB_TargStat, kStatusCheckCondition);
  EXPECT_EQ(read.SenseArea[2], 0x05);
  EXPECT_EQ(read.SenseArea[12], 0x21);
  EXPECT_EQ(read.SenseArea[14], 0) << "no more than SRB_SenseLen bytes";
}

TEST_F(AspiManagerTest, MalformedRequestsAreRefusedAtOnce) {
  SRB_ExecSCSICmd noTarget = Command({0x00}, 0, nullptr);
  noTarget.SRB_Target = 3;
  EXPECT_EQ(manager_->Send(&noTarget), SS_NO_DEVICE);
  SRB_ExecSCSICmd shortCdb = Command({0x00}, 0, nullptr);
  shortCdb.SRB_CDBLen = 4;
  EXPECT_EQ(manager_->Send(&shortCdb), SS_INVALID_SRB);
  SRB_Header unknown{};
  unknown.SRB_Cmd = 0x42;
  EXPECT_EQ(manager_->Send(&unknown), SS_INVALID_CMD);
  EXPECT_EQ(Notices(), 0u);
}

TEST_F(AspiManagerTest, SlowBlankStaysPendingUntilItsTimeHasPassed) {
  // Full blank at 40X: 123.7 s of drive time, times 0.001.
  SRB_ExecSCSICmd blank = Command({0xA1, 0x00}, SRB_DIR_OUT, nullptr);
  auto begin = std::chrono::steady_clock::now();
  EXPECT_EQ(SendAndWait(&blank), SS_PENDING);
  auto took = std::chrono::steady_clock::now() - begin;
  EXPECT_EQ(blank.SRB_Status, SS_COMP);
  EXPECT_GE(took, std::chrono::milliseconds(120));
}

TEST_F(AspiManagerTest, AbortEndsACommandThatNeverFinishes) {
  Start("[device 0:1:0]\ndisc = n.img\nmedia = cdr80\nfault-never-finish = synchronize-cache\n");
  SRB_ExecSCSICmd flush = Command({0x35}, SRB_DIR_OUT, nullptr);
  ASSERT_EQ(manager_->Send(&flush), SS_PENDING);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(flush.SRB_Status, SS_PENDING);
  SRB_Abort abort{};
  abort.SRB_Cmd = SC_ABORT_SRB;
  abort.SRB_ToAbort = &flush;
  EXPECT_EQ(manager_->Send(&abort), SS_COMP);
  std::unique_lock<std::mutex> lock(mutex_);
  done_.wait(lock, [this] { return !notices_.empty(); });
  EXPECT_EQ(flush.SRB_Status, SS_ABORTED);
}

}  // namespace
}  // namespace tarvo::vrec::testing
