#include "iso/iso_layout.h"

#include <algorithm>

#include "iso/iso_numbers.h"
#include "iso/iso_structures.h"

namespace tarvo {

uint64_t DirectoryPlacer::Place(uint32_t length) {
  if (SectorOffset(offset_) + length >= kSectorSize) offset_ = (offset_ / kSectorSize + 1) * kSectorSize;
  const uint64_t at = offset_;
  offset_ += length;
  return at;
}

bool IsoLayout::FitsVolume() const {
  if (volumeSpaceSize > 0xFFFFFFFFull || uint64_t(startAddress) + volumeSpaceSize > 0xFFFFFFFFull) return false;
  for (const TreeLayout& tree : trees)
    if (uint64_t(tree.largestDirectory) * kSectorSize > 0xFFFFFFFFull) return false;
  return true;
}

IsoLayout MeasureCompilation(const ListFile& list, bool usePreviousExtents) {
  IsoLayout layout;
  uint32_t deepest = 0;
  for (const ListEntry& entry : list.entries) deepest = std::max(deepest, entry.level);
  // Levels beyond the deepest record hold no records and add nothing.
  const uint32_t levels = std::min<uint64_t>(list.levelCount, uint64_t(deepest) + 1);
  DirectoryPlacer placer[2];
  for (uint32_t k = 0; k < levels; ++k) {
    bool open = false;
    const auto finish = [&] {
      for (int t = 0; t < 2; ++t) {
        TreeLayout& tree = layout.trees[t];
        const uint32_t sectors = SectorsFor(placer[t].offset());
        tree.directoryTable.push_back(sectors);
        tree.directorySectors += sectors;
        if (sectors > tree.largestDirectory) {
          tree.largestDirectory = sectors;
          tree.largestDirectoryBytes = placer[t].offset();
        }
      }
      ++layout.directoryCount;
      open = false;
    };
    for (const ListEntry& entry : list.entries) {
      if (entry.level < k) {
        if (open) finish();
        continue;
      }
      if (entry.level > k) continue;
      if (!open) {
        placer[0].Open();
        placer[1].Open();
        open = true;
      }
      if (entry.IsMarker()) continue;
      if (entry.IsFile() && !(entry.IsRecorded() && usePreviousExtents)) layout.dataSectors += SectorsFor(entry.size);
      for (int t = 0; t < 2; ++t) {
        const size_t idLength = entry.identifier[t].size();
        if (entry.IsDirectory()) layout.trees[t].pathTableSize += PathTableRecordLength(idLength);
        placer[t].Place(DirectoryRecordLength(idLength));
      }
    }
    if (open) finish();
  }
  for (TreeLayout& tree : layout.trees) tree.pathTableSectors = SectorsFor(tree.pathTableSize);
  return layout;
}

void PlaceVolume(IsoLayout& layout, uint32_t startAddress) {
  layout.startAddress = startAddress;
  uint64_t next = uint64_t(startAddress) + 19;  // system area (16), two descriptors, terminator
  for (TreeLayout& tree : layout.trees) {
    tree.firstDirectory = static_cast<uint32_t>(next);
    tree.directoryStart.clear();
    for (uint32_t sectors : tree.directoryTable) {
      tree.directoryStart.push_back(static_cast<uint32_t>(next));
      next += sectors;
    }
    tree.lPathTable = static_cast<uint32_t>(next);
    tree.mPathTable = static_cast<uint32_t>(next + tree.pathTableSectors);
    next += 2ull * tree.pathTableSectors;
  }
  layout.fileDataStart = static_cast<uint32_t>(next);
  layout.volumeSpaceSize = next - startAddress + layout.dataSectors;
}

}  // namespace tarvo
