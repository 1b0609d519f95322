// tarvo.cfg: any bytes at all (short, long, out-of-range values) are read
// from the file into the settings, saved back and read again.
// Properties: nothing crashes, every value read is one the dialog can show
// (check boxes 0 or 1, erase mode 0-2), the file's first 21 bytes decide
// the result, and what is saved reads back unchanged.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/settings.h"
#include "fuzz/harness_check.h"
#include "fuzz/scratch_path.h"

namespace {

using namespace tarvo;

class SilentUser final : public UserSeam {
 public:
  int ShowMessage(const std::string&, const std::string&, unsigned) override { return kIdOk; }
};

bool Same(const Settings& a, const Settings& b) {
  return a.maximized == b.maximized && a.multiSession == b.multiSession && a.includeFileData == b.includeFileData &&
         a.copyFlag == b.copyFlag && a.reserved == b.reserved && a.eraseMode == b.eraseMode;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = FuzzScratchPath(".cfg");
  const Settings decoded = DecodeSettings(data, size);
  for (uint32_t v : {decoded.maximized, decoded.multiSession, decoded.includeFileData, decoded.copyFlag})
    FUZZ_CHECK(v <= 1);
  FUZZ_CHECK(decoded.eraseMode <= 2);
  FUZZ_CHECK(Same(decoded, DecodeSettings(data, size < kSettingsFileSize ? size : kSettingsFileSize)));

  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  const bool written = std::fwrite(data, 1, size, file) == size;
  if (std::fclose(file) != 0 || !written) return 0;
  SilentUser user;
  FUZZ_CHECK(LoadSettings(path, user) == 1);
  FUZZ_CHECK(Same(CurrentSettings(), decoded));

  const bool maximized = size > 0 && (data[0] & 1);
  FUZZ_CHECK(SaveSettings(path, maximized, user) == 1);
  Settings expected = CurrentSettings();
  CurrentSettings() = Settings();
  FUZZ_CHECK(LoadSettings(path, user) == 1);
  FUZZ_CHECK(Same(CurrentSettings(), expected));
  return 0;
}
