// The sector viewer's decoders over any sector (as read: 2048 bytes, or
// whatever length the input has) and any entry offset, stepping through the
// records as the viewer's "next" button does (the first 12 steps).
// Properties: nothing crashes or reads outside the sector, and no text is
// longer than the viewer's buffer takes.
#include <cstring>
#include <vector>

#include "app/sector_view.h"
#include "fuzz/harness_check.h"

namespace {

using namespace tarvo;

// The viewer stops stepping once the offset passes this.
constexpr int32_t kEntryOffsetLimit = 20000;

void Walk(const uint8_t* sector, size_t size, int32_t offset, bool pathTable) {
  for (int steps = 0; steps < 12 && offset <= kEntryOffsetLimit; ++steps) {
    const RecordView view = pathTable ? PathTableRecordText(sector, size, offset) : DirectoryRecordText(sector, size, offset);
    FUZZ_CHECK(view.text.size() < kViewBufferSize);
    FUZZ_CHECK(view.advance >= 0);
    if (view.advance == 0) return;
    offset += view.advance;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  int32_t offset;
  std::memcpy(&offset, data, 4);
  data += 4;
  size -= 4;
  // The viewer's buffer: exactly one sector, zero-filled past a short read.
  std::vector<uint8_t> sector(kViewSectorSize, 0);
  std::memcpy(sector.data(), data, size < kViewSectorSize ? size : kViewSectorSize);
  // The decoders also take any length; a copy of exactly the input's bytes
  // lets ASan see a read past its end.
  const std::vector<uint8_t> exact(data, data + size);

  for (const auto& [bytes, length] : {std::pair<const uint8_t*, size_t>{sector.data(), sector.size()}, std::pair<const uint8_t*, size_t>{exact.data(), exact.size()}}) {
    const std::string raw = RawSectorText(bytes, length);
    FUZZ_CHECK(raw.size() == 16 * 130);
    FUZZ_CHECK(VolumeDescriptorText(bytes, length).size() < kViewBufferSize);
    Walk(bytes, length, 0, false);
    Walk(bytes, length, 0, true);
    Walk(bytes, length, offset, false);
    Walk(bytes, length, offset, true);
  }
  return 0;
}
