// The recorder's reading of a list file and everything it does with a list
// it accepts before the first sector is written: the checks, the identifiers
// of both trees, the measuring scan, the placement of the volume, and the
// directory pass of both trees into a sink that keeps nothing.
// Properties: nothing crashes, and the directory pass agrees with the
// measuring scan for every accepted list (never "Inconsistent").
#include <vector>

#include "fuzz/harness_check.h"
#include "iso/directory_pass.h"
#include "iso/iso_layout.h"
#include "iso/list_file.h"

namespace {

using namespace tarvo;

class DiscardingSink final : public SectorSink {
 public:
  int WriteSectors(uint32_t address, const uint8_t*, uint32_t count) override {
    // The pass writes in ascending, contiguous order from the volume start.
    FUZZ_CHECK(address == next_);
    next_ += count;
    return 1;
  }
  explicit DiscardingSink(uint32_t start) : next_(start) {}

 private:
  uint32_t next_;
};

class NoProgress final : public ProgressMeter {
 public:
  void Begin(uint32_t) override {}
  void Step(uint32_t) override {}
  void End() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ListFile list;
  const ListReadResult read = ReadListFile(data, size, list);
  if (read.status != ListReadStatus::Ok) {
    FUZZ_CHECK(read.status == ListReadStatus::ShortHeader || !read.problem.empty());
    return 0;
  }
  if (!CheckListForRecording(list).empty()) return 0;
  AssignIdentifiers(list);
  for (const ListEntry& entry : list.entries) {
    if (entry.IsMarker()) continue;
    FUZZ_CHECK(!entry.identifier[0].empty() && entry.identifier[0].size() <= 222);
    FUZZ_CHECK(!entry.identifier[1].empty() && entry.identifier[1].size() <= 222);
  }
  PreviousSession previous;  // nothing found: Recorded files get extent 0
  for (const bool usePreviousExtents : {false, true}) {
    IsoLayout layout = MeasureCompilation(list, usePreviousExtents);
    PlaceVolume(layout, 0);
    if (!layout.FitsVolume()) continue;
    for (int tree = 0; tree < 2; ++tree) {
      const uint32_t start = layout.trees[tree].firstDirectory;
      DiscardingSink sink(start);
      NoProgress progress;
      VolumeWriter writer(sink, progress, true, start);
      DirectoryPassInput input{list, layout, static_cast<TreeKind>(tree),
                               usePreviousExtents ? &previous : nullptr, nullptr};
      FUZZ_CHECK(RunDirectoryPass(input, writer) == PassResult::Done);
      const TreeLayout& t = layout.trees[tree];
      FUZZ_CHECK(writer.address() == t.mPathTable + t.pathTableSectors);
    }
  }
  return 0;
}
