#include "vrec/record_session.h"

#include <cstdio>
#include <fstream>
#include <vector>

#include "vrec/cdb.h"
#include "vrec/device.h"

namespace tarvo::vrec {

bool RecordImageSession(const std::string& discPath, const std::string& imagePath, bool leaveOpen,
                        std::string* message) {
  DeviceConfig config;
  config.discPath = discPath;
  config.timeScale = 0;
  Device device(config);
  char text[160];
  auto run = [&](std::vector<uint8_t> cdb, DataDirection direction, uint8_t* data, uint32_t length) {
    cdb.resize(12, 0);
    Outcome outcome = device.Execute(cdb.data(), cdb.size(), direction, data, length);
    if (outcome.status != 0) {
      std::snprintf(text, sizeof text, "command %02X refused: sense %X/%02X/%02X", cdb[0], outcome.sense.key,
                    outcome.sense.asc, outcome.sense.ascq);
      *message = text;
    }
    return outcome.status == 0;
  };
  std::vector<uint8_t> mode(256, 0);
  if (!run({0x5A, 0x08, 0x05, 0, 0, 0, 0, 0x01, 0x00}, DataDirection::In, mode.data(), 256)) return false;
  const uint32_t total = Get16(&mode[0]) + 2u;
  mode[8 + 3] = leaveOpen ? 0xC4 : 0x04;
  if (!run({0x55, 0x10, 0, 0, 0, 0, 0, static_cast<uint8_t>(total >> 8), static_cast<uint8_t>(total)},
           DataDirection::Out, mode.data(), total)) {
    return false;
  }
  std::vector<uint8_t> track(36, 0);
  if (!run({0x52, 0x01, 0, 0, 0, 0xFF, 0, 0, 36}, DataDirection::In, track.data(), 36)) return false;
  const uint32_t next = Get32(&track[12]);
  std::ifstream image(imagePath, std::ios::binary);
  if (!image) {
    *message = "cannot read " + imagePath;
    return false;
  }
  std::vector<uint8_t> sector(kSectorSize);
  uint32_t blocks = 0;
  while (image.read(reinterpret_cast<char*>(sector.data()), kSectorSize) || image.gcount() > 0) {
    std::fill(sector.begin() + image.gcount(), sector.end(), 0);
    const uint32_t lba = next + blocks;
    if (!run({0x2A, 0, uint8_t(lba >> 24), uint8_t(lba >> 16), uint8_t(lba >> 8), uint8_t(lba), 0, 0, 1},
             DataDirection::Out, sector.data(), kSectorSize)) {
      return false;
    }
    ++blocks;
  }
  if (!run({0x35}, DataDirection::None, nullptr, 0) || !run({0x5B, 0, 0x02}, DataDirection::None, nullptr, 0)) {
    return false;
  }
  std::snprintf(text, sizeof text, "recorded %u blocks at %u", blocks, next);
  *message = text;
  return true;
}

}  // namespace tarvo::vrec
