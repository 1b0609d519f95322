// The recorded state of one disc: its kind, its tracks and sessions, and the
// rules of track-at-once recording on CD (MMC-3 4.2, "Track at Once"):
// strictly sequential writes at the next writable address, tracks of at least
// 300 blocks ending in two run-out blocks, sessions closed either open for a
// next session or finalised. Pure data and arithmetic; no files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarvo::vrec {

enum class MediaKind : uint8_t { CdR80, CdR74, CdRw, CdRom };

// "cdr80", "cdr74", "cdrw", "cdrom".
const char* MediaKindName(MediaKind kind);
std::optional<MediaKind> ParseMediaKind(const std::string& name);

inline constexpr int32_t kMinimumTrackBlocks = 300;   // four seconds
inline constexpr int32_t kRunOutBlocks = 2;           // TAO data track run-out
inline constexpr int32_t kPreGapBlocks = 150;         // two seconds
inline constexpr int32_t kLeadInBlocks = 4500;        // one minute
inline constexpr int32_t kFirstLeadOutBlocks = 6750;  // 90 s after the first session
inline constexpr int32_t kLaterLeadOutBlocks = 2250;  // 30 s after later sessions

struct Track {
  int number = 0;
  int session = 0;
  int32_t start = 0;
  int32_t recorded = 0;  // user data blocks written, padding included
  int32_t size = 0;      // closed tracks: recorded + run-out
  bool closed = false;
  uint8_t trackMode = 4;  // bits 3-0 MMC track mode (4 data, +2 copy permitted), bit 4 Copy
};

// What READ TRACK INFORMATION reports for one track, the invisible one included.
struct TrackView {
  Track track;
  bool invisible = false;  // the incomplete track that ends at the last possible lead-out
  bool blank = false;
  int32_t nextWritable = 0;  // valid only for the invisible track
  int32_t freeBlocks = 0;
  int32_t reportedSize = 0;
};

enum class DiscStatus : uint8_t { Empty = 0, Incomplete = 1, Complete = 2 };
enum class SessionState : uint8_t { Empty = 0, Incomplete = 1, Complete = 3 };

class Disc {
 public:
  static Disc Blank(MediaKind kind);
  // A pressed disc holding one finalised data track of `blocks` blocks.
  static Disc Pressed(int32_t blocks);

  MediaKind kind = MediaKind::CdR80;
  int32_t atipLeadIn = 0;        // start of the first lead-in (negative LBA)
  int32_t lastPossibleLeadOut = 0;
  std::vector<Track> tracks;
  int closedSessions = 0;
  bool finalised = false;

  bool Writable() const { return kind != MediaKind::CdRom && !finalised; }
  bool Erasable() const { return kind == MediaKind::CdRw; }
  DiscStatus Status() const;
  SessionState LastSessionState() const;
  // Sessions including the empty or incomplete one being written.
  int SessionCount() const;
  // Number of the session being written (closedSessions + 1).
  int OpenSession() const { return closedSessions + 1; }
  const Track* OpenTrack() const;
  // The next writable address, or -1 when the disc takes no more data.
  int32_t NextWritableAddress() const;
  // The invisible track (blank or being written); empty on a finalised disc.
  std::optional<TrackView> InvisibleTrack() const;
  std::optional<TrackView> TrackByNumber(int number) const;
  std::optional<TrackView> TrackContaining(int32_t lba) const;
  int FirstTrackOfSession(int session) const;
  int LastTrackOfSession(int session) const;
  // First address after the lead-out start of the last closed session, i.e.
  // where that session's lead-out begins; 0 when no session is closed.
  int32_t LastClosedSessionEnd() const;
  // Start of the lead-in of the session being written.
  int32_t OpenSessionLeadIn() const;
  // Start address of the first track of `session`, or -1.
  int32_t SessionStart(int session) const;

  enum class Readability { Readable, Unrecorded, BeyondRecorded };
  Readability Classify(int32_t lba) const;

  // Records `count` blocks at `lba` (which must be the next writable address).
  void Record(int32_t lba, int32_t count, uint8_t trackMode);
  // Closes the open track: pads it to the minimum length, adds the run-out.
  // Returns the blocks of padding to be written from recorded onwards.
  int32_t CloseTrack();
  // Closes the open session; `appendable` leaves room for a next session.
  void CloseSession(bool appendable);
  void BlankFully();
  // BLANK type 05h: the last closed session becomes the incomplete session again.
  bool UncloseLastSession();
  // BLANK type 06h: removes the incomplete session's tracks, else the last
  // closed session. Returns the address range [from, to) that was freed.
  bool BlankLastSession(int32_t* from, int32_t* to);
};

}  // namespace tarvo::vrec
