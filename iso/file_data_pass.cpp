#include "iso/file_data_pass.h"

#include <cstring>
#include <vector>

#include "iso/file_access.h"
#include "iso/raw_file.h"
#include "iso/iso_numbers.h"
#include "iso/recorder_texts.h"
#include "iso/scratch_file.h"

namespace tarvo {

namespace {

// Sectors read from a source file at a time: large reads and writes keep the
// per-sector structure of the volume from costing anything.
constexpr uint32_t kChunkSectors = 512;

}  // namespace

DataPassResult RunFileDataPass(const std::string& scratchPath, uint32_t fileCount, VolumeWriter& writer,
                               UserSeam& user, const std::string& title) {
  std::vector<ScratchRecord> records;
  if (!ReadScratchFile(scratchPath, fileCount, records)) return DataPassResult::ScratchUnreadable;
  std::vector<uint8_t> chunk(size_t(kChunkSectors) * kSectorSize);
  for (const ScratchRecord& record : records) {
    RawFile source;
    if (!source.Open(record.path, RawFile::Mode::Read)) {
      const int answer = user.ShowMessage(FormatPrintf(texts::kCantOpenFile, record.path.c_str()), title,
                                      kMbYesNo | kMbIconStop);
      if (answer != kIdYes) return DataPassResult::StoppedByUser;
    } else {
      user.SetStatusText(record.path);
    }
    uint32_t left = SectorsFor(record.size);
    uint64_t bytesLeft = record.size;
    while (left > 0) {
      const uint32_t sectors = std::min(left, kChunkSectors);
      const size_t want = static_cast<size_t>(std::min<uint64_t>(bytesLeft, uint64_t(sectors) * kSectorSize));
      const size_t got = source.IsOpen() ? source.Read(chunk.data(), want) : 0;
      // Bytes the file does not supply (it shrank, or could not be opened) are zeros.
      std::memset(chunk.data() + got, 0, size_t(sectors) * kSectorSize - got);
      if (!writer.Put(chunk.data(), sectors, WriteUnit::Data)) return DataPassResult::WriteFailed;
      left -= sectors;
      bytesLeft -= want;
    }
  }
  return DataPassResult::Done;
}

}  // namespace tarvo
