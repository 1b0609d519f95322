#include "iso/recording_entry.h"

#include "iso/disc_route.h"

namespace tarvo {

int RecordCompilation(RecordingCall& call, RecordingServices& services) {
  UserSeam& user = services.drives.ui;
  RecordRequest request;
  request.label = call.label;
  request.listPath = services.listPath;
  request.scratchPath = services.programDir + "\\isoFileList.dat";
  request.texts = services.texts;
  request.title = services.drives.title;
  RecorderEnvironment environment{user, services.progress, services.clock};

  int result;
  if (call.imageFileName) {
    request.includeFileData = call.includeFileData == 1;
    ImageRoute route(ResolveImageTarget(services.programDir, *call.imageFileName), services.used,
                     services.freeSpace);
    result = RecordCompilation(request, environment, route);
  } else {
    request.includeFileData = true;
    DiscRoute route(services.drives, call.drive,
                    {call.writeSpeedKBps, call.multiSession == 1, static_cast<int>(call.copyFlag)});
    result = RecordCompilation(request, environment, route);
  }
  call.label = request.label;
  return result;
}

}  // namespace tarvo
