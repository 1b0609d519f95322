// The command trace: one line per command, appended to a log file.
//
//   vrec 0:1:0 #17 READ(10) cdb=28000000001000000100 dir=in len=2048 xfer=2048 status=00 sense=0/00/00
//
// Fields: "vrec", the device address (adapter:target:lun), the command's
// sequence number on that device, the command name, the command block as
// contiguous upper-case hex (as many bytes as the initiator sent), the
// declared direction (in, out, none), the buffer length, the bytes moved,
// the status byte in hex and sense key/ASC/ASCQ in hex (0/00/00 when good).
#pragma once

#include <cstdint>
#include <fstream>
#include <mutex>
#include <string>

#include "drive/scsi_transport.h"
#include "vrec/sense.h"

namespace tarvo::vrec {

const char* CommandName(uint8_t opcode);

std::string FormatTraceLine(const DeviceAddress& device, uint64_t sequence, const uint8_t* cdb,
                            size_t cdbLength, DataDirection direction, uint32_t length,
                            uint32_t transferred, uint8_t status, const Sense& sense);

class TraceLog {
 public:
  explicit TraceLog(std::string path) : path_(std::move(path)) {}
  void Append(const std::string& line);
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::mutex mutex_;
  std::ofstream out_;
};

}  // namespace tarvo::vrec
