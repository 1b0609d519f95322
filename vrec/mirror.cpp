#include "vrec/mirror.h"

#include <chrono>
#include <fstream>
#include <vector>

#include "vrec/iso_reader.h"

namespace tarvo::vrec {
namespace fs = std::filesystem;

namespace {

void SetTime(const fs::path& path, const RecordingTime& time) {
  using namespace std::chrono;
  // The file clock's epoch differs from the system clock's by whole seconds.
  auto offset = round<seconds>(fs::file_time_type::clock::now().time_since_epoch() -
                               system_clock::now().time_since_epoch());
  fs::file_time_type when(duration_cast<fs::file_time_type::duration>(seconds(time.UnixSeconds()) + offset));
  std::error_code ec;
  fs::last_write_time(path, when, ec);
}

int WriteTree(const fs::path& folder, const IsoEntry& directory, DiscStore* store, const SectorReader& read) {
  int files = 0;
  for (const IsoEntry& entry : directory.children) {
    fs::path target = folder / fs::path(entry.name);
    std::error_code ec;
    if (entry.directory) {
      fs::create_directories(target, ec);
      if (ec) return -1;
      int inner = WriteTree(target, entry, store, read);
      if (inner < 0) return -1;
      files += inner;
      SetTime(target, entry.time);
      continue;
    }
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    if (!out) return -1;
    std::vector<uint8_t> sector(kSectorSize);
    uint32_t left = entry.size;
    for (uint32_t i = 0; left > 0; ++i) {
      uint32_t chunk = left < kSectorSize ? left : kSectorSize;
      // An unreadable sector leaves the rest of the file short, as a copy
      // from a damaged disc would.
      if (!read(static_cast<int32_t>(entry.extent + i), sector.data())) break;
      out.write(reinterpret_cast<const char*>(sector.data()), chunk);
      left -= chunk;
    }
    out.close();
    SetTime(target, entry.time);
    ++files;
  }
  return files;
}

}  // namespace

int MirrorLastSession(const fs::path& folder, DiscStore* store) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    std::error_code removeError;
    fs::remove_all(entry.path(), removeError);
  }
  if (ec) return -1;
  if (store == nullptr || store->disc().closedSessions == 0) return 0;
  const Disc& disc = store->disc();
  SectorReader read = [store, &disc](int32_t lba, uint8_t* out) {
    return disc.Classify(lba) == Disc::Readability::Readable && store->ReadSectors(lba, 1, out);
  };
  IsoVolume volume;
  if (!ReadIsoVolume(read, disc.SessionStart(disc.closedSessions), &volume)) return 0;
  return WriteTree(folder, volume.root, store, read);
}

}  // namespace tarvo::vrec
