#include "vrec/disc_store.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <sstream>
#include <vector>

namespace tarvo::vrec {
namespace fs = std::filesystem;

namespace {

constexpr const char* kMagic = "vrec-disc 1";

uint64_t NewStamp() {
  static std::mt19937_64 generator(
      static_cast<uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()) ^
      std::random_device{}());
  return generator() | 1;
}

bool ReadWholeFile(const fs::path& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  *text = buffer.str();
  return true;
}

}  // namespace

fs::path MetadataPath(const fs::path& discPath) {
  fs::path meta = discPath;
  meta += ".meta";
  return meta;
}

std::string FormatMetadata(const StoreState& state) {
  const Disc& disc = state.disc;
  std::ostringstream out;
  out << kMagic << "\n"
      << "stamp " << state.stamp << "\n"
      << "kind " << MediaKindName(disc.kind) << "\n"
      << "loaded " << (state.loaded ? 1 : 0) << "\n"
      << "atip-lead-in " << disc.atipLeadIn << "\n"
      << "last-possible-lead-out " << disc.lastPossibleLeadOut << "\n"
      << "closed-sessions " << disc.closedSessions << "\n"
      << "finalised " << (disc.finalised ? 1 : 0) << "\n";
  for (const Track& t : disc.tracks) {
    out << "track " << t.number << " " << t.session << " " << t.start << " " << t.recorded << " "
        << t.size << " " << (t.closed ? 1 : 0) << " " << static_cast<int>(t.trackMode) << "\n";
  }
  out << "end\n";
  return out.str();
}

bool ParseMetadata(const std::string& text, StoreState* state) {
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kMagic) return false;
  StoreState parsed;
  bool ended = false;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string key;
    fields >> key;
    if (key == "end") {
      ended = true;
      break;
    }
    if (key == "stamp") {
      fields >> parsed.stamp;
    } else if (key == "kind") {
      std::string name;
      fields >> name;
      std::optional<MediaKind> kind = ParseMediaKind(name);
      if (!kind) return false;
      parsed.disc.kind = *kind;
    } else if (key == "loaded") {
      int value = 1;
      fields >> value;
      parsed.loaded = value != 0;
    } else if (key == "atip-lead-in") {
      fields >> parsed.disc.atipLeadIn;
    } else if (key == "last-possible-lead-out") {
      fields >> parsed.disc.lastPossibleLeadOut;
    } else if (key == "closed-sessions") {
      fields >> parsed.disc.closedSessions;
    } else if (key == "finalised") {
      int value = 0;
      fields >> value;
      parsed.disc.finalised = value != 0;
    } else if (key == "track") {
      Track t;
      int closed = 0, mode = 4;
      fields >> t.number >> t.session >> t.start >> t.recorded >> t.size >> closed >> mode;
      t.closed = closed != 0;
      t.trackMode = static_cast<uint8_t>(mode);
      if (t.start < 0 || t.recorded < 0 || t.size < 0) return false;
      parsed.disc.tracks.push_back(t);
    } else {
      return false;
    }
    if (fields.fail()) return false;
  }
  if (!ended) return false;
  *state = parsed;
  return true;
}

bool DiscStore::Exists(const fs::path& path) {
  std::error_code ec;
  return fs::exists(MetadataPath(path), ec);
}

std::unique_ptr<DiscStore> DiscStore::Create(const fs::path& path, const Disc& disc, std::string* error) {
  std::unique_ptr<DiscStore> store(new DiscStore(path));
  store->state_.disc = disc;
  if (!store->OpenSectors(true) || !store->Save()) {
    if (error) *error = "cannot write the disc files at " + path.string();
    return nullptr;
  }
  return store;
}

std::unique_ptr<DiscStore> DiscStore::Open(const fs::path& path, std::string* error) {
  std::unique_ptr<DiscStore> store(new DiscStore(path));
  std::string text;
  if (!ReadWholeFile(MetadataPath(path), &text)) {
    if (error) *error = "no disc at " + path.string();
    return nullptr;
  }
  if (!ParseMetadata(text, &store->state_)) {
    if (error) *error = "unreadable disc metadata in " + MetadataPath(path).string();
    return nullptr;
  }
  if (!store->OpenSectors(false)) {
    if (error) *error = "cannot open the sector file " + path.string();
    return nullptr;
  }
  return store;
}

bool DiscStore::OpenSectors(bool truncate) {
  std::error_code ec;
  if (truncate || !fs::exists(path_, ec)) {
    std::ofstream create(path_, std::ios::binary | std::ios::trunc);
    if (!create) return false;
  }
  sectors_.open(path_, std::ios::binary | std::ios::in | std::ios::out);
  return sectors_.is_open();
}

bool DiscStore::Save() {
  state_.stamp = NewStamp();
  fs::path meta = MetadataPath(path_);
  fs::path temporary = meta;
  temporary += ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << FormatMetadata(state_);
    out.flush();
    if (!out) return false;
  }
  std::error_code ec;
  fs::rename(temporary, meta, ec);
  if (ec) {
    fs::remove(temporary, ec);
    return false;
  }
  return true;
}

// File times are too coarse to tell two quick saves apart, so the stamp
// inside the small metadata file decides.
bool DiscStore::ChangedOutside() const {
  std::string text;
  StoreState other;
  if (!ReadWholeFile(MetadataPath(path_), &text) || !ParseMetadata(text, &other)) return true;
  return other.stamp != state_.stamp;
}

bool DiscStore::ReadSectors(int32_t lba, uint32_t count, uint8_t* out) {
  if (lba < 0) return false;
  sectors_.clear();
  sectors_.seekg(static_cast<std::streamoff>(lba) * kSectorSize);
  std::streamsize want = static_cast<std::streamsize>(count) * kSectorSize;
  sectors_.read(reinterpret_cast<char*>(out), want);
  std::streamsize got = sectors_.gcount();
  // A sparse tail that was never written reads as zeros.
  for (std::streamsize i = got < 0 ? 0 : got; i < want; ++i) out[i] = 0;
  sectors_.clear();
  return true;
}

bool DiscStore::WriteSectors(int32_t lba, uint32_t count, const uint8_t* data) {
  if (lba < 0) return false;
  sectors_.clear();
  sectors_.seekp(static_cast<std::streamoff>(lba) * kSectorSize);
  sectors_.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(count) * kSectorSize);
  return static_cast<bool>(sectors_);
}

bool DiscStore::WriteZeros(int32_t lba, uint32_t count) {
  std::vector<uint8_t> zeros(kSectorSize, 0);
  for (uint32_t i = 0; i < count; ++i) {
    if (!WriteSectors(lba + static_cast<int32_t>(i), 1, zeros.data())) return false;
  }
  return true;
}

bool DiscStore::Truncate(int32_t lba) {
  sectors_.close();
  std::error_code ec;
  fs::resize_file(path_, static_cast<uintmax_t>(lba) * kSectorSize, ec);
  sectors_.open(path_, std::ios::binary | std::ios::in | std::ios::out);
  return !ec && sectors_.is_open();
}

bool DiscStore::Flush() {
  sectors_.flush();
  return static_cast<bool>(sectors_);
}

std::unique_ptr<DiscStore> CreateDisc(const fs::path& path, MediaKind kind, const fs::path& image,
                                      std::string* error) {
  if (kind != MediaKind::CdRom) return DiscStore::Create(path, Disc::Blank(kind), error);
  std::ifstream in;
  int32_t blocks = 0;
  if (!image.empty()) {
    std::error_code ec;
    uintmax_t bytes = fs::file_size(image, ec);
    in.open(image, std::ios::binary);
    if (ec || !in || bytes > 900000ull * kSectorSize) {
      if (error) *error = "cannot read the image " + image.string();
      return nullptr;
    }
    blocks = static_cast<int32_t>((bytes + kSectorSize - 1) / kSectorSize);
  }
  std::unique_ptr<DiscStore> store = DiscStore::Create(path, Disc::Pressed(blocks), error);
  if (!store) return nullptr;
  std::vector<uint8_t> sector(kSectorSize);
  for (int32_t lba = 0; lba < store->disc().tracks[0].recorded; ++lba) {
    std::fill(sector.begin(), sector.end(), 0);
    if (in.is_open()) in.read(reinterpret_cast<char*>(sector.data()), kSectorSize);
    if (!store->WriteSectors(lba, 1, sector.data())) {
      if (error) *error = "cannot write " + path.string();
      return nullptr;
    }
  }
  store->Flush();
  return store;
}

}  // namespace tarvo::vrec
