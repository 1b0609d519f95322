#include "drive/mode_pages.h"

#include "drive/byte_reader.h"
#include "drive/command_set.h"

namespace tarvo {

const char* const kFirmwareMessage =
    "Seem to be that your \"Firmware Revision\" was corrupted or ASPI drivers was not "
    "installed.\nIf first, you should goto at the hardware site of your CD-RW and find flush "
    "utility to set up your CD-RW chip correctly.";

ModePageLocation LocateModePage(const uint8_t* data, size_t length, uint8_t pageCode) {
  ByteReader reply(data, length);
  const uint32_t total = reply.Be16(0) + 2u;  // SPC-2 7.4.3: length excludes bytes 0-1
  // Mode data longer than the allocation length was cut short by the drive;
  // a page found in it could not be sent back whole, so it counts as absent.
  if (total > kModeSenseAllocation || total > length) return {};
  // The header is 8 bytes; with no block descriptor the page follows it. The
  // whole byte is compared: a page with its PS bit set does not match.
  uint32_t offset = 8;
  if (reply.U8(8) != pageCode) {
    offset = 2;
    while (offset + 1 < total && reply.U8(offset) != pageCode) ++offset;
  }
  if (offset + 2 >= total) return {};
  return {static_cast<uint16_t>(offset), static_cast<uint16_t>(total)};
}

void EditWriteParametersPage(uint8_t* buffer, size_t bufferSize, ModePageLocation location,
                             bool multiSession, int copyProtect) {
  const size_t page = location.offset;
  const size_t end = location.totalLength;
  if (!location || end > bufferSize || page + 5 > bufferSize) return;
  // MMC-3 5.5.10, write parameters page.
  buffer[page + 2] = 0x01;  // BUFE off, Test Write off, Write Type 1: track at once
  // Multi-session 11b (next session allowed) or 01b (none); Track Mode 6:
  // data, recorded uninterrupted, digital copy permitted.
  uint8_t byte3 = multiSession ? 0xC6 : 0x46;
  if (copyProtect == 1) byte3 |= 0x10;  // Copy
  buffer[page + 3] = byte3;
  buffer[page + 4] = 0x08;  // Data Block Type 8: Mode 1, 2048 bytes
  // Link size, host application code, session format 00h (CD-DA or CD-ROM),
  // packet size, audio pause, MCN, ISRC and sub-header all zero.
  for (size_t i = page + 5; i < end; ++i) buffer[i] = 0;
}

ModePageLocation ModeSense10(DriveAccess& access, uint8_t* buffer, uint8_t pageCode, int drive) {
  Cdb cdb{};
  cdb[0] = 0x5A;
  cdb[2] = pageCode;  // page control 00b: current values
  cdb[7] = kModeSenseAllocation >> 8;
  cdb[8] = kModeSenseAllocation & 0xFF;
  const uint8_t status = access.ExecuteScsiCommand(drive, cdb.data(), DataDirection::In, buffer,
                                                   kModeSenseBufferSize, WaitPolicy::Bounded);
  ModePageLocation location;
  if (status == kStatusGood) location = LocateModePage(buffer, kModeSenseBufferSize, pageCode);
  if (!location) access.ShowError(kFirmwareMessage);
  return location;
}

uint8_t ModeSelect10(DriveAccess& access, uint8_t* buffer, ModePageLocation location,
                     bool multiSession, int copyProtect, int drive) {
  if (!location) return kStatusRequestRefused;
  EditWriteParametersPage(buffer, kModeSenseBufferSize, location, multiSession, copyProtect);
  Cdb cdb{};
  cdb[0] = 0x55;
  cdb[1] = 0x10;  // PF: the page follows the SCSI-2 page format
  // Parameter list length (SPC-2 7.6): the full length, never a truncated one.
  cdb[7] = static_cast<uint8_t>(location.totalLength >> 8);
  cdb[8] = static_cast<uint8_t>(location.totalLength);
  return access.ExecuteScsiCommand(drive, cdb.data(), DataDirection::Out, buffer,
                                   location.totalLength, WaitPolicy::Unbounded);
}

}  // namespace tarvo
