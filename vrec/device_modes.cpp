// MODE SENSE(10) and MODE SELECT(10) with the two pages a recorder needs:
// write parameters (05h, MMC-3 6.3.11) and CD capabilities (2Ah, MMC-3 6.3.7).
#include <algorithm>

#include "vrec/cdb.h"
#include "vrec/device.h"

namespace tarvo::vrec {

namespace {

constexpr uint8_t kWriteParametersPage = 0x05;
constexpr uint8_t kCapabilitiesPage = 0x2A;
constexpr uint8_t kAllPages = 0x3F;
constexpr size_t kHeaderLength = 8;
constexpr size_t kBlockDescriptorLength = 8;

// Write speeds the drive offers (MMC-3 Table 628 speed descriptors).
std::vector<uint16_t> WriteSpeeds(uint16_t maximum) {
  std::vector<uint16_t> speeds;
  for (uint16_t factor : {40, 32, 24, 16, 8, 4}) {
    uint32_t speed = 176u * factor;
    if (speed < maximum) speeds.push_back(static_cast<uint16_t>(speed));
  }
  speeds.insert(speeds.begin(), maximum);
  return speeds;
}

}  // namespace

std::vector<uint8_t> Device::CapabilitiesPage() const {
  const Capabilities& caps = config_.capabilities;
  std::vector<uint16_t> speeds = WriteSpeeds(caps.maxWriteSpeedKBps);
  std::vector<uint8_t> page(32 + 4 * speeds.size(), 0);
  page[0] = kCapabilitiesPage;
  if (faults().capabilities == PageFault::PsFlagged) page[0] |= 0x80;
  page[1] = static_cast<uint8_t>(page.size() - 2);
  page[2] = 0x07;  // reads CD-R, CD-RW, method 2
  page[3] = static_cast<uint8_t>((caps.writeCdR ? 0x01 : 0) | (caps.writeCdRw ? 0x02 : 0));
  page[4] = 0x71;  // audio play, Mode 2 Form 1 and 2, multi-session
  page[5] = 0x03;  // CD-DA commands, accurate stream
  // Tray loading mechanism (001b), eject, lock, and the lock state.
  page[6] = static_cast<uint8_t>(0x29 | (locked_ ? 0x02 : 0));
  page[7] = 0x03;  // separate channel volume and mute
  Put16(&page[8], caps.maxReadSpeedKBps);
  Put16(&page[10], 256);  // volume levels
  Put16(&page[12], caps.bufferKB);
  Put16(&page[14], readSpeedKBps_);
  Put16(&page[18], caps.maxWriteSpeedKBps);
  Put16(&page[20], writeSpeedKBps_);
  Put16(&page[28], writeSpeedKBps_);
  Put16(&page[30], static_cast<uint32_t>(speeds.size()));
  for (size_t i = 0; i < speeds.size(); ++i) Put16(&page[32 + 4 * i + 2], speeds[i]);
  return page;
}

// MODE SENSE(10) (SPC-3 6.10). Page control 00b current, 01b changeable,
// 10b default; saved values are not supported. With DBD clear, a drive
// configured so returns a block descriptor ahead of the pages.
uint8_t Device::ModeSense10(Request& r) {
  if ((r.cdb[1] & 0xE7) != 0 || r.cdb[3] != 0 || r.cdb[4] != 0 || r.cdb[5] != 0 || r.cdb[6] != 0) {
    return Fail(kInvalidFieldInCdb);
  }
  bool disableBlockDescriptors = (r.cdb[1] & 0x08) != 0;
  uint8_t pageControl = r.cdb[2] >> 6;
  uint8_t pageCode = r.cdb[2] & 0x3F;
  if (pageControl == 3) return Fail(kSavingParametersNotSupported);
  bool capsAvailable = faults().capabilities != PageFault::Missing;
  bool writeParametersAvailable = faults().writeParameters != PageFault::Missing;
  if (pageCode != kAllPages && !(pageCode == kCapabilitiesPage && capsAvailable) &&
      !(pageCode == kWriteParametersPage && writeParametersAvailable)) {
    return Fail(kInvalidFieldInCdb);
  }
  std::vector<uint8_t> reply(kHeaderLength, 0);
  if (config_.capabilities.blockDescriptor && !disableBlockDescriptors) {
    Put16(&reply[6], kBlockDescriptorLength);
    reply.resize(kHeaderLength + kBlockDescriptorLength, 0);
    Put16(&reply[kHeaderLength + 6], kSectorSize);  // block length 2048 in bytes 5-7
  }
  auto append = [&reply, pageControl](std::vector<uint8_t> page, const std::vector<uint8_t>& changeable) {
    if (pageControl == 1) {
      for (size_t i = 2; i < page.size(); ++i) page[i] = i < changeable.size() ? changeable[i] : 0;
    }
    reply.insert(reply.end(), page.begin(), page.end());
  };
  if ((pageCode == kWriteParametersPage || pageCode == kAllPages) && writeParametersAvailable) {
    std::vector<uint8_t> page(writeParameters_.begin(), writeParameters_.end());
    if (faults().writeParameters == PageFault::PsFlagged) page[0] |= 0x80;
    if (pageControl == 2) {
      std::fill(page.begin() + 2, page.end(), 0);
      page[2] = 0x01;
      page[3] = 0x04;
      page[4] = 0x08;
      Put16(&page[14], 150);
    }
    std::vector<uint8_t> changeable(kWriteParametersPageLength, 0xFF);
    append(page, changeable);
  }
  if ((pageCode == kCapabilitiesPage || pageCode == kAllPages) && capsAvailable) {
    append(CapabilitiesPage(), {});
  }
  Put16(&reply[0], static_cast<uint32_t>(reply.size() - 2));
  return ReplyIn(r, reply, Get16(&r.cdb[7]));
}

// MODE SELECT(10) (SPC-3 6.8). PF must be set and SP clear. The header's
// mode data length is reserved here and ignored, as drives do; a block
// descriptor, when sent, must name 2048-byte blocks. Only page 05h can be
// changed, and only to values the drive can record: track at once or
// session at once, no test write, no buffer underrun protection, a data
// track of Mode 1 (data block type 8), a defined session format.
uint8_t Device::ModeSelect10(Request& r) {
  if ((r.cdb[1] & 0xEF) != 0 || (r.cdb[1] & 0x10) == 0) return Fail(kInvalidFieldInCdb);
  for (int i = 2; i < 7; ++i) {
    if (r.cdb[i] != 0) return Fail(kInvalidFieldInCdb);
  }
  uint32_t listLength = Get16(&r.cdb[7]);
  if (listLength == 0) return Good();
  if (!TakeOut(r, listLength)) return Fail(kDataPhaseError);
  if (faults().modeSelectFails) return Fail(kInvalidFieldInParameterList);
  const uint8_t* data = r.buffer;
  if (listLength < kHeaderLength) return Fail(kParameterListLengthError);
  uint32_t descriptorLength = Get16(&data[6]);
  if (descriptorLength != 0 && descriptorLength != kBlockDescriptorLength) return Fail(kInvalidFieldInParameterList);
  uint32_t at = static_cast<uint32_t>(kHeaderLength) + descriptorLength;
  if (listLength < at) return Fail(kParameterListLengthError);
  if (descriptorLength != 0 && (data[kHeaderLength + 5] << 16 | data[kHeaderLength + 6] << 8 |
                                data[kHeaderLength + 7]) != static_cast<int>(kSectorSize)) {
    return Fail(kInvalidFieldInParameterList);
  }
  std::array<uint8_t, kWriteParametersPageLength> accepted = writeParameters_;
  while (at < listLength) {
    if (listLength - at < 2) return Fail(kParameterListLengthError);
    uint8_t code = data[at] & 0x3F;
    uint32_t pageLength = data[at + 1] + 2u;
    if (listLength - at < pageLength) return Fail(kParameterListLengthError);
    if (code != kWriteParametersPage || pageLength != kWriteParametersPageLength) {
      return Fail(kInvalidFieldInParameterList, at);
    }
    const uint8_t* page = data + at;
    uint8_t writeType = page[2] & 0x0F;
    uint8_t trackMode = page[3] & 0x0F;
    uint8_t multiSession = page[3] >> 6;
    uint8_t sessionFormat = page[8];
    bool valid = (writeType == 1 || writeType == 2) && (page[2] & 0x50) == 0 &&
                 (trackMode == 4 || trackMode == 6) && (page[3] & 0x20) == 0 && multiSession != 2 &&
                 (page[4] & 0x0F) == 8 &&
                 (sessionFormat == 0x00 || sessionFormat == 0x10 || sessionFormat == 0x20);
    if (!valid) return Fail(kInvalidFieldInParameterList, at);
    std::copy(page, page + kWriteParametersPageLength, accepted.begin());
    accepted[0] = kWriteParametersPage;
    at += pageLength;
  }
  writeParameters_ = accepted;
  return Good();
}

}  // namespace tarvo::vrec
