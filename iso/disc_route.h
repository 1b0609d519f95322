// The disc route of the recorder: a new track-at-once session on the disc in
// the recorder, from the drive's next writable address, one WRITE(10) per
// sector, carrying over the files of the disc's last session.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "drive/drive_access.h"
#include "iso/recorder.h"

namespace tarvo {

struct DiscRecordingOptions {
  uint32_t writeSpeedKBps = 0;
  bool multiSession = false;  // leave the disc open for a next session
  int copyFlag = 0;           // set the Copy bit of the track
};

// Every sector through WriteSector, strictly one block per command.
class DiscSectorSink : public SectorSink {
 public:
  DiscSectorSink(DriveAccess& access, int drive) : access_(access), drive_(drive) {}
  int WriteSectors(uint32_t address, const uint8_t* data, uint32_t count) override;

 private:
  DriveAccess& access_;
  int drive_;
};

// The size in MB that closing a session after a failure takes, as the
// question names it: the whole volume plus the session's overhead.
unsigned long EndSessionEstimateMb(uint64_t volumeSpaceSize);

class DiscRoute : public RecordRoute {
 public:
  // `access.lastTrackPvdLba` must have been read (FindLastTrackPvd) before.
  DiscRoute(DriveAccess& access, int drive, DiscRecordingOptions options);

  bool IsDisc() const override { return true; }
  int Start(UserSeam& user, const std::string& title) override;
  const PreviousSession* PreviousSessionExtents() const override;
  int64_t PrepareForWrite(UserSeam& user, const std::string& title) override;
  SectorSink& Sink() override { return sink_; }
  void OnWriteFailure(UserSeam& user, const std::string& title, uint64_t volumeSpaceSize) override;
  int Finish(UserSeam& user, const std::string& title) override;
  void Abandon() override;
  std::string SuccessText() const override;

 private:
  DriveAccess& access_;
  int drive_;
  DiscRecordingOptions options_;
  DiscSectorSink sink_;
  PreviousSession previous_;
  bool locked_ = false;  // prepared and not yet closed or released
};

}  // namespace tarvo
