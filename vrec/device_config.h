// Everything that makes one virtual drive what it is: identity, the
// capabilities it reports, where its disc lives, the faults it is told to
// show. Filled from the text configuration (vrec/config.h) or by a test.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "vrec/disc.h"

namespace tarvo::vrec {

struct Identity {
  int deviceType = 5;  // SPC-3 peripheral device type; 5 is a CD/DVD device
  std::string vendor = "VREC";
  std::string product = "CD-RW RECORDER";
  std::string revision = "1.00";
  std::string vendorSpecific = "    ";  // INQUIRY bytes 36-39
};

struct Capabilities {
  bool writeCdR = true;
  bool writeCdRw = true;
  uint16_t maxReadSpeedKBps = 7040;
  uint16_t maxWriteSpeedKBps = 7040;
  uint16_t bufferKB = 2048;
  // MODE SENSE(10) with DBD clear returns an 8-byte block descriptor first.
  bool blockDescriptor = false;
};

// How a mode page is misreported: left out of MODE SENSE (5/24/00), or sent
// with its PS bit set.
enum class PageFault : uint8_t { None, Missing, PsFlagged };

struct Faults {
  int64_t writeFailsAt = -1;  // WRITE(10) covering this LBA fails (medium error)
  bool notReady = false;      // every medium access reports NOT READY
  bool closeFails = false;    // CLOSE TRACK/SESSION
  bool modeSelectFails = false;
  bool setSpeedFails = false;
  bool discInfoFails = false;  // READ DISC INFORMATION (medium error)
  bool blankFails = false;     // BLANK (medium error, erase failure)
  // The disc leaves the drive when a WRITE(10) reaches this LBA: the blocks
  // before it are kept, the rest of the command and everything after it find
  // an empty tray, as when a disc is pulled out with the emergency eject.
  int64_t removedAt = -1;
  PageFault capabilities = PageFault::None;      // page 2Ah
  PageFault writeParameters = PageFault::None;   // page 05h
  // Operation codes that never complete (time-out handling); 0 = none.
  // Holds up to four opcodes.
  uint8_t neverFinish[4] = {0, 0, 0, 0};

  bool NeverFinishes(uint8_t opcode) const {
    for (uint8_t code : neverFinish) {
      if (code != 0 && code == opcode) return true;
    }
    return false;
  }
};

struct DeviceConfig {
  Identity identity;
  Capabilities capabilities;
  Faults faults;
  std::string discPath;        // empty: no disc store, the tray stays empty
  std::optional<MediaKind> createMedia;  // create a blank disc there when none exists
  std::string createImage;     // content of a pressed disc created there
  std::string mirrorFolder;    // empty: no mirror
  // The faults act only while this file exists (empty: always), so a test
  // can make a drive go bad at a moment of its choosing.
  std::string faultsArmedBy;
  double timeScale = 1.0;      // simulated durations are multiplied by this
};

}  // namespace tarvo::vrec
