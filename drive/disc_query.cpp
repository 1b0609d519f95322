#include "drive/disc_query.h"

#include <vector>

#include "drive/capabilities.h"
#include "drive/command_set.h"
#include "drive/disc_info.h"

namespace tarvo {

uint8_t ReadDiscInformation(DriveAccess& access, bool show, int drive) {
  Cdb cdb{};
  cdb[0] = 0x51;
  cdb[8] = 0x96;  // allocation length 150
  // Cleared first, so OPC entries the drive does not return read as 0.
  std::vector<uint8_t> reply(kDiscInfoReplySize, 0);
  const uint8_t status = access.ExecuteScsiCommand(drive, cdb.data(), DataDirection::In,
                                                   reply.data(), kDiscInfoReplySize,
                                                   WaitPolicy::Bounded);
  if (status != kStatusGood) return status;
  const DiscInfoReply decoded = DecodeDiscInfo(reply.data(), reply.size());
  access.discInfo = decoded.info;
  CdDrive& entry = access.drives[static_cast<size_t>(drive)];
  entry.leadInLba = decoded.leadInLba;
  entry.leadOutLba = decoded.leadOutLba;
  if (show) access.ui.SetInfoText(FormatDiscReport(decoded));
  return status;
}

uint8_t ReadTrackInformation(DriveAccess& access, bool trackNumberForm, uint32_t trackOrLba,
                             bool show, int drive) {
  Cdb cdb{};
  cdb[0] = 0x52;
  cdb[1] = trackNumberForm ? 0x01 : 0x00;  // MMC-3 5.11: address type
  cdb[2] = static_cast<uint8_t>(trackOrLba >> 24);
  cdb[3] = static_cast<uint8_t>(trackOrLba >> 16);
  cdb[4] = static_cast<uint8_t>(trackOrLba >> 8);
  cdb[5] = static_cast<uint8_t>(trackOrLba);
  cdb[8] = 0x64;  // allocation length 100
  std::vector<uint8_t> reply(kTrackInfoReplySize, 0);
  const uint8_t status = access.ExecuteScsiCommand(drive, cdb.data(), DataDirection::In,
                                                   reply.data(), kTrackInfoReplySize,
                                                   WaitPolicy::Bounded);
  if (status != kStatusGood) return status;
  access.trackInfo = DecodeTrackInfo(reply.data(), reply.size());
  if (show) access.ui.SetInfoText(FormatTrackReport(access.trackInfo));
  return status;
}

int QueryDriveInfo(DriveAccess& access, uint8_t kind, bool show, int drive) {
  RezeroUnit(access, drive);
  if (kind == kQueryDiscInfo) {
    const bool good = ReadDiscInformation(access, show, drive) == kStatusGood;
    access.discState.discReady = good ? 1 : 0;
    if (!good && show) access.ui.SetInfoText("Can't read Disc Information");
  } else if (kind == kQueryTrackInfo) {
    const uint8_t lastTrack = access.discInfo.nLastTrack;
    uint32_t track = access.ui.GetTrackNumber();
    if (track == 0 || track > lastTrack) track = lastTrack;
    access.ui.SetTrackNumber(track);
    if (ReadTrackInformation(access, true, track, show, drive) != kStatusGood) {
      if (show) access.ui.SetInfoText("Can't read Track Information");
    } else if (access.trackInfo.TrackStart < 16) {
      access.ui.ResetViewSector(drive);
    }
  } else if (kind == kQueryCapabilities) {
    return QueryCapabilities(access, show, drive);
  }
  return 1;
}

int CheckDisc(DriveAccess& access, int drive) {
  DiscState& state = access.discState;
  QueryDriveInfo(access, kQueryDiscInfo, false, drive);
  if (state.discReady == 1) {
    if (state.trackInfoRead == 0) {
      state.trackInfoRead = 1;
      const uint8_t status =
          ReadTrackInformation(access, true, access.discInfo.nLastTrack, false, drive);
      state.writable = status == kStatusGood && access.trackInfo.isValidNextWriteAddress ? 1 : 0;
      access.ui.NotifyDiscArrived();
    }
    state.lastTrackNumber = access.discInfo.nLastTrack;
  } else {
    state.trackInfoRead = 0;
    state.writable = 0;
    state.lastTrackNumber = 0;
  }
  return state.discReady;
}

int ResetDisc(DriveAccess& access, int drive) {
  access.ui.SetBusy(true);
  StartStopUnit(access, drive, kStopDisc);
  PreventAllowMediumRemoval(access, drive, false);
  RezeroUnit(access, drive);
  StartStopUnit(access, drive, kLoadDisc);
  access.ui.SetBusy(false);
  access.discState.trackInfoRead = 0;
  access.discState.writable = 0;
  return 1;
}

DiscSpace GetDiscSpace(DriveAccess& access, int drive) {
  QueryDriveInfo(access, kQueryDiscInfo, false, drive);
  // Free space is a property of the disc's last track (the one still open
  // for writing), whatever track number the dialog's field shows: that field
  // keeps the number of an earlier reading, and after a session is added to
  // the disc it names a closed track, whose next writable address and free
  // blocks are 0 (the gauge would then read an empty disc of no capacity).
  // As a track-information query does, the field then shows the track read
  // and a track starting below 16 brings the sector viewer back to 16.
  const uint8_t lastTrack = access.discInfo.nLastTrack;
  access.ui.SetTrackNumber(lastTrack);
  RezeroUnit(access, drive);
  if (ReadTrackInformation(access, true, lastTrack, false, drive) == kStatusGood &&
      access.trackInfo.TrackStart < 16) {
    access.ui.ResetViewSector(drive);
  }
  const TrackInfo& track = access.trackInfo;
  DiscSpace space;
  space.used = track.NextWriteableAddress * kBlockSize;
  space.total = (track.NextWriteableAddress + track.FreeBlocks) * kBlockSize;
  space.free = track.FreeBlocks * kBlockSize;
  return space;
}

void FindLastTrackPvd(DriveAccess& access, int drive) {
  access.lastTrackPvdLba = 0;
  ReadToc(access, drive);
}

}  // namespace tarvo
