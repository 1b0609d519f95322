#include "iso/scratch_file.h"

#include "iso/stream_reader.h"
#include "iso/iso_numbers.h"

namespace tarvo {

void ScratchWriter::Append(const std::string& path, uint32_t size) {
  uint8_t head[8];
  PutLsb32(head, static_cast<uint32_t>(path.size()));
  PutLsb32(head + 4, size);
  ok_ = ok_ && std::fwrite(head, 1, 8, file_.get()) == 8 &&
        std::fwrite(path.data(), 1, path.size(), file_.get()) == path.size();
  ++count_;
}

bool ReadScratchFile(const std::string& path, uint32_t expected, std::vector<ScratchRecord>& records) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  StreamReader reader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  records.clear();
  for (uint32_t i = 0; i < expected; ++i) {
    const uint32_t length = reader.U32();
    ScratchRecord record;
    record.size = reader.U32();
    record.path = reader.Bytes(length);
    if (!reader.ok()) break;
    records.push_back(std::move(record));
  }
  return true;
}

}  // namespace tarvo
