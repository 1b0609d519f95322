#include <gtest/gtest.h>

#include "drive/discovery.h"
#include "fakes.h"

namespace tarvo::testing {
namespace {

using Bytes = std::vector<uint8_t>;
using Address = std::tuple<int, int, int>;

struct DiscoveryFixture {
  FakeTransport transport;
  FakeUi ui;
  DriveAccess access{ui};
  DiscoveryFixture() { access.transport = &transport; }
};

TEST(DiscoverDrives, FirstFiveCdDrivesInAddressOrder) {
  DiscoveryFixture f;
  f.transport.maxTargets = {0, 8, -1, 7};  // adapter 0: no targets; 2: inquiry fails
  f.transport.devices = {
      {{1, 0, 0}, 5}, {{1, 0, 3}, 5}, {{1, 1, 0}, 4},  // type 4: a write-once device
      {{1, 2, 0}, 0}, {{3, 2, 0}, 5}, {{3, 2, 1}, 5},  {{3, 5, 7}, 5},
      {{3, 6, 0}, 5},  // the sixth CD drive
  };
  EXPECT_EQ(DiscoverDrives(f.access), 1);
  ASSERT_EQ(f.access.driveCount, 5);
  const Address expected[] = {{1, 0, 0}, {1, 0, 3}, {3, 2, 0}, {3, 2, 1}, {3, 5, 7}};
  for (int i = 0; i < 5; ++i) {
    const CdDrive& d = f.access.drives[static_cast<size_t>(i)];
    EXPECT_EQ(Address(d.adapterId, d.targetId, d.lun), expected[i]) << i;
  }
  EXPECT_EQ(f.transport.probed.back(), Address(3, 5, 7));  // nothing after the fifth
  EXPECT_EQ(f.transport.probed.size(), 8u * 8 + 5 * 8 + 8);
  EXPECT_EQ(std::count(f.transport.probed.begin(), f.transport.probed.end(), Address(3, 6, 0)), 0);
}

TEST(DiscoverDrives, EachDriveGetsInquiryCapabilitiesThenSpeed) {
  DiscoveryFixture f;
  f.transport.maxTargets = {2};
  f.transport.devices = {{{0, 0, 0}, 5}, {{0, 1, 2}, 5}};
  Bytes inquiry(96, ' ');
  inquiry[0] = 0x05;
  std::memcpy(inquiry.data() + 8, "TARVOVR VIRTUAL RECORDER1.00", 28);
  f.transport.replies[0x12] = {kStatusGood, inquiry};
  f.transport.replies[0x5A] = {kStatusCheckCondition, {}};  // capabilities unreadable
  DiscoverDrives(f.access);
  ASSERT_EQ(f.access.driveCount, 2);
  const Bytes perDrive = {0x12, 0x01, 0x5A, 0xBB};
  Bytes expected = perDrive;
  expected.insert(expected.end(), perDrive.begin(), perDrive.end());
  EXPECT_EQ(f.transport.Opcodes(), expected);
  EXPECT_EQ(f.transport.sent[4].device.targetId, 1);
  EXPECT_EQ(f.transport.sent[4].device.lun, 2);
  const Bytes speed = {0xBB, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};
  EXPECT_EQ(f.transport.sent[3].cdb, speed);
  EXPECT_EQ(f.access.drives[1].identity, "TARVOVR VIRTUAL RECORDER1.00    ");
  // The failed capability read shows its message once per drive; the fields stay 0.
  EXPECT_EQ(f.ui.messages.size(), 2u);
  EXPECT_EQ(f.access.drives[0].maxWriteSpeedKBps, 0);
}

TEST(DiscoverDrives, NoDevicesLeavesAnEmptyTable) {
  DiscoveryFixture f;
  f.transport.maxTargets = {8};
  EXPECT_EQ(DiscoverDrives(f.access), 1);
  EXPECT_EQ(f.access.driveCount, 0);
  EXPECT_TRUE(f.transport.sent.empty());
}

}  // namespace
}  // namespace tarvo::testing
