// The user's page choices kept from one run to the next in tarvo.cfg: a fixed
// 21-byte little-endian record beside the program, with no header or version.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/user_seam.h"

namespace tarvo {

struct Settings {
  uint32_t maximized = 0;
  uint32_t multiSession = 1;     // "Multi session mode." (recording page)
  uint32_t includeFileData = 0;  // "Save all files into ISO-9660 file" (ISO page)
  uint32_t copyFlag = 0;         // "CD-R/W Copy protected" (recording page)
  uint32_t reserved = 0;         // read and written back, used by nothing
  uint8_t eraseMode = 1;         // 0 full, 1 fast, 2 last session
};

inline constexpr size_t kSettingsFileSize = 21;
inline constexpr char kSettingsFileName[] = "tarvo.cfg";

// The process-wide record, owned by the main dialog.
Settings& CurrentSettings();

// Decodes as many whole fields as `size` bytes hold; fields beyond keep their
// defaults. Values a damaged file may hold are made usable: an erase mode
// above 2 falls back to fast erase, check-box values other than 0 count as 1.
Settings DecodeSettings(const uint8_t* bytes, size_t size);
std::array<uint8_t, kSettingsFileSize> EncodeSettings(const Settings& settings);

// Reads programDir\tarvo.cfg into CurrentSettings(); when it cannot be opened
// shows "Can't open config file: <path>" and keeps the defaults. Returns 1
// when the file was read.
int LoadSettings(const std::string& path, UserSeam& user);
// Writes CurrentSettings() with `maximized`; when the file cannot be created
// shows "Can't save config file: <path>". Returns 1 when written.
int SaveSettings(const std::string& path, bool maximized, UserSeam& user);

}  // namespace tarvo
