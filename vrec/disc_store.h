// A disc on the host file system: the sector file holds every 2048-byte
// sector at its absolute address (sector n at byte n * 2048; sparse where
// nothing was written), so isoinfo or xorriso can read a session from it
// directly; the metadata file beside it ("<disc>.meta", text) holds the
// tracks, sessions and media kind and whether the disc sits in its drive.
// The metadata is replaced atomically (written to a temporary file, then
// renamed over the old one), so a crash leaves the old or the new state,
// never a half-written file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "vrec/disc.h"

namespace tarvo::vrec {

inline constexpr uint32_t kSectorSize = 2048;

struct StoreState {
  Disc disc;
  bool loaded = true;  // the disc is in the drive (not on an open tray)
  uint64_t stamp = 0;  // changes with every save, to detect other writers
};

std::string FormatMetadata(const StoreState& state);
bool ParseMetadata(const std::string& text, StoreState* state);

std::filesystem::path MetadataPath(const std::filesystem::path& discPath);

class DiscStore {
 public:
  // Creates (or replaces) a disc with empty sectors.
  static std::unique_ptr<DiscStore> Create(const std::filesystem::path& path, const Disc& disc,
                                           std::string* error);
  static std::unique_ptr<DiscStore> Open(const std::filesystem::path& path, std::string* error);
  static bool Exists(const std::filesystem::path& path);

  DiscStore(const DiscStore&) = delete;
  DiscStore& operator=(const DiscStore&) = delete;

  Disc& disc() { return state_.disc; }
  const Disc& disc() const { return state_.disc; }
  bool loaded() const { return state_.loaded; }
  void set_loaded(bool loaded) { state_.loaded = loaded; }
  const std::filesystem::path& path() const { return path_; }

  bool Save();
  bool ReadSectors(int32_t lba, uint32_t count, uint8_t* out);
  bool WriteSectors(int32_t lba, uint32_t count, const uint8_t* data);
  bool WriteZeros(int32_t lba, uint32_t count);
  // Drops every sector from `lba` on (blanking).
  bool Truncate(int32_t lba);
  bool Flush();
  // True when another writer (the vrec tool, a test) replaced or removed the
  // metadata since this store last read or wrote it.
  bool ChangedOutside() const;

 private:
  explicit DiscStore(std::filesystem::path path) : path_(std::move(path)) {}
  bool OpenSectors(bool truncate);

  std::filesystem::path path_;
  StoreState state_;
  std::fstream sectors_;
};

// Creates a blank disc of `kind`; a pressed CD-ROM holds the image file
// `image` (or 300 zero blocks when empty) as its one track.
std::unique_ptr<DiscStore> CreateDisc(const std::filesystem::path& path, MediaKind kind,
                                      const std::filesystem::path& image, std::string* error);

}  // namespace tarvo::vrec
