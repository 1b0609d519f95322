// The drive subsystem's process-wide state: the drive table filled by
// discovery, the disc and track records of the drive queried last, and the
// transport and user interface every drive operation goes through. One
// DriveAccess lives for the whole run; every operation takes it and a drive
// index into its table.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "drive/disc_info.h"
#include "drive/drive_ui.h"
#include "drive/scsi_transport.h"

namespace tarvo {

inline constexpr int kMaxDrives = 5;

// Statuses the transport layer reports for commands that never reached a
// drive, chosen from the ASPI codes so that ShowScsiStatus names them.
inline constexpr uint8_t kStatusNoSuchDrive = 0x82;     // SS_NO_DEVICE
inline constexpr uint8_t kStatusRequestRefused = 0xE0;  // SS_INVALID_SRB
// A command that did not complete in its bounded wait (and was aborted), or
// one the host adapter ended without a target status.
inline constexpr uint8_t kStatusCommandTerminated = 0x22;  // COMMAND TERMINATED

struct CdDrive {
  uint8_t adapterId = 0;
  uint8_t targetId = 0;
  uint8_t lun = 0;
  std::string identity;  // INQUIRY bytes 8-39 as returned, at most 32 characters
  bool canWriteCdR = false;
  bool canWriteCdRw = false;
  uint16_t maxWriteSpeedKBps = 0;
  int32_t leadInLba = 0;
  int32_t leadOutLba = 0;
};

struct DriveAccess {
  explicit DriveAccess(UserInterface& userInterface) : ui(userInterface) {}

  // Runs one 10-byte command block on drive `drive` of the table. Indices at
  // or above driveCount, or a missing transport, give kStatusNoSuchDrive
  // without sending anything.
  uint8_t ExecuteScsiCommand(int drive, const uint8_t* cdb, DataDirection direction,
                             uint8_t* buffer, uint32_t length, WaitPolicy wait,
                             const std::function<void()>& betweenSlices = {});

  // Shows a message box captioned with the application title, stop icon.
  void ShowError(const std::string& text);

  UserInterface& ui;
  ScsiTransport* transport = nullptr;  // set once the manager is open
  std::unique_ptr<ScsiTransport> ownedTransport;  // the ASPI manager, when opened here
  std::string title = kProgramTitle;
  // Where RequestSense writes its dump: the root of drive C: on Windows.
  std::string senseDumpPath = DefaultSenseDumpPath();

  std::array<CdDrive, kMaxDrives> drives{};
  int driveCount = 0;

  DiscInfo discInfo;
  TrackInfo trackInfo;
  DiscState discState;
  uint32_t lastTrackPvdLba = 0;

  static std::string DefaultSenseDumpPath();
};

}  // namespace tarvo
