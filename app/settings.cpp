#include "app/settings.h"

#include <cstdio>
#include <memory>

namespace tarvo {
namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

uint32_t GetLe32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void PutLe32(uint8_t* p, uint32_t v) {
  p[0] = uint8_t(v);
  p[1] = uint8_t(v >> 8);
  p[2] = uint8_t(v >> 16);
  p[3] = uint8_t(v >> 24);
}

uint32_t AsCheckState(uint32_t v) { return v != 0 ? 1 : 0; }

}  // namespace

Settings& CurrentSettings() {
  static Settings settings;
  return settings;
}

Settings DecodeSettings(const uint8_t* bytes, size_t size) {
  Settings s;
  uint32_t* fields[] = {&s.maximized, &s.multiSession, &s.includeFileData, &s.copyFlag, &s.reserved};
  for (size_t i = 0; i < 5; ++i) {
    if (size >= (i + 1) * 4) *fields[i] = GetLe32(bytes + i * 4);
  }
  if (size >= kSettingsFileSize) s.eraseMode = bytes[20];

  s.maximized = AsCheckState(s.maximized);
  s.multiSession = AsCheckState(s.multiSession);
  s.includeFileData = AsCheckState(s.includeFileData);
  s.copyFlag = AsCheckState(s.copyFlag);
  if (s.eraseMode > 2) s.eraseMode = 1;
  return s;
}

std::array<uint8_t, kSettingsFileSize> EncodeSettings(const Settings& s) {
  std::array<uint8_t, kSettingsFileSize> out{};
  PutLe32(&out[0], s.maximized);
  PutLe32(&out[4], s.multiSession);
  PutLe32(&out[8], s.includeFileData);
  PutLe32(&out[12], s.copyFlag);
  PutLe32(&out[16], s.reserved);
  out[20] = s.eraseMode;
  return out;
}

int LoadSettings(const std::string& path, UserSeam& user) {
  FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    user.ShowMessage("Can't open config file: " + path, "", kMbOk);
    return 0;
  }
  uint8_t bytes[kSettingsFileSize] = {};
  size_t got = std::fread(bytes, 1, sizeof bytes, file.get());
  CurrentSettings() = DecodeSettings(bytes, got);
  return 1;
}

int SaveSettings(const std::string& path, bool maximized, UserSeam& user) {
  FilePtr file(std::fopen(path.c_str(), "wb"));
  if (!file) {
    user.ShowMessage("Can't save config file: " + path, "", kMbOk);
    return 0;
  }
  CurrentSettings().maximized = maximized ? 1 : 0;
  auto bytes = EncodeSettings(CurrentSettings());
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  ok = (std::fclose(file.release()) == 0) && ok;
  if (!ok) {
    user.ShowMessage("Can't save config file: " + path, "", kMbOk);
    return 0;
  }
  return 1;
}

}  // namespace tarvo
