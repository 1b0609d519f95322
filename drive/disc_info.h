// The disc and track records and their decoders: pure functions over the
// replies of READ DISC INFORMATION (MMC-3 5.9) and READ TRACK INFORMATION
// (MMC-3 5.11), and the two report texts of the information page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tarvo {

struct DiscInfo {
  uint8_t DiscStatus = 0;          // byte 2 bits 1-0
  uint8_t StateOfLastSession = 0;  // byte 2 bits 3-2
  bool isEraseable = false;        // byte 2 bit 4
  uint8_t nTrack = 0;              // byte 3: first track number on the disc
  uint8_t nSessions = 0;           // byte 4
  uint8_t nFirstTrack = 0;         // byte 5: first track in the last session
  uint8_t nLastTrack = 0;          // byte 6: last track in the last session
  bool isValidDiskId = false;      // byte 7 bit 7
  bool isValidDiskBarCode = false; // byte 7 bit 6
  bool isUnrestrictedUse = false;  // byte 7 bit 5
  uint8_t DiskType = 0;            // byte 8
  uint32_t cdDiskIdentification = 0;  // bytes 12-15
  uint32_t LastSession_LeadIn = 0;    // bytes 17-19 as M << 16 | S << 8 | F
  uint32_t LastPossibleLeadOut = 0;   // bytes 21-23, packed the same way
  uint8_t DiscBarCode[8] = {};        // bytes 24-31
  uint8_t nOPC = 0;                   // byte 33
  uint16_t opcSpeedX = 0;             // first OPC entry's speed in X
};

// Everything one READ DISC INFORMATION reply yields: the record, the two
// addresses stored per drive, and the further values the report prints.
struct DiscInfoReply {
  DiscInfo info;
  int32_t leadInLba = 0;
  int32_t leadOutLba = 0;
  uint8_t byte16 = 0;  // reserved byte before the lead-in time
  uint8_t byte20 = 0;  // reserved byte before the lead-out time
  uint16_t opcSpeedsX[3] = {};
};

struct TrackInfo {
  uint16_t DataLenght = 0;
  uint8_t TrackNumber = 0;
  uint8_t SessionNumber = 0;
  uint8_t TrackMode = 0;
  bool isCopy = false;
  bool isDamage = false;
  uint8_t DataMode = 0;
  bool isTrackReservedRt = false;
  bool isBlank = false;
  bool isOnlyPacketWrite = false;
  bool isPackedFixedFp = false;
  bool isValidNextWriteAddress = false;
  uint32_t TrackStart = 0;
  uint32_t NextWriteableAddress = 0;
  uint32_t FreeBlocks = 0;
  uint32_t FixedPacketSize = 0;
  uint32_t TrackSize = 0;
};

struct DiscState {
  int discReady = 0;
  int trackInfoRead = 0;
  int writable = 0;
  uint8_t lastTrackNumber = 0;
};

// Red Book MSF to logical block address. Times from minute 90 on (and any
// negative field) lie before LBA 0, in the lead-in area (MMC-3 table 376).
int32_t MsfToLba(int8_t minute, int8_t second, int8_t frame);

DiscInfoReply DecodeDiscInfo(const uint8_t* reply, size_t length);
TrackInfo DecodeTrackInfo(const uint8_t* reply, size_t length);

// The reports put into the information box.
std::string FormatDiscReport(const DiscInfoReply& reply);
std::string FormatTrackReport(const TrackInfo& track);

// READ TOC format 0 (MMC-3 5.20): the start of descriptor L - 1, L being the
// last track number, plus 16; 0 when the table does not hold it.
uint32_t LastTrackPvdFromToc(const uint8_t* reply, size_t length);

}  // namespace tarvo
