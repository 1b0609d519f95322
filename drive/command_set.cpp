#include "drive/command_set.h"

#include <vector>

#include "drive/byte_reader.h"
#include "drive/disc_info.h"

namespace tarvo {
namespace {

void PutBe16(Cdb& cdb, size_t at, uint16_t value) {
  cdb[at] = static_cast<uint8_t>(value >> 8);
  cdb[at + 1] = static_cast<uint8_t>(value);
}

void PutBe32(Cdb& cdb, size_t at, uint32_t value) {
  PutBe16(cdb, at, static_cast<uint16_t>(value >> 16));
  PutBe16(cdb, at + 2, static_cast<uint16_t>(value));
}

Cdb Command(uint8_t opcode) {
  Cdb cdb{};
  cdb[0] = opcode;
  return cdb;
}

uint8_t WithoutData(DriveAccess& access, int drive, const Cdb& cdb, DataDirection declared,
                    WaitPolicy wait) {
  return access.ExecuteScsiCommand(drive, cdb.data(), declared, nullptr, 0, wait);
}

}  // namespace

uint8_t TestUnitReady(DriveAccess& access, int drive, uint8_t byte1) {
  Cdb cdb = Command(0x00);
  cdb[1] = byte1;
  return WithoutData(access, drive, cdb, DataDirection::None, WaitPolicy::Bounded);
}

uint8_t RezeroUnit(DriveAccess& access, int drive) {
  Cdb cdb = Command(0x01);
  cdb[5] = 0x80;
  return WithoutData(access, drive, cdb, DataDirection::None, WaitPolicy::Bounded);
}

uint8_t Inquiry(DriveAccess& access, int drive) {
  Cdb cdb = Command(0x12);
  cdb[4] = 0x60;  // SPC-2 7.3: allocation length 96
  std::vector<uint8_t> reply(kInquiryReplySize, 0);
  const uint8_t status = access.ExecuteScsiCommand(drive, cdb.data(), DataDirection::In,
                                                   reply.data(), kInquiryReplySize,
                                                   WaitPolicy::Bounded);
  if (status == kStatusGood) {
    // SPC-2 7.3.2: vendor (8), product (16), revision (4) and 4 vendor
    // bytes from byte 8, kept as returned up to the first NUL.
    std::string identity;
    for (size_t i = 8; i < 40 && reply[i] != 0; ++i) identity.push_back(static_cast<char>(reply[i]));
    access.drives[static_cast<size_t>(drive)].identity = identity;
  }
  return status;
}

uint8_t StartStopUnit(DriveAccess& access, int drive, uint8_t mode) {
  Cdb cdb = Command(0x1B);
  cdb[4] = mode;
  return WithoutData(access, drive, cdb, DataDirection::None, WaitPolicy::Bounded);
}

uint8_t PreventAllowMediumRemoval(DriveAccess& access, int drive, bool prevent) {
  Cdb cdb = Command(0x1E);
  cdb[4] = prevent ? 0x01 : 0x00;
  return WithoutData(access, drive, cdb, DataDirection::In, WaitPolicy::Bounded);
}

uint8_t TransferBlocks(DriveAccess& access, int drive, uint8_t opcode, uint8_t* buffer,
                       uint32_t lba, uint16_t count) {
  Cdb cdb = Command(opcode);
  if (opcode == kOpSynchronizeCache) {
    return WithoutData(access, drive, cdb, DataDirection::Out, WaitPolicy::Unbounded);
  }
  if (opcode != kOpRead10 && opcode != kOpWrite10) return kStatusRequestRefused;
  PutBe32(cdb, 2, lba);
  PutBe16(cdb, 7, count);
  const DataDirection direction = opcode == kOpWrite10 ? DataDirection::Out : DataDirection::In;
  return access.ExecuteScsiCommand(drive, cdb.data(), direction, buffer,
                                   static_cast<uint32_t>(count) * kBlockSize,
                                   WaitPolicy::Unbounded);
}

uint8_t ReadToc(DriveAccess& access, int drive) {
  Cdb cdb = Command(0x43);  // MSF 0, format 0: addresses as LBA
  cdb[6] = 0x01;            // starting track
  PutBe16(cdb, 7, 0x0800);
  std::vector<uint8_t> reply(kTocReplySize, 0);
  const uint8_t status = access.ExecuteScsiCommand(drive, cdb.data(), DataDirection::In,
                                                   reply.data(), kTocReplySize,
                                                   WaitPolicy::Bounded);
  if (status == kStatusGood) access.lastTrackPvdLba = LastTrackPvdFromToc(reply.data(), reply.size());
  return status;
}

uint8_t CloseTrackSession(DriveAccess& access, int drive, bool closeTrack, uint8_t track) {
  Cdb cdb = Command(0x5B);
  cdb[2] = closeTrack ? 0x01 : 0x02;
  cdb[5] = track;
  // The command moves no data; the length is declared for the ASPI request.
  std::vector<uint8_t> unused(256, 0);
  return access.ExecuteScsiCommand(drive, cdb.data(), DataDirection::Out, unused.data(),
                                   static_cast<uint32_t>(unused.size()), WaitPolicy::Unbounded);
}

uint8_t ReadBufferCapacity(DriveAccess& access, int drive) {
  Cdb cdb = Command(0x5C);
  cdb[8] = 0x0C;
  std::vector<uint8_t> reply(20, 0);
  return access.ExecuteScsiCommand(drive, cdb.data(), DataDirection::In, reply.data(),
                                   static_cast<uint32_t>(reply.size()), WaitPolicy::Bounded);
}

uint8_t Blank(DriveAccess& access, int drive, uint8_t blankingType,
              const std::function<void()>& betweenSlices) {
  Cdb cdb = Command(0xA1);
  cdb[1] = blankingType;  // Immed clear: completes when the disc is blank
  return access.ExecuteScsiCommand(drive, cdb.data(), DataDirection::Out, nullptr, 0,
                                   WaitPolicy::Sliced, betweenSlices);
}

uint8_t SetCdSpeed(DriveAccess& access, int drive, uint16_t readSpeed, uint16_t writeSpeed) {
  Cdb cdb = Command(0xBB);
  PutBe16(cdb, 2, readSpeed);
  PutBe16(cdb, 4, writeSpeed);
  return WithoutData(access, drive, cdb, DataDirection::Out, WaitPolicy::Bounded);
}

}  // namespace tarvo
