#include "vrec/config.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "vrec/trace.h"

namespace tarvo::vrec {
namespace fs = std::filesystem;

const char* const kDefaultConfigText =
    "[adapter 0]\n"
    "targets = 8\n"
    "[device 0:1:0]\n"
    "disc = vrec-disc.img\n"
    "media = cdr80\n";

namespace {

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool ParseBool(const std::string& value, bool* out) {
  if (value == "yes" || value == "1" || value == "on" || value == "true") return *out = true, true;
  if (value == "no" || value == "0" || value == "off" || value == "false") return *out = false, true;
  return false;
}

bool ParseInt(const std::string& value, long long minimum, long long maximum, long long* out) {
  if (value.empty()) return false;
  char* end = nullptr;
  long long parsed = std::strtoll(value.c_str(), &end, 0);
  if (*end != 0 || parsed < minimum || parsed > maximum) return false;
  *out = parsed;
  return true;
}

bool ParseAddress(const std::string& text, DeviceAddress* address) {
  unsigned a = 0, t = 0, l = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%u:%u:%u%c", &a, &t, &l, &tail) != 3 || a > 15 || t > 15 || l > 7) return false;
  address->adapterId = static_cast<uint8_t>(a);
  address->targetId = static_cast<uint8_t>(t);
  address->lun = static_cast<uint8_t>(l);
  return true;
}

// "A1 2A", "blank write" or "all" (every command).
bool ParseOpcodes(const std::string& value, uint8_t out[4]) {
  std::istringstream words(value);
  std::string word;
  int count = 0;
  while (words >> word) {
    if (!word.empty() && word.back() == ',') word.pop_back();
    long long code = -1;
    for (int op = 0; op < 256; ++op) {
      std::string name = CommandName(static_cast<uint8_t>(op));
      for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (name != "unknown" && (name == word || name.rfind(word + "(", 0) == 0)) code = op;
    }
    if (code < 0 && !ParseInt("0x" + word, 1, 255, &code)) return false;
    if (count == 4) return false;
    out[count++] = static_cast<uint8_t>(code);
  }
  return true;
}

bool ApplyDeviceKey(const std::string& key, const std::string& value, const fs::path& baseDir, DeviceConfig* d) {
  long long number = 0;
  if (key == "type") {
    if (!ParseInt(value, 0, 31, &number)) return false;
    d->identity.deviceType = static_cast<int>(number);
  } else if (key == "disc") {
    d->discPath = (baseDir / fs::path(value)).lexically_normal().string();
  } else if (key == "media") {
    d->createMedia = ParseMediaKind(value);
    return d->createMedia.has_value();
  } else if (key == "image") {
    d->createImage = (baseDir / fs::path(value)).lexically_normal().string();
  } else if (key == "vendor") {
    d->identity.vendor = value;
  } else if (key == "product") {
    d->identity.product = value;
  } else if (key == "revision") {
    d->identity.revision = value;
  } else if (key == "vendor-specific") {
    d->identity.vendorSpecific = value;
  } else if (key == "write-cdr") {
    return ParseBool(value, &d->capabilities.writeCdR);
  } else if (key == "write-cdrw") {
    return ParseBool(value, &d->capabilities.writeCdRw);
  } else if (key == "max-read-speed" || key == "max-write-speed" || key == "buffer-kb") {
    if (!ParseInt(value, 0, 65535, &number)) return false;
    uint16_t speed = static_cast<uint16_t>(number);
    if (key == "max-read-speed") d->capabilities.maxReadSpeedKBps = speed;
    else if (key == "max-write-speed") d->capabilities.maxWriteSpeedKBps = speed;
    else d->capabilities.bufferKB = speed;
  } else if (key == "block-descriptor") {
    return ParseBool(value, &d->capabilities.blockDescriptor);
  } else if (key == "mirror") {
    d->mirrorFolder = (baseDir / fs::path(value)).lexically_normal().string();
  } else if (key == "time-scale") {
    char* end = nullptr;
    double scale = std::strtod(value.c_str(), &end);
    if (*end != 0 || scale < 0) return false;
    d->timeScale = scale;
  } else if (key == "fault-write-at") {
    if (!ParseInt(value, 0, 0x7FFFFFFF, &number)) return false;
    d->faults.writeFailsAt = number;
  } else if (key == "fault-not-ready") {
    return ParseBool(value, &d->faults.notReady);
  } else if (key == "fault-close") {
    return ParseBool(value, &d->faults.closeFails);
  } else if (key == "fault-mode-select") {
    return ParseBool(value, &d->faults.modeSelectFails);
  } else if (key == "fault-set-speed") {
    return ParseBool(value, &d->faults.setSpeedFails);
  } else if (key == "fault-disc-info") {
    return ParseBool(value, &d->faults.discInfoFails);
  } else if (key == "fault-blank") {
    return ParseBool(value, &d->faults.blankFails);
  } else if (key == "fault-removed-at") {
    if (!ParseInt(value, 0, 0x7FFFFFFF, &number)) return false;
    d->faults.removedAt = number;
  } else if (key == "fault-armed-by") {
    d->faultsArmedBy = (baseDir / fs::path(value)).lexically_normal().string();
  } else if (key == "fault-capabilities" || key == "fault-write-parameters") {
    PageFault& fault = key == "fault-capabilities" ? d->faults.capabilities : d->faults.writeParameters;
    if (value == "missing") fault = PageFault::Missing;
    else if (value == "ps") fault = PageFault::PsFlagged;
    else if (value == "none") fault = PageFault::None;
    else return false;
  } else if (key == "fault-never-finish") {
    return ParseOpcodes(value, d->faults.neverFinish);
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool ParseBusConfig(const std::string& text, const fs::path& baseDir, BusConfig* config, std::string* error) {
  BusConfig parsed;
  std::istringstream in(text);
  std::string line;
  int lineNumber = 0;
  double globalScale = -1;
  enum class Section { Global, Adapter, Device } section = Section::Global;
  size_t current = 0;
  std::vector<bool> explicitScale;
  auto fail = [&](const std::string& what) {
    if (error) *error = "line " + std::to_string(lineNumber) + ": " + what;
    return false;
  };
  auto adapter = [&parsed](size_t index) -> AdapterConfig& {
    if (parsed.adapters.size() <= index) parsed.adapters.resize(index + 1, AdapterConfig{0});
    return parsed.adapters[index];
  };
  while (std::getline(in, line)) {
    ++lineNumber;
    size_t hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    line = Trim(line);
    if (line.empty()) continue;
    if (line.front() == '[') {
      if (line.back() != ']') return fail("unterminated section");
      std::istringstream header(line.substr(1, line.size() - 2));
      std::string kind, argument;
      header >> kind >> argument;
      if (kind == "adapter") {
        long long index = 0;
        if (!ParseInt(argument, 0, 15, &index)) return fail("bad adapter number");
        current = static_cast<size_t>(index);
        adapter(current).maxTargets = 8;
        section = Section::Adapter;
      } else if (kind == "device") {
        DeviceEntry entry;
        if (!ParseAddress(argument, &entry.address)) return fail("bad device address (adapter:target:lun)");
        for (const DeviceEntry& other : parsed.devices) {
          const DeviceAddress& a = other.address;
          if (a.adapterId == entry.address.adapterId && a.targetId == entry.address.targetId &&
              a.lun == entry.address.lun) {
            return fail("device declared twice");
          }
        }
        if (parsed.adapters.size() <= entry.address.adapterId) adapter(entry.address.adapterId).maxTargets = 8;
        parsed.devices.push_back(entry);
        explicitScale.push_back(false);
        section = Section::Device;
      } else {
        return fail("unknown section " + kind);
      }
      continue;
    }
    size_t equals = line.find('=');
    if (equals == std::string::npos) return fail("expected key = value");
    std::string key = Trim(line.substr(0, equals));
    std::string value = Trim(line.substr(equals + 1));
    bool ok = true;
    if (section == Section::Global) {
      if (key == "trace") {
        parsed.tracePath = value.empty() ? "" : (baseDir / fs::path(value)).lexically_normal().string();
      } else if (key == "time-scale") {
        char* end = nullptr;
        globalScale = std::strtod(value.c_str(), &end);
        ok = *end == 0 && globalScale >= 0;
      } else {
        ok = false;
      }
    } else if (section == Section::Adapter) {
      long long targets = 0;
      ok = key == "targets" && ParseInt(value, 0, 16, &targets);
      if (ok) adapter(current).maxTargets = static_cast<int>(targets);
    } else {
      ok = ApplyDeviceKey(key, value, baseDir, &parsed.devices.back().config);
      if (key == "time-scale") explicitScale.back() = true;
    }
    if (!ok) return fail("bad setting " + key + " = " + value);
  }
  for (size_t i = 0; i < parsed.devices.size(); ++i) {
    const DeviceEntry& entry = parsed.devices[i];
    if (entry.address.targetId >= parsed.adapters[entry.address.adapterId].maxTargets) {
      if (error) *error = "device beyond its adapter's targets";
      return false;
    }
    if (!explicitScale[i] && globalScale >= 0) parsed.devices[i].config.timeScale = globalScale;
  }
  *config = parsed;
  return true;
}

bool LoadBusConfig(const fs::path& file, BusConfig* config, std::string* error) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    if (error) *error = "cannot read " + file.string();
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  std::string detail;
  if (!ParseBusConfig(text.str(), file.parent_path(), config, &detail)) {
    if (error) *error = file.string() + ": " + detail;
    return false;
  }
  return true;
}

}  // namespace tarvo::vrec
