#include "vrec/trace.h"

#include <cstdio>
#include <fstream>

namespace tarvo::vrec {

const char* CommandName(uint8_t opcode) {
  switch (opcode) {
    case 0x00: return "TEST-UNIT-READY";
    case 0x01: return "REZERO-UNIT";
    case 0x03: return "REQUEST-SENSE";
    case 0x12: return "INQUIRY";
    case 0x1B: return "START-STOP-UNIT";
    case 0x1E: return "PREVENT-ALLOW";
    case 0x28: return "READ(10)";
    case 0x2A: return "WRITE(10)";
    case 0x35: return "SYNCHRONIZE-CACHE";
    case 0x43: return "READ-TOC";
    case 0x51: return "READ-DISC-INFORMATION";
    case 0x52: return "READ-TRACK-INFORMATION";
    case 0x55: return "MODE-SELECT(10)";
    case 0x5A: return "MODE-SENSE(10)";
    case 0x5B: return "CLOSE-TRACK-SESSION";
    case 0x5C: return "READ-BUFFER-CAPACITY";
    case 0xA1: return "BLANK";
    case 0xBB: return "SET-CD-SPEED";
    default: return "UNKNOWN";
  }
}

std::string FormatTraceLine(const DeviceAddress& device, uint64_t sequence, const uint8_t* cdb,
                            size_t cdbLength, DataDirection direction, uint32_t length,
                            uint32_t transferred, uint8_t status, const Sense& sense) {
  std::string hex;
  char part[8];
  for (size_t i = 0; i < cdbLength; ++i) {
    std::snprintf(part, sizeof part, "%02X", cdb[i]);
    hex += part;
  }
  const char* dir = direction == DataDirection::In ? "in" : direction == DataDirection::Out ? "out" : "none";
  char line[256];
  std::snprintf(line, sizeof line,
                "vrec %u:%u:%u #%llu %s cdb=%s dir=%s len=%lu xfer=%lu status=%02X sense=%X/%02X/%02X",
                device.adapterId, device.targetId, device.lun, static_cast<unsigned long long>(sequence),
                CommandName(cdbLength > 0 ? cdb[0] : 0), hex.c_str(), dir, static_cast<unsigned long>(length),
                static_cast<unsigned long>(transferred), status, sense.key, sense.asc, sense.ascq);
  return line;
}

void TraceLog::Append(const std::string& line) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!out_.is_open()) out_.open(path_, std::ios::binary | std::ios::app);
  // Flushed per line: a test reads the log while the drive is still in use.
  out_ << line << "\n";
  out_.flush();
}

}  // namespace tarvo::vrec
