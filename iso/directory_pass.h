// The directory pass of one tree: directories in directory-number order from
// the tree's first directory sector, then its L and M path tables. Extents
// follow the scan order of MeasureCompilation, so both agree byte for byte.
#pragma once

#include <cstdint>
#include <vector>

#include "iso/iso_layout.h"
#include "iso/iso_names.h"
#include "iso/list_file.h"
#include "iso/scratch_file.h"
#include "iso/session_import.h"
#include "iso/volume_writer.h"

namespace tarvo {

struct DirectoryPassInput {
  const ListFile& list;
  const IsoLayout& layout;
  TreeKind tree;
  // The previous session's files while the import is in use, else nullptr.
  const PreviousSession* previous = nullptr;
  // The primary pass appends one ScratchRecord per file with data; else nullptr.
  ScratchWriter* scratch = nullptr;
};

enum class PassResult { Done, WriteFailed, Inconsistent };

PassResult RunDirectoryPass(const DirectoryPassInput& input, VolumeWriter& writer);

}  // namespace tarvo
