#include "iso/recorder.h"

#include <algorithm>
#include <vector>

#include "iso/directory_pass.h"
#include "iso/file_access.h"
#include "iso/file_data_pass.h"
#include "iso/iso_numbers.h"
#include "iso/list_file.h"
#include "iso/recorder_texts.h"
#include "iso/scratch_file.h"

namespace tarvo {

namespace {

// Reads, checks and measures the list. 0 ends the run; messages are shown here.
int LoadCompilation(RecordRequest& request, RecorderEnvironment& env, bool usePreviousExtents, ListFile& list,
                    IsoLayout& layout) {
  std::string bytes;
  if (!ReadWholeFile(request.listPath, bytes)) return 0;
  const ListReadResult read = ReadListFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), list);
  if (read.status == ListReadStatus::ShortHeader) return 0;
  if (!list.magicOk) env.user.ShowMessage(texts::kWrongListVersion, request.title, kMbOk | kMbIconStop);
  // A damaged or hostile list is refused before anything is written.
  std::string problem = read.status == ListReadStatus::Damaged ? read.problem : CheckListForRecording(list);
  if (!problem.empty()) {
    env.user.ShowMessage(FormatPrintf(texts::kDamagedList, problem.c_str()), request.title, kMbOk | kMbIconStop);
    return 0;
  }
  // Nothing to record: refused on both routes, before the drive is touched.
  if (std::none_of(list.entries.begin(), list.entries.end(), [](const ListEntry& e) { return !e.IsMarker(); })) {
    env.user.ShowMessage(texts::kSelectFilesFirst, request.title, kMbOk | kMbIconStop);
    return 0;
  }
  AssignIdentifiers(list);
  layout = MeasureCompilation(list, usePreviousExtents);
  PlaceVolume(layout, 0);
  if (!layout.FitsVolume()) {
    env.user.ShowMessage(texts::kVolumeTooLarge, request.title, kMbOk | kMbIconStop);
    return 0;
  }
  return 1;
}

class Run {
 public:
  Run(RecordRequest& request, RecorderEnvironment& env, RecordRoute& route)
      : request_(request), env_(env), route_(route) {}

  int Record();

 private:
  int Fail() {
    route_.Abandon();
    return 0;
  }
  int ScratchFailed(bool metering = true) {
    if (metering) env_.progress.End();
    env_.user.ShowMessage(FormatPrintf(texts::kScratchFileFailed, request_.scratchPath.c_str()), request_.title,
                          kMbOk | kMbIconStop);
    return Fail();
  }
  int WriteFailed() {
    env_.progress.End();
    route_.OnWriteFailure(env_.user, request_.title, layout_.volumeSpaceSize);
    route_.Abandon();
    return 0;
  }
  bool WriteDescriptors(VolumeWriter& writer);

  RecordRequest& request_;
  RecorderEnvironment& env_;
  RecordRoute& route_;
  ListFile list_;
  IsoLayout layout_;
};

bool Run::WriteDescriptors(VolumeWriter& writer) {
  std::vector<uint8_t> sector(kSectorSize * 16, 0);
  if (!writer.Put(sector.data(), 16, WriteUnit::SystemArea)) return false;
  for (int t = 0; t < 2; ++t) {
    const TreeLayout& tree = layout_.trees[t];
    const uint32_t rootSectors = tree.directoryTable.empty() ? 0 : tree.directoryTable[0];
    BuildVolumeDescriptor(sector.data(), static_cast<TreeKind>(t), request_.label,
                          static_cast<uint32_t>(layout_.volumeSpaceSize), tree.lPathTable, tree.mPathTable,
                          rootSectors * kSectorSize, tree.pathTableSize, tree.firstDirectory, request_.texts,
                          env_.clock());
    if (!writer.Put(sector.data(), 1, WriteUnit::Structure)) return false;
  }
  BuildTerminator(sector.data());
  return writer.Put(sector.data(), 1, WriteUnit::Structure);
}

int Run::Record() {
  if (route_.Start(env_.user, request_.title) != 1) return 0;
  ScratchWriter scratch(request_.scratchPath);
  if (!scratch.IsOpen()) return ScratchFailed(false);
  const PreviousSession* previous = route_.PreviousSessionExtents();
  if (LoadCompilation(request_, env_, previous != nullptr, list_, layout_) != 1) return Fail();
  env_.user.SetStatusText(previous != nullptr ? texts::kNotesRestart : texts::kPreparing);

  const int64_t start = route_.PrepareForWrite(env_.user, request_.title);
  if (start < 0) return Fail();
  PlaceVolume(layout_, static_cast<uint32_t>(start));
  if (!layout_.FitsVolume()) {
    env_.user.ShowMessage(texts::kVolumeTooLarge, request_.title, kMbOk | kMbIconStop);
    return Fail();
  }
  const bool disc = route_.IsDisc();
  const bool withData = disc || request_.includeFileData;
  uint64_t steps = disc ? layout_.volumeSpaceSize : 2ull * layout_.directoryCount + 5;
  if (!disc && withData) steps += layout_.dataSectors;
  env_.progress.Begin(static_cast<uint32_t>(steps));

  VolumeWriter writer(route_.Sink(), env_.progress, disc, static_cast<uint32_t>(start));
  if (!WriteDescriptors(writer)) return WriteFailed();
  env_.user.SetStatusText(texts::kRecordingStructures);
  for (int t = 0; t < 2; ++t) {
    DirectoryPassInput input{list_, layout_, static_cast<TreeKind>(t), previous, t == 0 ? &scratch : nullptr};
    const PassResult result = RunDirectoryPass(input, writer);
    if (result == PassResult::WriteFailed) return WriteFailed();
    if (result == PassResult::Inconsistent) {  // measuring and writing disagree: never leave a broken volume
      env_.progress.End();
      env_.user.ShowMessage(FormatPrintf(texts::kDamagedList, "its directories can't be laid out"), request_.title,
                        kMbOk | kMbIconStop);
      return Fail();
    }
  }
  const uint32_t files = scratch.count();
  if (!scratch.Close()) return ScratchFailed();
  list_ = ListFile();

  bool complete = true;
  if (withData) {
    switch (RunFileDataPass(request_.scratchPath, files, writer, env_.user, request_.title)) {
      case DataPassResult::Done: break;
      case DataPassResult::WriteFailed: return WriteFailed();
      case DataPassResult::ScratchUnreadable: return ScratchFailed();
      case DataPassResult::StoppedByUser: complete = false; break;
    }
    if (complete && writer.address() != layout_.startAddress + layout_.volumeSpaceSize) {
      env_.progress.End();
      return Fail();
    }
  }
  if (!complete) {
    // A disc session is still closed so that the disc stays usable; an image
    // missing file data is no volume and goes.
    if (disc) route_.Finish(env_.user, request_.title);
    else route_.Abandon();
    env_.progress.End();
    env_.user.SetStatusText(texts::kEndedEarly);
    return 0;
  }
  const int finished = route_.Finish(env_.user, request_.title);
  env_.progress.End();
  if (finished != 1) {
    // Never reported as recorded: an image that could not be completed goes,
    // a disc whose session did not close says so.
    route_.Abandon();
    if (disc) env_.user.SetStatusText(texts::kSessionNotClosed);
    return 0;
  }
  env_.user.SetStatusText(route_.SuccessText());
  return 1;
}

}  // namespace

int RecordCompilation(RecordRequest& request, RecorderEnvironment& environment, RecordRoute& route) {
  return Run(request, environment, route).Record();
}

}  // namespace tarvo
