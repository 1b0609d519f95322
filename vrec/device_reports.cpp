// READ TOC, READ DISC INFORMATION and READ TRACK INFORMATION: what the
// drive tells about the disc's layout. All three derive from the same Disc,
// so they always agree with each other.
#include "vrec/cdb.h"
#include "vrec/device.h"
#include "vrec/msf.h"

namespace tarvo::vrec {

namespace {

void PutAddress(uint8_t* p, int32_t lba, bool msf) {
  if (!msf) {
    Put32(p, static_cast<uint32_t>(lba));
    return;
  }
  Msf time = LbaToMsf(lba);
  p[0] = 0;
  p[1] = time.minute;
  p[2] = time.second;
  p[3] = time.frame;
}

// TOC CONTROL nibble (MMC-3 Table 237): 4 data track recorded
// uninterrupted, 5 data track recorded incrementally; bit 1 digital copy
// permitted. ADR 1: Q sub-channel encodes the current position.
uint8_t AdrControl(const Track& track) { return static_cast<uint8_t>(0x10 | (track.trackMode & 0x0F)); }

}  // namespace

// READ TOC/PMA/ATIP (MMC-3 6.1.18): formats 0 (TOC) and 1 (session info);
// only tracks of closed sessions are in the TOC. A disc without a closed
// session has no TOC.
uint8_t Device::ReadToc(Request& r) {
  if ((r.cdb[1] & 0xFD) != 0 || r.cdb[3] != 0 || r.cdb[4] != 0 || r.cdb[5] != 0) return Fail(kInvalidFieldInCdb);
  bool msf = (r.cdb[1] & 0x02) != 0;
  uint8_t format = r.cdb[2] & 0x0F;
  if ((r.cdb[2] & 0xF0) != 0 || format > 1) return Fail(kInvalidFieldInCdb);
  if (const Sense* problem = MediumProblem()) return Fail(*problem);
  const Disc& disc = store_->disc();
  if (disc.closedSessions == 0) return Fail(kInvalidFieldInCdb);
  int firstTrack = disc.tracks.front().number;
  int lastTrack = disc.LastTrackOfSession(disc.closedSessions);
  std::vector<uint8_t> reply(4, 0);
  auto addDescriptor = [&reply, msf](uint8_t adrControl, uint8_t number, int32_t lba) {
    size_t at = reply.size();
    reply.resize(at + 8, 0);
    reply[at + 1] = adrControl;
    reply[at + 2] = number;
    PutAddress(&reply[at + 4], lba, msf);
  };
  if (format == 0) {
    uint8_t start = r.cdb[6];
    if (start > lastTrack && start != 0xAA) return Fail(kInvalidFieldInCdb);
    reply[2] = static_cast<uint8_t>(firstTrack);
    reply[3] = static_cast<uint8_t>(lastTrack);
    for (const Track& track : disc.tracks) {
      if (track.session <= disc.closedSessions && track.number >= start && start != 0xAA) {
        addDescriptor(AdrControl(track), static_cast<uint8_t>(track.number), track.start);
      }
    }
    const Track& last = disc.tracks[static_cast<size_t>(lastTrack - firstTrack)];
    addDescriptor(AdrControl(last), 0xAA, disc.LastClosedSessionEnd());
  } else {
    if (r.cdb[6] != 0) return Fail(kInvalidFieldInCdb);
    reply[2] = 1;
    reply[3] = static_cast<uint8_t>(disc.closedSessions);
    int first = disc.FirstTrackOfSession(disc.closedSessions);
    const Track& track = disc.tracks[static_cast<size_t>(first - firstTrack)];
    addDescriptor(AdrControl(track), static_cast<uint8_t>(first), track.start);
  }
  Put16(&reply[0], static_cast<uint32_t>(reply.size() - 2));
  return ReplyIn(r, reply, Get16(&r.cdb[7]));
}

// READ DISC INFORMATION (MMC-3 6.1.19), standard disc information only.
uint8_t Device::ReadDiscInformation(Request& r) {
  if (r.cdb[1] != 0 || r.cdb[2] != 0 || r.cdb[3] != 0 || r.cdb[4] != 0 || r.cdb[5] != 0 || r.cdb[6] != 0) {
    return Fail(kInvalidFieldInCdb);
  }
  if (const Sense* problem = MediumProblem()) return Fail(*problem);
  if (faults().discInfoFails) return Fail(kTocUnrecoverable);
  const Disc& disc = store_->disc();
  std::vector<uint8_t> reply(34, 0);  // no OPC table entries
  Put16(&reply[0], static_cast<uint32_t>(reply.size() - 2));
  reply[2] = static_cast<uint8_t>((disc.Erasable() ? 0x10 : 0) |
                                  static_cast<uint8_t>(disc.LastSessionState()) << 2 |
                                  static_cast<uint8_t>(disc.Status()));
  reply[3] = 1;  // first track on the disc
  int session = disc.finalised ? disc.closedSessions : disc.OpenSession();
  int firstInLast = disc.FirstTrackOfSession(session);
  int lastInLast = disc.LastTrackOfSession(session);
  if (!disc.finalised) {
    std::optional<TrackView> invisible = disc.InvisibleTrack();
    int number = invisible ? invisible->track.number : static_cast<int>(disc.tracks.size()) + 1;
    if (firstInLast == 0) firstInLast = number;
    lastInLast = number;
  }
  reply[4] = static_cast<uint8_t>(disc.SessionCount());
  reply[5] = static_cast<uint8_t>(firstInLast);
  reply[6] = static_cast<uint8_t>(lastInLast);
  reply[7] = 0x20;  // URU: unrestricted use
  reply[8] = 0x00;  // disc type: CD-DA or CD-ROM
  reply[9] = static_cast<uint8_t>(disc.SessionCount() >> 8);
  reply[10] = static_cast<uint8_t>(firstInLast >> 8);
  reply[11] = static_cast<uint8_t>(lastInLast >> 8);
  if (disc.Status() == DiscStatus::Complete) {
    // A complete disc has neither a next lead-in nor a lead-out to come.
    reply[17] = reply[18] = reply[19] = 0xFF;
    reply[21] = reply[22] = reply[23] = 0xFF;
  } else {
    PutAddress(&reply[16], disc.OpenSessionLeadIn(), true);
    PutAddress(&reply[20], disc.lastPossibleLeadOut, true);
  }
  return ReplyIn(r, reply, Get16(&r.cdb[7]));
}

// READ TRACK INFORMATION (MMC-3 6.1.20): address type 00b by LBA, 01b by
// track number (FFh names the invisible track), 10b by session number.
uint8_t Device::ReadTrackInformation(Request& r) {
  if ((r.cdb[1] & 0xFC) != 0 || r.cdb[6] != 0) return Fail(kInvalidFieldInCdb);
  uint8_t addressType = r.cdb[1] & 0x03;
  if (addressType == 3) return Fail(kInvalidFieldInCdb);
  if (const Sense* problem = MediumProblem()) return Fail(*problem);
  const Disc& disc = store_->disc();
  uint32_t value = Get32(&r.cdb[2]);
  std::optional<TrackView> view;
  if (addressType == 0) {
    view = disc.TrackContaining(static_cast<int32_t>(value));
  } else if (addressType == 1) {
    if (value != 0 && value <= 0xFF) view = disc.TrackByNumber(static_cast<int>(value));
  } else if (value != 0 && value <= 0xFF) {
    int first = disc.FirstTrackOfSession(static_cast<int>(value));
    if (first != 0) view = disc.TrackByNumber(first);
    else if (static_cast<int>(value) == disc.OpenSession()) view = disc.InvisibleTrack();
  }
  if (!view) return Fail(kInvalidFieldInCdb);
  const Track& track = view->track;
  std::vector<uint8_t> reply(36, 0);
  Put16(&reply[0], static_cast<uint32_t>(reply.size() - 2));
  reply[2] = static_cast<uint8_t>(track.number);
  reply[3] = static_cast<uint8_t>(track.session);
  uint8_t trackMode = view->blank ? (writeParameters_[3] & 0x1F) : track.trackMode;
  reply[5] = static_cast<uint8_t>(trackMode & 0x1F);  // Copy bit 4, track mode
  // Data mode 1, or Fh (unknown) for a track with nothing recorded yet.
  reply[6] = static_cast<uint8_t>((view->blank ? 0x40 : 0x00) | (view->blank ? 0x0F : 0x01));
  if (view->invisible) {
    reply[7] = 0x01;  // NWA_V
    Put32(&reply[12], static_cast<uint32_t>(view->nextWritable));
  }
  if (track.recorded > 0) reply[7] |= 0x02;  // LRA_V
  Put32(&reply[8], static_cast<uint32_t>(track.start));
  Put32(&reply[16], static_cast<uint32_t>(view->freeBlocks));
  Put32(&reply[24], static_cast<uint32_t>(view->reportedSize));
  if (track.recorded > 0) Put32(&reply[28], static_cast<uint32_t>(track.start + track.recorded - 1));
  reply[32] = static_cast<uint8_t>(track.number >> 8);
  reply[33] = static_cast<uint8_t>(track.session >> 8);
  return ReplyIn(r, reply, Get16(&r.cdb[7]));
}

}  // namespace tarvo::vrec
