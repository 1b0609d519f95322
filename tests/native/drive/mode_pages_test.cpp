#include <gtest/gtest.h>

#include "drive/mode_pages.h"
#include "fakes.h"

namespace tarvo::testing {
namespace {

using Bytes = std::vector<uint8_t>;

// Mode data of `total` bytes (header included) with `page` at `offset`.
Bytes ModeData(size_t total, size_t offset, uint8_t page) {
  Bytes r(2048, 0);
  r[0] = static_cast<uint8_t>((total - 2) >> 8);
  r[1] = static_cast<uint8_t>(total - 2);
  if (offset != 0) {
    r[offset] = page;
    r[offset + 1] = static_cast<uint8_t>(total - offset - 2);
  }
  return r;
}

TEST(LocateModePage, LocationRule) {
  struct Case {
    const char* name;
    Bytes reply;
    ModePageLocation expected;
  };
  Bytes afterDescriptor = ModeData(60, 16, 0x05);
  Bytes earlierByte = afterDescriptor;
  earlierByte[13] = 0x05;  // a block descriptor byte equal to the page code
  Bytes withPsBit = ModeData(40, 8, 0x2A | 0x80);
  Bytes tooShort = ModeData(10, 8, 0x05);
  Bytes longest = ModeData(256, 8, 0x05);
  Bytes cutShort = ModeData(257, 8, 0x05);
  const Case cases[] = {
      {"page after the header", ModeData(60, 8, 0x05), {8, 60}},
      {"page after a block descriptor", afterDescriptor, {16, 60}},
      {"earlier matching byte wins", earlierByte, {13, 60}},
      {"PS bit set and no other 2Ah", withPsBit, {}},
      {"P + 2 not below T", tooShort, {}},
      {"mode data of 256 bytes keeps its length", longest, {8, 256}},
      {"mode data beyond the allocation length", cutShort, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const uint8_t page = c.reply[8] == (0x2A | 0x80) ? 0x2A : 0x05;
    const ModePageLocation got = LocateModePage(c.reply.data(), c.reply.size(), page);
    EXPECT_EQ(got.offset, c.expected.offset);
    if (c.expected) {
      EXPECT_EQ(got.totalLength, c.expected.totalLength);
    }
  }
  EXPECT_EQ((ModePageLocation{16, 0x13C}).Packed(), 0x3C10);
}

TEST(ModeSense10, FailureShowsTheFirmwareMessage) {
  Fixture f;
  uint8_t buffer[2048] = {};
  f.transport.replies[0x5A] = {kStatusCheckCondition, {}};
  EXPECT_FALSE(ModeSense10(f.access, buffer, 0x05, 0));
  f.transport.replies[0x5A] = {kStatusGood, ModeData(10, 8, 0x05)};
  EXPECT_FALSE(ModeSense10(f.access, buffer, 0x05, 0));
  ASSERT_EQ(f.ui.messages.size(), 2u);
  EXPECT_EQ(f.ui.messages[0].text,
            "Seem to be that your \"Firmware Revision\" was corrupted or ASPI drivers was not "
            "installed.\nIf first, you should goto at the hardware site of your CD-RW and find "
            "flush utility to set up your CD-RW chip correctly.");
  EXPECT_EQ(f.ui.messages[0].caption, "Tarvo");
  EXPECT_EQ(f.ui.messages[0].style, kMbIconStop);

  f.transport.replies[0x5A] = {kStatusGood, ModeData(60, 16, 0x05)};
  const ModePageLocation found = ModeSense10(f.access, buffer, 0x05, 0);
  EXPECT_EQ(found.offset, 16);
  EXPECT_EQ(f.ui.messages.size(), 2u);
}

TEST(ModeSelect10, WriteParametersEdits) {
  struct Case { bool multiSession; int copyProtect; uint8_t byte3; };
  const Case cases[] = {{false, 0, 0x46}, {true, 0, 0xC6}, {true, 1, 0xD6}, {false, 1, 0x56},
                        {true, 2, 0xC6}};
  for (const Case& c : cases) {
    Fixture f;
    Bytes buffer = ModeData(0x3C + 8, 8, 0x05);
    for (size_t i = 10; i < 0x3C + 8; ++i) buffer[i] = 0xEE;  // what the drive had set
    buffer[3] = 0x5A;                                          // header bytes go back as read
    buffer[0x3C + 8] = 0x77;                                   // beyond the mode data
    const Bytes before = buffer;
    ModeSelect10(f.access, buffer.data(), {8, 0x3C + 8}, c.multiSession, c.copyProtect, 0);
    EXPECT_EQ(buffer[10], 0x01);
    EXPECT_EQ(buffer[11], c.byte3) << c.multiSession << c.copyProtect;
    EXPECT_EQ(buffer[12], 0x08);
    for (size_t i = 13; i < 0x3C + 8; ++i) EXPECT_EQ(buffer[i], 0) << i;
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + 10, buffer.begin()));
    EXPECT_EQ(buffer[0x3C + 8], 0x77);
  }
}

TEST(ModeSelect10, LengthOf256TravelsWhole) {
  Fixture f;
  Bytes buffer(2048, 0);
  f.transport.replies[0x5A] = {kStatusGood, ModeData(256, 8, 0x05)};
  const ModePageLocation location = ModeSense10(f.access, buffer.data(), 0x05, 0);
  ASSERT_TRUE(location);
  ModeSelect10(f.access, buffer.data(), location, true, 0, 0);
  const SentCommand& select = f.transport.sent.back();
  EXPECT_EQ(select.cdb[7], 0x01);
  EXPECT_EQ(select.cdb[8], 0x00);
  EXPECT_EQ(select.length, 256u);
}

TEST(ModeSelect10, RefusedWithoutAPage) {
  Fixture f;
  Bytes buffer(2048, 0);
  EXPECT_NE(ModeSelect10(f.access, buffer.data(), {}, false, 0, 0), kStatusGood);
  EXPECT_TRUE(f.transport.sent.empty());
}

}  // namespace
}  // namespace tarvo::testing
