// RecordCompilation: writes the compilation of a list file as an ISO-9660
// volume with a Joliet tree, in one pass, through a route (an image file now;
// a disc through write preparation later) and the seams of recorder_seams.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "iso/iso_layout.h"
#include "iso/iso_structures.h"
#include "iso/record_date.h"
#include "iso/recorder_seams.h"
#include "iso/session_import.h"

namespace tarvo {

struct RecordRequest {
  std::string label;          // volume label; converted in place
  std::string listPath;       // the list to record (currentListPath)
  std::string scratchPath;    // isoFileList.dat in the program folder
  bool includeFileData = true;
  VolumeTexts texts;
  std::string title = kProgramTitle;  // caption of the run's message boxes
};

struct RecorderEnvironment {
  UserSeam& user;
  ProgressMeter& progress;
  RecordDate (*clock)() = CurrentUtcTime;
};

// What differs between recording onto a disc and writing an image file.
class RecordRoute {
 public:
  virtual ~RecordRoute() = default;
  // Disc: one progress step per sector and the file data always written.
  virtual bool IsDisc() const = 0;
  // Before the list is read: image-file checks and creation, or the import of
  // a disc's previous session. 0 ends the run (the route has told the user).
  virtual int Start(UserSeam& user, const std::string& title) = 0;
  // The previous session's plain files while the import is in use; nullptr
  // otherwise.
  virtual const PreviousSession* PreviousSessionExtents() const { return nullptr; }
  // The start address of the volume, or a negative value (the route has told
  // the user).
  virtual int64_t PrepareForWrite(UserSeam& user, const std::string& title) = 0;
  virtual SectorSink& Sink() = 0;
  // A sink write failed; the run ends with 0 afterwards.
  virtual void OnWriteFailure(UserSeam& user, const std::string& title, uint64_t volumeSpaceSize) = 0;
  // The volume is written: close the image or the session. 0 when the volume
  // could not be completed (the route has told the user).
  virtual int Finish(UserSeam& user, const std::string& title) = 0;
  // The run ends without a volume after Start succeeded.
  virtual void Abandon() = 0;
  virtual std::string SuccessText() const = 0;
};

// Returns 1 when the volume was written, 0 otherwise.
int RecordCompilation(RecordRequest& request, RecorderEnvironment& environment, RecordRoute& route);

}  // namespace tarvo
