// The text configuration shared by the WNASPI32.DLL front and the in-process
// bus: host adapters, the devices on them and everything about each device.
// The format is documented in vrec/README.md.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "drive/scsi_transport.h"
#include "vrec/device_config.h"

namespace tarvo::vrec {

struct AdapterConfig {
  int maxTargets = 8;
};

struct DeviceEntry {
  DeviceAddress address;
  DeviceConfig config;
};

struct BusConfig {
  std::vector<AdapterConfig> adapters;
  std::vector<DeviceEntry> devices;
  std::string tracePath;  // empty: no trace
};

// Relative paths in the text are taken relative to `baseDir`.
bool ParseBusConfig(const std::string& text, const std::filesystem::path& baseDir, BusConfig* config,
                    std::string* error);
bool LoadBusConfig(const std::filesystem::path& file, BusConfig* config, std::string* error);

// Used when no configuration file exists: one adapter, one recorder at 0:1:0
// holding a blank 80-minute CD-R in "vrec-disc.img" (created on first use).
extern const char* const kDefaultConfigText;

}  // namespace tarvo::vrec
