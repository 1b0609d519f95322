#include <gtest/gtest.h>

#include "drive/disc_info.h"

namespace tarvo::testing {
namespace {

using Bytes = std::vector<uint8_t>;

// A READ DISC INFORMATION reply (MMC-3 table 295) with the fields the tests vary.
struct DiscReply {
  uint8_t status = 0;
  uint8_t firstTrack = 1, sessions = 1, firstInLast = 1, lastInLast = 1;
  uint8_t flags7 = 0x20, discType = 0;
  uint8_t leadIn[3] = {0, 0, 0};
  uint8_t leadOut[3] = {0, 0, 0};
  uint8_t opcEntries = 0;
  uint16_t opcSpeeds[3] = {0, 0, 0};

  Bytes Build() const {
    Bytes r(256, 0);
    r[1] = 0x20;
    r[2] = status;
    r[3] = firstTrack;
    r[4] = sessions;
    r[5] = firstInLast;
    r[6] = lastInLast;
    r[7] = flags7;
    r[8] = discType;
    std::copy(leadIn, leadIn + 3, r.begin() + 17);
    std::copy(leadOut, leadOut + 3, r.begin() + 21);
    r[33] = opcEntries;
    for (int i = 0; i < 3; ++i) {
      r[34 + 8 * i] = static_cast<uint8_t>(opcSpeeds[i] >> 8);
      r[35 + 8 * i] = static_cast<uint8_t>(opcSpeeds[i]);
    }
    return r;
  }
};

std::string Line(const std::string& report, const std::string& start) {
  const size_t at = report.find(start);
  if (at == std::string::npos) return "<missing " + start + ">";
  return report.substr(at, report.find("\r\n", at) - at);
}

TEST(MsfToLba, ProgramAreaAndLeadIn) {
  struct Case { int m, s, f; int32_t lba; };
  const Case cases[] = {
      {0, 2, 0, 0},          {79, 59, 74, 359849}, {89, 59, 74, 404849},
      {97, 26, 66, -11634},  {-1, -1, -1, -454726}, {90, 0, 0, -45150},
      {0, 60, 0, -445650},   {0, 0, 75, -450075},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MsfToLba(static_cast<int8_t>(c.m), static_cast<int8_t>(c.s), static_cast<int8_t>(c.f)), c.lba)
        << c.m << ":" << c.s << ":" << c.f;
  }
}

TEST(DiscInfoDecoder, BlankCdrReportIsExact) {
  DiscReply blank;
  blank.leadIn[0] = 97; blank.leadIn[1] = 26; blank.leadIn[2] = 66;
  blank.leadOut[0] = 79; blank.leadOut[1] = 59; blank.leadOut[2] = 74;
  const Bytes reply = blank.Build();
  const DiscInfoReply decoded = DecodeDiscInfo(reply.data(), reply.size());
  EXPECT_EQ(decoded.leadInLba, -11634);
  EXPECT_EQ(decoded.leadOutLba, 359849);
  EXPECT_EQ(decoded.info.LastSession_LeadIn, 0x611A42u);
  EXPECT_EQ(FormatDiscReport(decoded),
            "DiscStatus = 0\r\nStateOfLastSession = 0\r\nisEraseable = NO\r\nnTrack = 1\r\n"
            "nSessions = 1\r\nnFirstTrack = 1\r\nnLastTrack = 1\r\nIs Valid Disk ID = NO\r\n"
            "Is Valid Disk Bar Code = NO\r\nIs Unrestricted Use = YES\r\nDiskType = 0\r\n"
            "cdDiskIdentification = 0\r\n"
            "LastSession_LeadIn  = 0  97, 26, 66, LBA=4294955662\r\n"
            "LastPossibleLeadOut = 0  79, 59, 74, LBA=359849\r\n"
            "DiscBarCode = 0, 0, 0, 0, 0, 0, 0, 0\r\nnOPC = 0\r\n"
            "SpeedOBCSpeed(NotAvailable) = 0 X,  0 X,  0 X\r\n");
}

TEST(DiscInfoDecoder, FinalisedDiscShowsFFAsLargeUnsigned) {
  DiscReply finalised;
  finalised.status = 0x0E;  // complete disc, complete last session
  finalised.sessions = 2; finalised.firstInLast = 2; finalised.lastInLast = 2;
  std::fill(finalised.leadIn, finalised.leadIn + 3, 0xFF);
  std::fill(finalised.leadOut, finalised.leadOut + 3, 0xFF);
  const Bytes reply = finalised.Build();
  const DiscInfoReply decoded = DecodeDiscInfo(reply.data(), reply.size());
  EXPECT_EQ(decoded.info.DiscStatus, 2);
  EXPECT_EQ(decoded.info.StateOfLastSession, 3);
  EXPECT_EQ(decoded.leadOutLba, -454726);
  const std::string report = FormatDiscReport(decoded);
  EXPECT_EQ(Line(report, "LastPossibleLeadOut"),
            "LastPossibleLeadOut = 0  255, 255, 255, LBA=4294512570");
  EXPECT_EQ(Line(report, "LastSession_LeadIn"),
            "LastSession_LeadIn  = 0  255, 255, 255, LBA=4294512570");
}

TEST(DiscInfoDecoder, AppendableMultiSessionAndCdrwFields) {
  DiscReply appendable;
  appendable.status = 0x11;  // erasable, incomplete disc, last session empty
  appendable.sessions = 3; appendable.firstInLast = 3; appendable.lastInLast = 3;
  appendable.flags7 = 0xE0; appendable.discType = 0x20;
  appendable.leadIn[0] = 2; appendable.leadIn[1] = 32; appendable.leadIn[2] = 0;  // 02:32:00
  appendable.leadOut[0] = 79; appendable.leadOut[1] = 59; appendable.leadOut[2] = 74;
  Bytes reply = appendable.Build();
  reply[12] = 0x12; reply[13] = 0x34; reply[14] = 0x56; reply[15] = 0x78;
  for (int i = 0; i < 8; ++i) reply[24 + i] = static_cast<uint8_t>(i + 1);
  reply[16] = 0x7F;  // the reserved bytes print as they come
  const DiscInfoReply decoded = DecodeDiscInfo(reply.data(), reply.size());
  const DiscInfo& d = decoded.info;
  EXPECT_EQ(d.DiscStatus, 1);
  EXPECT_EQ(d.StateOfLastSession, 0);
  EXPECT_TRUE(d.isEraseable);
  EXPECT_EQ(d.nSessions, 3);
  EXPECT_EQ(d.nLastTrack, 3);
  EXPECT_EQ(d.cdDiskIdentification, 0x12345678u);
  EXPECT_EQ(decoded.leadInLba, 11250);
  const std::string report = FormatDiscReport(decoded);
  EXPECT_EQ(Line(report, "isEraseable"), "isEraseable = YES");
  EXPECT_EQ(Line(report, "Is Valid Disk ID"), "Is Valid Disk ID = YES");
  EXPECT_EQ(Line(report, "Is Valid Disk Bar Code"), "Is Valid Disk Bar Code = YES");
  EXPECT_EQ(Line(report, "DiskType"), "DiskType = 32");
  EXPECT_EQ(Line(report, "cdDiskIdentification"), "cdDiskIdentification = 305419896");
  EXPECT_EQ(Line(report, "LastSession_LeadIn"), "LastSession_LeadIn  = 127  2, 32, 0, LBA=11250");
  EXPECT_EQ(Line(report, "DiscBarCode"), "DiscBarCode = 1, 2, 3, 4, 5, 6, 7, 8");
}

TEST(DiscInfoDecoder, OpcSpeedsAndAvailability) {
  struct Case { uint8_t entries; uint16_t speeds[3]; const char* line; uint16_t firstX; };
  const Case cases[] = {
      {0, {0, 0, 0}, "SpeedOBCSpeed(NotAvailable) = 0 X,  0 X,  0 X", 0},
      {2, {1408, 704, 0}, "SpeedOBCSpeed(NotAvailable) = 8 X,  4 X,  0 X", 8},
      {3, {4224, 1760, 175}, "SpeedOBCSpeed(Avaliable) = 24 X,  10 X,  0 X", 24},
  };
  for (const Case& c : cases) {
    DiscReply r;
    r.opcEntries = c.entries;
    std::copy(c.speeds, c.speeds + 3, r.opcSpeeds);
    const Bytes reply = r.Build();
    const DiscInfoReply decoded = DecodeDiscInfo(reply.data(), reply.size());
    EXPECT_EQ(decoded.info.opcSpeedX, c.firstX);
    EXPECT_EQ(Line(FormatDiscReport(decoded), "SpeedOBCSpeed"), c.line);
  }
}

TEST(DiscInfoDecoder, ShortReplyDecodesAsZeroNotPastTheEnd) {
  const Bytes reply = {0x00, 0x20, 0x1F, 1};
  const DiscInfoReply decoded = DecodeDiscInfo(reply.data(), reply.size());
  EXPECT_EQ(decoded.info.DiscStatus, 3);
  EXPECT_EQ(decoded.info.nTrack, 1);
  EXPECT_EQ(decoded.info.nSessions, 0);
  EXPECT_EQ(decoded.leadInLba, -150);
}

TEST(TrackInfoDecoder, FieldsAndReport) {
  Bytes reply(100, 0);
  reply[1] = 0x22;           // data length 34
  reply[2] = 2;              // track 2
  reply[3] = 2;              // session 2
  reply[5] = 0x14;           // damage off, copy on, track mode 4
  reply[6] = 0x41;           // blank, data mode 1
  reply[7] = 0x01;           // next writable address valid
  const uint32_t words[5] = {11400 + 4096, 11400 + 4096, 340000, 0, 340000};
  for (int w = 0; w < 5; ++w) {
    for (int b = 0; b < 4; ++b) reply[8 + 4 * w + b] = static_cast<uint8_t>(words[w] >> (24 - 8 * b));
  }
  const TrackInfo t = DecodeTrackInfo(reply.data(), reply.size());
  EXPECT_EQ(t.TrackMode, 4);
  EXPECT_TRUE(t.isCopy);
  EXPECT_FALSE(t.isDamage);
  EXPECT_TRUE(t.isBlank);
  EXPECT_TRUE(t.isValidNextWriteAddress);
  EXPECT_EQ(t.NextWriteableAddress, 15496u);
  EXPECT_EQ(FormatTrackReport(t),
            "DataLenght = 34\r\nTrackNumber = 2\r\nSessionNumber = 2\r\nTrackMode = 4\r\n"
            "Is Copy = YES\r\nIs Damage = NO\r\nDataMode = 1\r\nIs Track Reserved RT = NO\r\n"
            "Is Blank = YES\r\nIs Only Packet Write = NO\r\nIs Packed Fixed FP = NO\r\n"
            "Is Valid Next Write Address = YES\r\nTrackStart = 15496\r\n"
            "NextWriteableAddress = 15496\r\nFreeBlocks = 340000\r\nFixedPacketSize = 0\r\n"
            "TrackSize = 340000\r\n");
}

// READ TOC format 0 reply: 4-byte header, then 8-byte descriptors.
Bytes Toc(uint8_t firstTrack, uint8_t lastTrack, const std::vector<uint32_t>& starts) {
  const size_t length = 2 + 8 * starts.size();
  Bytes r(2048, 0);
  r[0] = static_cast<uint8_t>(length >> 8);
  r[1] = static_cast<uint8_t>(length);
  r[2] = firstTrack;
  r[3] = lastTrack;
  for (size_t i = 0; i < starts.size(); ++i) {
    for (int b = 0; b < 4; ++b) r[4 + 8 * i + 4 + b] = static_cast<uint8_t>(starts[i] >> (24 - 8 * b));
  }
  return r;
}

TEST(LastTrackPvd, TakesThePositionOfTheLastTrackNumber) {
  // Tracks 1 and 2 plus the lead-out descriptor.
  Bytes toc = Toc(1, 2, {0, 15496, 30000});
  EXPECT_EQ(LastTrackPvdFromToc(toc.data(), toc.size()), 15496u + 16);
  // First track 3: descriptor position L - 1 = 3 is the lead-out, not track 4.
  toc = Toc(3, 4, {20000, 40000, 60000, 70000});
  EXPECT_EQ(LastTrackPvdFromToc(toc.data(), toc.size()), 70000u + 16);
  // L - 1 beyond the descriptors, or L = 0: nothing found.
  toc = Toc(3, 4, {20000, 40000, 60000});
  EXPECT_EQ(LastTrackPvdFromToc(toc.data(), toc.size()), 0u);
  toc = Toc(0, 0, {20000});
  EXPECT_EQ(LastTrackPvdFromToc(toc.data(), toc.size()), 0u);
}

}  // namespace
}  // namespace tarvo::testing
