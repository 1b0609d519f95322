// The file data pass: every file of the scratch file, in extent order, read
// from its source and written sector by sector, the last sector zero-filled.
#pragma once

#include <string>

#include "iso/recorder_seams.h"
#include "iso/volume_writer.h"

namespace tarvo {

enum class DataPassResult {
  Done,
  ScratchUnreadable,  // the scratch file could not be reopened
  StoppedByUser,      // a source could not be opened and the user chose not to go on
  WriteFailed,
};

DataPassResult RunFileDataPass(const std::string& scratchPath, uint32_t fileCount, VolumeWriter& writer,
                               UserSeam& user, const std::string& title);

}  // namespace tarvo
