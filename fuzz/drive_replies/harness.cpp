// The replies of a drive: READ DISC INFORMATION, READ TRACK INFORMATION, READ
// TOC, MODE SENSE(10) for pages 05h and 2Ah (and INQUIRY), through the
// program's own command paths: the information page's queries, the disc
// check, the free space, the last track's descriptor, the preparation of a
// recording (MODE SENSE 05h edited and sent back with MODE SELECT), the
// closing of a session; then the decoders alone on the raw bytes.
//
// Input: a script of answers, one per command in the order they are sent:
// a status byte (0 good, anything else as sent), a 16-bit length, that many
// reply bytes. When the script ends, commands end good without data.
// Properties: nothing crashes and no command's buffer is touched beyond the
// length it declares (the transport reads and writes every declared byte).
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "drive/capabilities.h"
#include "drive/command_set.h"
#include "drive/disc_info.h"
#include "drive/disc_query.h"
#include "drive/mode_pages.h"
#include "fuzz/harness_check.h"
#include "fuzz/scratch_path.h"
#include "iso/write_preparation.h"

namespace {

using namespace tarvo;

class ScriptedDrive final : public ScsiTransport {
 public:
  ScriptedDrive(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  int AdapterCount() override { return 1; }
  int MaxTargets(int) override { return 1; }
  int DeviceType(const DeviceAddress&) override { return kDeviceTypeCdrom; }
  uint8_t Execute(const DeviceAddress&, const uint8_t* cdb, DataDirection direction, uint8_t* buffer,
                  uint32_t length, WaitPolicy, const std::function<void()>&) override {
    FUZZ_CHECK(cdb != nullptr);
    if (direction != DataDirection::None && length > 0) FUZZ_CHECK(buffer != nullptr);
    // Every declared byte is read (memcpy, which ASan checks whole), so a
    // length beyond the buffer is seen.
    static uint8_t seen[1 << 17];
    FUZZ_CHECK(length <= sizeof seen);
    if (buffer != nullptr) std::memcpy(seen, buffer, length);
    if (position_ >= size_) return kStatusGood;
    const uint8_t status = Take();
    const uint16_t replyLength = static_cast<uint16_t>(Take() | Take() << 8);
    const size_t available = std::min<size_t>(replyLength, size_ - position_);
    if (direction == DataDirection::In && buffer != nullptr)
      std::memcpy(buffer, data_ + position_, std::min<size_t>(available, length));
    position_ += available;
    return status;
  }

 private:
  uint8_t Take() { return position_ < size_ ? data_[position_++] : 0; }
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
};

class ScriptedUi final : public UserInterface {
 public:
  explicit ScriptedUi(uint32_t track) : track_(track) {}
  int ShowMessage(const std::string&, const std::string&, unsigned) override { return kIdOk; }
  uint32_t GetTrackNumber() override { return track_; }
  void SetTrackNumber(uint32_t track) override { track_ = track; }
  void NotifyDiscArrived() override {}
  void ResetViewSector(int) override {}
  void SetInfoText(const std::string& text) override { FUZZ_CHECK(text.size() < 1 << 16); }
  void SetBusy(bool) override {}

 private:
  uint32_t track_;
};

void CheckLocation(const uint8_t* data, size_t size, uint8_t pageCode) {
  const ModePageLocation found = LocateModePage(data, size, pageCode);
  if (!found) return;
  FUZZ_CHECK(found.totalLength <= kModeSenseAllocation && found.totalLength <= size);
  FUZZ_CHECK(found.offset + 2u < found.totalLength);
  FUZZ_CHECK(data[found.offset] == pageCode);
  std::vector<uint8_t> copy(data, data + size);
  EditWriteParametersPage(copy.data(), copy.size(), found, true, 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string dumpPath = FuzzScratchPath("-sense.txt");
  ScriptedDrive transport(data, size);
  ScriptedUi ui(size > 0 ? data[size - 1] : 0);
  DriveAccess access(ui);
  access.transport = &transport;
  access.driveCount = 1;
  access.senseDumpPath = dumpPath;

  Inquiry(access, 0);
  FUZZ_CHECK(access.drives[0].identity.size() <= 32);
  QueryDriveInfo(access, kQueryDiscInfo, true, 0);
  QueryDriveInfo(access, kQueryTrackInfo, true, 0);
  QueryDriveInfo(access, kQueryCapabilities, true, 0);
  QueryDriveInfo(access, kQueryCapabilities, false, 0);
  CheckDisc(access, 0);
  GetDiscSpace(access, 0);
  FindLastTrackPvd(access, 0);
  if (PrepareForWrite(access, 1764, true, 1, 0) >= 0) CloseSession(access, 0);

  // The decoders on the raw bytes, of exactly the input's length.
  const std::vector<uint8_t> exact(data, data + size);
  const uint8_t* bytes = exact.data();
  FormatDiscReport(DecodeDiscInfo(bytes, size));
  FormatTrackReport(DecodeTrackInfo(bytes, size));
  LastTrackPvdFromToc(bytes, size);
  DecodeWriteCapabilities(bytes, size);
  FormatCapabilitiesReport(bytes, size);
  CheckLocation(bytes, size, kWriteParametersPage);
  CheckLocation(bytes, size, kCapabilitiesPage);
  return 0;
}
