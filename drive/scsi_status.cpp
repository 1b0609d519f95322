#include "drive/scsi_status.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "drive/command_set.h"
#include "drive/text_format.h"

namespace tarvo {

const char* ScsiStatusText(uint8_t status) {
  switch (status) {
    case 0x00: return "Status Good";
    case 0x02: return "Check Condition";
    case 0x04: return "Condition Met";
    case 0x08: return "Busy";
    case 0x10: return "Intermediate";
    case 0x14: return "Intermediate-condition met";
    case 0x18: return "Reservation conflict";
    case 0x22: return "Command Terminated";
    case 0x28: return "Queue full";
    case 0x80: return "Invalid ASPI command           ";
    case 0x81: return "Invalid host adapter number    ";
    case 0x82: return "SCSI device not installed      ";
    case 0xE0: return "Invalid parameter set in SRB   ";
    case 0xE1: return "ASPI manager doesn't support windows ";
    case 0xE2: return "Unsupported Windows mode       ";
    case 0xE3: return "No ASPI managers               ";
    case 0xE4: return "ASPI for windows failed init   ";
    case 0xE5: return "No resources available to execute command  ";
    case 0xE6: return "Buffer size too big to handle  ";
    case 0xE7: return "The DLLs/EXEs of ASPI don't version check ";
    case 0xE8: return "No host adapters to manager    ";
    case 0xE9: return "Couldn't allocate resources needed to init ";
    case 0xEA: return "Call came to ASPI after PROCESS_DETACH  ";
    case 0xEB: return "The DLL or other components are installed wrong";
    default: return "Uknown error";
  }
}

void ShowScsiStatus(DriveAccess& access, uint8_t status) { access.ShowError(ScsiStatusText(status)); }

std::string FormatSenseDump(uint8_t status, const uint8_t* cdb, const uint8_t* reply,
                            size_t replyLength) {
  if (status != kStatusGood) return "ERROR";
  std::string text;
  for (size_t i = 0; i < kCdbLength; ++i) text += Format("0x%02X, ", cdb[i]);
  text += "\n\n";
  for (size_t i = 0; i < replyLength; ++i) {
    text += Format("0x%02X, ", reply[i]);
    if (i % 10 == 9) text += "\n";
  }
  return text;
}

uint8_t RequestSense(DriveAccess& access, int drive) {
  // Allocation length 0 (SPC-2 7.20): the drive returns no sense bytes, so
  // the dump shows the command and a cleared buffer.
  Cdb cdb{};
  cdb[0] = 0x03;
  std::vector<uint8_t> reply(kSenseReplySize, 0);
  const uint8_t status = access.ExecuteScsiCommand(drive, cdb.data(), DataDirection::In,
                                                   reply.data(), kSenseReplySize,
                                                   WaitPolicy::Bounded);
  const std::string dump = FormatSenseDump(status, cdb.data(), reply.data(), reply.size());
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(access.senseDumpPath.c_str(), "w"));
  if (file) std::fwrite(dump.data(), 1, dump.size(), file.get());
  return status;
}

}  // namespace tarvo
