#include <gtest/gtest.h>

#include "drive/capabilities.h"
#include "drive/disc_query.h"
#include "fakes.h"

namespace tarvo::testing {
namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v >> 8);
  b[at + 1] = static_cast<uint8_t>(v);
}

// Page 2Ah as a recorder reports it (MMC-3 table 330), page code at byte 0.
Bytes Page(uint8_t writeBits, uint16_t maxWrite, uint8_t byte17) {
  Bytes p(32, 0);
  p[0] = 0x2A;
  p[1] = 0x1E;
  p[2] = 0x3B;  // reads CD-R, CD-RW, method 2
  p[3] = writeBits;
  p[4] = 0x71;
  p[6] = 0x29;
  Put16(p, 8, 4224);   // maximum read speed 24 X
  Put16(p, 10, 256);   // volume levels
  Put16(p, 12, 2048);  // buffer size
  Put16(p, 14, 4224);
  p[17] = byte17;
  Put16(p, 18, maxWrite);
  Put16(p, 20, maxWrite);
  return p;
}

// MODE SENSE(10) reply: 8-byte header, then the page.
Bytes ModeSenseReply(const Bytes& page) {
  Bytes r(8 + page.size(), 0);
  r[1] = static_cast<uint8_t>(6 + page.size());
  std::copy(page.begin(), page.end(), r.begin() + 8);
  return r;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t from = 0;
  for (size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2) {
    lines.push_back(text.substr(from, at - from));
  }
  return lines;
}

TEST(CapabilitiesReport, ThirtyNineLinesWithSpeeds) {
  const Bytes page = Page(0x03, 1408, 0x00);
  const std::string report = FormatCapabilitiesReport(page.data(), page.size());
  const std::vector<std::string> lines = Lines(report);
  ASSERT_EQ(lines.size(), 41u);  // 39 texts, one blank line before 32 and one after 35
  EXPECT_EQ(lines[0], "Can read CD-R: YES");
  EXPECT_EQ(lines[2], "Can read method 2: NO");
  EXPECT_EQ(lines[3], "Can write CD-R: YES");
  EXPECT_EQ(lines[4], "Can write CD-RW: YES");
  EXPECT_EQ(lines[5], "Can write test write: NO");
  EXPECT_EQ(lines[12], "Is capable of reading multi-session discs: YES");
  EXPECT_EQ(lines[24],
            "Can eject the disc via the normal START/STOP command with the LoEj bit set. If the "
            "mechanism is a Changer that uses a cartridge, then this bit indicates that the "
            "cartridge can be ejected: YES");
  EXPECT_EQ(lines[29], "Number of Volume Levels Supported: 256 KiloBytes/second");
  EXPECT_EQ(lines[30], "Buffer Size supported by Drive (in KBytes): 2048 KiloBytes/second");
  EXPECT_EQ(lines[31], "");
  EXPECT_EQ(lines[32], "Maximum Read Speed Supported (in kBps): 4224 [24 X] KiloBytes/second");
  EXPECT_EQ(lines[34], "Maximum Write Speed Supported (in kBps): 1408 [8 X] KiloBytes/second");
  EXPECT_EQ(lines[35], "Current Write Speed Selected (in kBps): 1408 [8 X] KiloBytes/second");
  EXPECT_EQ(lines[36], "");
  EXPECT_EQ(lines[37],
            "BCKF Set if data valid on the falling edge of the BCK signal. Clear if data valid "
            "on rising edge of the BCK signal: NO");
  EXPECT_EQ(lines[40], "Digital format of the drive: 32 BCKs");
}

TEST(CapabilitiesReport, SlowWriterAndDigitalFormats) {
  struct Case { uint8_t byte17; const char* last; };
  const Case cases[] = {
      {0x10, "Digital format of the drive: 16 BCKs"},
      {0x20, "Digital format of the drive: 24 BCKs"},
      {0x30, "Digital format of the drive: 24 BCKs (I 2 S)"},
      {0x3E, "Digital format of the drive: 24 BCKs (I 2 S)"},
  };
  for (const Case& c : cases) {
    const Bytes page = Page(0x01, 175, c.byte17);
    const std::string report = FormatCapabilitiesReport(page.data(), page.size());
    const std::vector<std::string> lines = Lines(report);
    ASSERT_EQ(lines.size(), 41u);
    EXPECT_EQ(lines.back(), c.last);
    EXPECT_EQ(report.find("Digital format"), report.rfind("Digital format"));
    EXPECT_EQ(lines[34], "Maximum Write Speed Supported (in kBps): 175 [0 X] KiloBytes/second");
  }
}

TEST(QueryCapabilities, SilentReadStoresTheDriveFields) {
  Fixture f;
  f.transport.replies[0x5A] = {kStatusGood, ModeSenseReply(Page(0x01, 4224, 0))};
  EXPECT_EQ(QueryDriveInfo(f.access, kQueryCapabilities, false, 0), 1);
  EXPECT_EQ(f.transport.Opcodes(), (Bytes{0x01, 0x5A}));
  EXPECT_EQ(f.transport.sent[1].cdb[2], 0x2A);
  EXPECT_TRUE(f.access.drives[0].canWriteCdR);
  EXPECT_FALSE(f.access.drives[0].canWriteCdRw);
  EXPECT_EQ(f.access.drives[0].maxWriteSpeedKBps, 4224);
  EXPECT_TRUE(f.ui.infoText.empty());

  QueryDriveInfo(f.access, kQueryCapabilities, true, 0);
  EXPECT_EQ(f.ui.infoText.rfind("Can read CD-R: YES\r\n", 0), 0u);
}

TEST(QueryCapabilities, PageWithPsBitCountsAsNotAnswering) {
  Fixture f;
  Bytes page = Page(0x03, 1408, 0);
  page[0] = 0xAA;  // PS set
  f.transport.replies[0x5A] = {kStatusGood, ModeSenseReply(page)};
  EXPECT_EQ(QueryDriveInfo(f.access, kQueryCapabilities, false, 0), 1);
  ASSERT_EQ(f.ui.messages.size(), 1u);
  EXPECT_EQ(f.ui.messages[0].text.rfind("Seem to be that your \"Firmware Revision\"", 0), 0u);
  EXPECT_FALSE(f.access.drives[0].canWriteCdR);
  EXPECT_FALSE(f.access.drives[0].canWriteCdRw);
  EXPECT_EQ(f.access.drives[0].maxWriteSpeedKBps, 0);
}

}  // namespace
}  // namespace tarvo::testing
