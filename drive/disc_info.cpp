#include "drive/disc_info.h"

#include "drive/byte_reader.h"
#include "drive/text_format.h"

namespace tarvo {
namespace {

const char* YesNo(bool value) { return value ? "YES" : "NO"; }

uint32_t PackMsf(ByteReader& reply, size_t offset) {
  return static_cast<uint32_t>(reply.U8(offset)) << 16 |
         static_cast<uint32_t>(reply.U8(offset + 1)) << 8 | reply.U8(offset + 2);
}

int32_t LbaOfMsf(ByteReader& reply, size_t offset) {
  return MsfToLba(static_cast<int8_t>(reply.U8(offset)), static_cast<int8_t>(reply.U8(offset + 1)),
                  static_cast<int8_t>(reply.U8(offset + 2)));
}

uint16_t SpeedX(uint16_t kilobytesPerSecond) { return kilobytesPerSecond / 176; }

}  // namespace

int32_t MsfToLba(int8_t minute, int8_t second, int8_t frame) {
  const int32_t frames = (minute * 60 + second) * 75 + frame;
  const bool inProgramArea = minute >= 0 && second >= 0 && frame >= 0 && minute <= 89 &&
                             second <= 59 && frame <= 74;
  return inProgramArea ? frames - 150 : frames - 450150;
}

DiscInfoReply DecodeDiscInfo(const uint8_t* data, size_t length) {
  ByteReader reply(data, length);
  DiscInfoReply out;
  DiscInfo& info = out.info;
  const uint8_t status = reply.U8(2);
  info.DiscStatus = status & 0x03;
  info.StateOfLastSession = (status >> 2) & 0x03;
  info.isEraseable = (status >> 4) & 1;
  info.nTrack = reply.U8(3);
  info.nSessions = reply.U8(4);
  info.nFirstTrack = reply.U8(5);
  info.nLastTrack = reply.U8(6);
  info.isValidDiskId = reply.Bit(7, 7);
  info.isValidDiskBarCode = reply.Bit(7, 6);
  info.isUnrestrictedUse = reply.Bit(7, 5);
  info.DiskType = reply.U8(8);
  info.cdDiskIdentification = reply.Be32(12);
  out.byte16 = reply.U8(16);
  info.LastSession_LeadIn = PackMsf(reply, 17);
  out.byte20 = reply.U8(20);
  info.LastPossibleLeadOut = PackMsf(reply, 21);
  for (size_t i = 0; i < 8; ++i) info.DiscBarCode[i] = reply.U8(24 + i);
  info.nOPC = reply.U8(33);
  // MMC-3 5.9: OPC table entries of 8 bytes from byte 34, speed first.
  for (size_t entry = 0; entry < 3; ++entry) out.opcSpeedsX[entry] = SpeedX(reply.Be16(34 + 8 * entry));
  info.opcSpeedX = out.opcSpeedsX[0];
  out.leadInLba = LbaOfMsf(reply, 17);
  out.leadOutLba = LbaOfMsf(reply, 21);
  return out;
}

TrackInfo DecodeTrackInfo(const uint8_t* data, size_t length) {
  ByteReader reply(data, length);
  TrackInfo track;
  track.DataLenght = reply.Be16(0);
  track.TrackNumber = reply.U8(2);
  track.SessionNumber = reply.U8(3);
  const uint8_t byte5 = reply.U8(5);
  track.TrackMode = byte5 & 0x0F;
  track.isCopy = (byte5 >> 4) & 1;
  track.isDamage = (byte5 >> 5) & 1;
  const uint8_t byte6 = reply.U8(6);
  track.DataMode = byte6 & 0x0F;
  track.isTrackReservedRt = (byte6 >> 7) & 1;
  track.isBlank = (byte6 >> 6) & 1;
  track.isOnlyPacketWrite = (byte6 >> 5) & 1;
  track.isPackedFixedFp = (byte6 >> 4) & 1;
  track.isValidNextWriteAddress = reply.Bit(7, 0);
  track.TrackStart = reply.Be32(8);
  track.NextWriteableAddress = reply.Be32(12);
  track.FreeBlocks = reply.Be32(16);
  track.FixedPacketSize = reply.Be32(20);
  track.TrackSize = reply.Be32(24);
  return track;
}

std::string FormatDiscReport(const DiscInfoReply& reply) {
  const DiscInfo& d = reply.info;
  const uint32_t in = d.LastSession_LeadIn;
  const uint32_t out = d.LastPossibleLeadOut;
  return Format(
      "DiscStatus = %d\r\nStateOfLastSession = %d\r\nisEraseable = %s\r\nnTrack = %d\r\n"
      "nSessions = %d\r\nnFirstTrack = %d\r\nnLastTrack = %d\r\nIs Valid Disk ID = %s\r\n"
      "Is Valid Disk Bar Code = %s\r\nIs Unrestricted Use = %s\r\nDiskType = %d\r\n"
      "cdDiskIdentification = %lu\r\nLastSession_LeadIn  = %d  %d, %d, %d, LBA=%lu\r\n"
      "LastPossibleLeadOut = %d  %d, %d, %d, LBA=%lu\r\n"
      "DiscBarCode = %d, %d, %d, %d, %d, %d, %d, %d\r\nnOPC = %d\r\n"
      "SpeedOBCSpeed(%s) = %d X,  %d X,  %d X\r\n",
      d.DiscStatus, d.StateOfLastSession, YesNo(d.isEraseable), d.nTrack, d.nSessions,
      d.nFirstTrack, d.nLastTrack, YesNo(d.isValidDiskId), YesNo(d.isValidDiskBarCode),
      YesNo(d.isUnrestrictedUse), d.DiskType, static_cast<unsigned long>(d.cdDiskIdentification),
      reply.byte16, static_cast<int>(in >> 16 & 0xFF), static_cast<int>(in >> 8 & 0xFF),
      static_cast<int>(in & 0xFF), static_cast<unsigned long>(static_cast<uint32_t>(reply.leadInLba)),
      reply.byte20, static_cast<int>(out >> 16 & 0xFF), static_cast<int>(out >> 8 & 0xFF),
      static_cast<int>(out & 0xFF),
      static_cast<unsigned long>(static_cast<uint32_t>(reply.leadOutLba)), d.DiscBarCode[0],
      d.DiscBarCode[1], d.DiscBarCode[2], d.DiscBarCode[3], d.DiscBarCode[4], d.DiscBarCode[5],
      d.DiscBarCode[6], d.DiscBarCode[7], d.nOPC, d.nOPC > 2 ? "Avaliable" : "NotAvailable",
      reply.opcSpeedsX[0], reply.opcSpeedsX[1], reply.opcSpeedsX[2]);
}

std::string FormatTrackReport(const TrackInfo& t) {
  return Format(
      "DataLenght = %d\r\nTrackNumber = %d\r\nSessionNumber = %d\r\nTrackMode = %d\r\n"
      "Is Copy = %s\r\nIs Damage = %s\r\nDataMode = %d\r\nIs Track Reserved RT = %s\r\n"
      "Is Blank = %s\r\nIs Only Packet Write = %s\r\nIs Packed Fixed FP = %s\r\n"
      "Is Valid Next Write Address = %s\r\nTrackStart = %lu\r\nNextWriteableAddress = %lu\r\n"
      "FreeBlocks = %lu\r\nFixedPacketSize = %lu\r\nTrackSize = %lu\r\n",
      t.DataLenght, t.TrackNumber, t.SessionNumber, t.TrackMode, YesNo(t.isCopy),
      YesNo(t.isDamage), t.DataMode, YesNo(t.isTrackReservedRt), YesNo(t.isBlank),
      YesNo(t.isOnlyPacketWrite), YesNo(t.isPackedFixedFp), YesNo(t.isValidNextWriteAddress),
      static_cast<unsigned long>(t.TrackStart), static_cast<unsigned long>(t.NextWriteableAddress),
      static_cast<unsigned long>(t.FreeBlocks), static_cast<unsigned long>(t.FixedPacketSize),
      static_cast<unsigned long>(t.TrackSize));
}

uint32_t LastTrackPvdFromToc(const uint8_t* data, size_t length) {
  ByteReader reply(data, length);
  const unsigned lastTrack = reply.U8(3);
  const unsigned descriptors = reply.Be16(0) / 8u;
  if (lastTrack < 1 || lastTrack - 1 >= descriptors) return 0;
  // Position L - 1 is the last track's descriptor only when the disc's first
  // track is number 1; the position, not the track number, is what counts.
  const uint32_t start = reply.Be32(8 * (lastTrack - 1) + 8);
  return reply.ok() ? start + 16 : 0;
}

}  // namespace tarvo
