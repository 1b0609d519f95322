#include "iso/directory_pass.h"

#include <algorithm>
#include <cstring>

#include "iso/iso_numbers.h"
#include "iso/iso_structures.h"

namespace tarvo {

namespace {

struct DirectoryPlace {
  uint32_t start = 0;
  uint32_t sectors = 0;
};

class TreeWriter {
 public:
  TreeWriter(const DirectoryPassInput& input, VolumeWriter& writer)
      : in_(input),
        tree_(input.layout.trees[static_cast<int>(input.tree)]),
        writer_(writer),
        directory_((uint64_t(tree_.largestDirectory) + 1) * kSectorSize),
        pathTable_(uint64_t(tree_.pathTableSectors) * kSectorSize) {}

  PassResult Run();

 private:
  bool Open(const ListEntry& first);
  bool Add(const ListEntry& entry);
  PassResult WriteOpenDirectory();
  bool PutRecord(const std::string& id, uint32_t extent, uint32_t length, uint8_t flags, const RecordDate& date);

  const DirectoryPassInput& in_;
  const TreeLayout& tree_;
  VolumeWriter& writer_;
  std::vector<uint8_t> directory_;
  std::vector<uint8_t> pathTable_;
  uint32_t pathTableAt_ = 0;
  std::vector<DirectoryPlace> parents_;  // per subdirectory met, the directory holding it
  DirectoryPlacer placer_;
  bool open_ = false;
  DirectoryPlace current_;
  uint32_t started_ = 0;      // directories opened; the root is number 1
  uint32_t subdirectories_ = 0;
  uint32_t directoryCursor_ = 0;
  uint32_t dataCursor_ = 0;
};

PassResult TreeWriter::Run() {
  const IsoLayout& layout = in_.layout;
  if (pathTable_.size() < 10) return PassResult::Inconsistent;
  pathTableAt_ = BuildPathTableRecordWithIdentifier(pathTable_.data(), {}, 1, writer_.address());
  directoryCursor_ = tree_.firstDirectory + (tree_.directoryTable.empty() ? 0 : tree_.directoryTable[0]);
  dataCursor_ = layout.fileDataStart;
  uint32_t deepest = 0;
  for (const ListEntry& entry : in_.list.entries) deepest = std::max(deepest, entry.level);
  const uint32_t levels = std::min<uint64_t>(in_.list.levelCount, uint64_t(deepest) + 1);
  for (uint32_t k = 0; k < levels; ++k) {
    for (const ListEntry& entry : in_.list.entries) {
      if (entry.level < k && open_) {
        if (PassResult r = WriteOpenDirectory(); r != PassResult::Done) return r;
      }
      if (entry.level != k) continue;
      if (!open_ && !Open(entry)) return PassResult::Inconsistent;
      if (!Add(entry)) return PassResult::Inconsistent;
    }
    if (open_) {
      if (PassResult r = WriteOpenDirectory(); r != PassResult::Done) return r;
    }
  }
  if (pathTableAt_ != tree_.pathTableSize) return PassResult::Inconsistent;
  if (!writer_.Put(pathTable_.data(), tree_.pathTableSectors, WriteUnit::Structure)) return PassResult::WriteFailed;
  ConvertPathTableToM(pathTable_.data(), pathTableAt_);
  if (!writer_.Put(pathTable_.data(), tree_.pathTableSectors, WriteUnit::Structure)) return PassResult::WriteFailed;
  return PassResult::Done;
}

bool TreeWriter::Open(const ListEntry& first) {
  if (started_ >= tree_.directoryTable.size()) return false;
  current_ = {writer_.address(), tree_.directoryTable[started_]};
  if (current_.start != tree_.directoryStart[started_]) return false;
  DirectoryPlace parent = current_;  // the root's ".." describes the root
  if (started_ > 0) {
    if (started_ - 1 >= parents_.size()) return false;
    parent = parents_[started_ - 1];
  }
  std::fill_n(directory_.begin(), std::min<uint64_t>(directory_.size(), uint64_t(current_.sectors) * kSectorSize), 0);
  placer_.Open();
  BuildDirectoryRecordWithIdentifier(directory_.data(), {}, current_.start, current_.sectors * kSectorSize,
                                     kFileFlagsDirectory, first.date, SpecialRecord::Self);
  BuildDirectoryRecordWithIdentifier(directory_.data() + 34, {}, parent.start, parent.sectors * kSectorSize,
                                     kFileFlagsDirectory, first.date, SpecialRecord::Parent);
  ++started_;
  open_ = true;
  return true;
}

bool TreeWriter::Add(const ListEntry& entry) {
  const int t = static_cast<int>(in_.tree);
  const std::string& id = entry.identifier[t];
  if (entry.IsMarker()) return true;
  if (entry.IsDirectory()) {
    const uint32_t number = ++subdirectories_;
    if (number >= tree_.directoryTable.size()) return false;
    const DirectoryPlace place{directoryCursor_, tree_.directoryTable[number]};
    directoryCursor_ += place.sectors;
    parents_.push_back(current_);
    const uint32_t length = PathTableRecordLength(id.size());
    if (uint64_t(pathTableAt_) + length > tree_.pathTableSize) return false;
    pathTableAt_ += BuildPathTableRecordWithIdentifier(pathTable_.data() + pathTableAt_, id,
                                                       static_cast<uint16_t>(started_), place.start);
    return PutRecord(id, place.start, place.sectors * kSectorSize, kFileFlagsDirectory, entry.date);
  }
  uint32_t extent;
  if (entry.IsRecorded() && in_.previous != nullptr) {
    // Found by its path on the disc, like a reader of the earlier session
    // finds it; a file the session does not hold gets extent 0.
    extent = in_.previous->ExtentOf(RecordedEntryKey(entry.sourcePath, entry.name));
  } else {
    extent = dataCursor_;
    dataCursor_ += SectorsFor(entry.size);
    if (in_.scratch != nullptr) in_.scratch->Append(entry.sourcePath + entry.name, entry.size);
  }
  return PutRecord(id, extent, entry.size, kFileFlagsFile, entry.date);
}

bool TreeWriter::PutRecord(const std::string& id, uint32_t extent, uint32_t length, uint8_t flags,
                           const RecordDate& date) {
  const uint32_t recordLength = DirectoryRecordLength(id.size());
  const uint64_t at = placer_.Place(recordLength);
  if (at + recordLength > uint64_t(current_.sectors) * kSectorSize) return false;
  BuildDirectoryRecordWithIdentifier(directory_.data() + at, id, extent, length, flags, date, SpecialRecord::None);
  return true;
}

PassResult TreeWriter::WriteOpenDirectory() {
  open_ = false;
  if (SectorsFor(placer_.offset()) != current_.sectors) return PassResult::Inconsistent;
  return writer_.Put(directory_.data(), current_.sectors, WriteUnit::Structure) ? PassResult::Done
                                                                                  : PassResult::WriteFailed;
}

}  // namespace

PassResult RunDirectoryPass(const DirectoryPassInput& input, VolumeWriter& writer) {
  return TreeWriter(input, writer).Run();
}

}  // namespace tarvo
