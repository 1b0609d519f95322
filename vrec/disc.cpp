#include "vrec/disc.h"

#include <algorithm>

#include "vrec/msf.h"

namespace tarvo::vrec {

const char* MediaKindName(MediaKind kind) {
  switch (kind) {
    case MediaKind::CdR80: return "cdr80";
    case MediaKind::CdR74: return "cdr74";
    case MediaKind::CdRw: return "cdrw";
    case MediaKind::CdRom: return "cdrom";
  }
  return "cdr80";
}

std::optional<MediaKind> ParseMediaKind(const std::string& name) {
  for (MediaKind kind : {MediaKind::CdR80, MediaKind::CdR74, MediaKind::CdRw, MediaKind::CdRom}) {
    if (name == MediaKindName(kind)) return kind;
  }
  return std::nullopt;
}

Disc Disc::Blank(MediaKind kind) {
  Disc disc;
  disc.kind = kind;
  // ATIP lead-in start of a typical blank disc: 97:26:66.
  disc.atipLeadIn = MsfToLba(97, 26, 66);
  disc.lastPossibleLeadOut = kind == MediaKind::CdR74 ? MsfToLba(74, 59, 74) : MsfToLba(79, 59, 74);
  return disc;
}

Disc Disc::Pressed(int32_t blocks) {
  Disc disc;
  disc.kind = MediaKind::CdRom;
  disc.atipLeadIn = MsfToLba(97, 26, 66);
  Track track;
  track.number = 1;
  track.session = 1;
  track.recorded = std::max(blocks, kMinimumTrackBlocks);
  track.size = track.recorded;
  track.closed = true;
  disc.tracks.push_back(track);
  disc.closedSessions = 1;
  disc.finalised = true;
  disc.lastPossibleLeadOut = track.size;
  return disc;
}

DiscStatus Disc::Status() const {
  if (finalised) return DiscStatus::Complete;
  return tracks.empty() ? DiscStatus::Empty : DiscStatus::Incomplete;
}

SessionState Disc::LastSessionState() const {
  if (finalised) return SessionState::Complete;
  return FirstTrackOfSession(OpenSession()) != 0 ? SessionState::Incomplete : SessionState::Empty;
}

int Disc::SessionCount() const { return finalised ? closedSessions : closedSessions + 1; }

const Track* Disc::OpenTrack() const {
  if (tracks.empty() || tracks.back().closed) return nullptr;
  return &tracks.back();
}

int32_t Disc::LastClosedSessionEnd() const {
  int32_t end = 0;
  for (const Track& track : tracks) {
    if (track.session <= closedSessions) end = track.start + track.size;
  }
  return end;
}

int32_t Disc::SessionStart(int session) const {
  for (const Track& track : tracks) {
    if (track.session == session) return track.start;
  }
  return -1;
}

int Disc::FirstTrackOfSession(int session) const {
  for (const Track& track : tracks) {
    if (track.session == session) return track.number;
  }
  return 0;
}

int Disc::LastTrackOfSession(int session) const {
  int last = 0;
  for (const Track& track : tracks) {
    if (track.session == session) last = track.number;
  }
  return last;
}

int32_t Disc::NextWritableAddress() const {
  if (!Writable()) return -1;
  int32_t next;
  if (const Track* open = OpenTrack()) {
    next = open->start + open->recorded;
  } else if (!tracks.empty() && tracks.back().session == OpenSession()) {
    next = tracks.back().start + tracks.back().size + kPreGapBlocks;
  } else if (closedSessions == 0) {
    next = 0;
  } else {
    // Lead-out of the closed session, lead-in and pre-gap of the next one.
    int32_t leadOut = closedSessions == 1 ? kFirstLeadOutBlocks : kLaterLeadOutBlocks;
    next = LastClosedSessionEnd() + leadOut + kLeadInBlocks + kPreGapBlocks;
  }
  return next + kRunOutBlocks < lastPossibleLeadOut ? next : -1;
}

int32_t Disc::OpenSessionLeadIn() const {
  if (closedSessions == 0) return atipLeadIn;
  int32_t leadOut = closedSessions == 1 ? kFirstLeadOutBlocks : kLaterLeadOutBlocks;
  return LastClosedSessionEnd() + leadOut;
}

std::optional<TrackView> Disc::InvisibleTrack() const {
  int32_t next = NextWritableAddress();
  if (next < 0) return std::nullopt;
  TrackView view;
  view.invisible = true;
  if (const Track* open = OpenTrack()) {
    view.track = *open;
  } else {
    view.track.number = static_cast<int>(tracks.size()) + 1;
    view.track.session = OpenSession();
    view.track.start = next;
    view.blank = true;
  }
  view.nextWritable = next;
  view.freeBlocks = lastPossibleLeadOut - next;
  view.reportedSize = lastPossibleLeadOut - view.track.start;
  return view;
}

std::optional<TrackView> Disc::TrackByNumber(int number) const {
  for (const Track& track : tracks) {
    if (track.number == number && track.closed) {
      TrackView view;
      view.track = track;
      view.reportedSize = track.size;
      return view;
    }
  }
  std::optional<TrackView> invisible = InvisibleTrack();
  if (invisible && (invisible->track.number == number || number == 0xFF)) return invisible;
  return std::nullopt;
}

std::optional<TrackView> Disc::TrackContaining(int32_t lba) const {
  for (const Track& track : tracks) {
    if (track.closed && lba >= track.start && lba < track.start + track.size) return TrackByNumber(track.number);
  }
  std::optional<TrackView> invisible = InvisibleTrack();
  if (invisible && lba >= invisible->track.start && lba < lastPossibleLeadOut) return invisible;
  return std::nullopt;
}

Disc::Readability Disc::Classify(int32_t lba) const {
  if (lba < 0) return Readability::BeyondRecorded;
  int32_t usedEnd = 0;
  for (const Track& track : tracks) {
    if (lba >= track.start && lba < track.start + track.recorded) return Readability::Readable;
    usedEnd = std::max(usedEnd, track.start + std::max(track.size, track.recorded));
  }
  // Lead-out, lead-in and pre-gap areas between sessions, and run-out blocks,
  // are recorded but carry no user data: the drive fails to read them.
  if (closedSessions > 0 && !finalised) {
    int32_t next = NextWritableAddress();
    if (next > usedEnd) usedEnd = next;
  }
  return lba < usedEnd ? Readability::Unrecorded : Readability::BeyondRecorded;
}

void Disc::Record(int32_t lba, int32_t count, uint8_t trackMode) {
  if (OpenTrack() == nullptr) {
    Track track;
    track.number = static_cast<int>(tracks.size()) + 1;
    track.session = OpenSession();
    track.start = lba;
    track.trackMode = trackMode;
    tracks.push_back(track);
  }
  tracks.back().recorded += count;
}

int32_t Disc::CloseTrack() {
  if (OpenTrack() == nullptr) return -1;
  Track& track = tracks.back();
  int32_t pad = std::max(0, kMinimumTrackBlocks - kRunOutBlocks - track.recorded);
  track.recorded += pad;
  track.size = track.recorded + kRunOutBlocks;
  track.closed = true;
  return pad;
}

void Disc::CloseSession(bool appendable) {
  CloseTrack();
  ++closedSessions;
  finalised = !appendable;
  if (appendable && NextWritableAddress() < 0) finalised = true;
}

void Disc::BlankFully() {
  tracks.clear();
  closedSessions = 0;
  finalised = false;
}

bool Disc::UncloseLastSession() {
  if (closedSessions == 0 || FirstTrackOfSession(OpenSession()) != 0) return false;
  --closedSessions;
  finalised = false;
  return true;
}

bool Disc::BlankLastSession(int32_t* from, int32_t* to) {
  int session = FirstTrackOfSession(OpenSession()) != 0 ? OpenSession() : closedSessions;
  if (session == 0) return false;
  *from = SessionStart(session);
  *to = *from;
  for (const Track& track : tracks) {
    if (track.session == session) *to = track.start + std::max(track.size, track.recorded);
  }
  std::erase_if(tracks, [session](const Track& track) { return track.session == session; });
  if (session <= closedSessions) closedSessions = session - 1;
  finalised = false;
  return true;
}

}  // namespace tarvo::vrec
