// The vrec tool: creates, shows, records, exports and changes discs of the
// virtual recorder. Usage in vrec/README.md.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "vrec/cdb.h"
#include "vrec/device.h"
#include "vrec/disc_store.h"
#include "vrec/mirror.h"

namespace {

using namespace tarvo::vrec;
using tarvo::DataDirection;

int Usage() {
  std::fprintf(stderr,
               "usage: vrec create DISC --kind cdr80|cdr74|cdrw|cdrom [--image FILE]\n"
               "       vrec show DISC\n"
               "       vrec export DISC SESSION OUT.iso\n"
               "       vrec record DISC IMAGE [--open|--final]\n"
               "       vrec load DISC | vrec eject DISC\n"
               "       vrec mirror DISC FOLDER\n");
  return 2;
}

std::unique_ptr<DiscStore> OpenOrComplain(const char* path) {
  std::string error;
  auto store = DiscStore::Open(path, &error);
  if (!store) std::fprintf(stderr, "vrec: %s\n", error.c_str());
  return store;
}

const char* StatusName(DiscStatus status) {
  switch (status) {
    case DiscStatus::Empty: return "blank";
    case DiscStatus::Incomplete: return "appendable";
    case DiscStatus::Complete: return "finalised";
  }
  return "?";
}

const char* SessionName(SessionState state) {
  switch (state) {
    case SessionState::Empty: return "empty";
    case SessionState::Incomplete: return "incomplete";
    case SessionState::Complete: return "complete";
  }
  return "?";
}

int Show(const char* path) {
  auto store = OpenOrComplain(path);
  if (!store) return 1;
  const Disc& disc = store->disc();
  std::printf("disc %s\nkind %s\nloaded %s\nstatus %s\nlast-session %s\nsessions %d\nclosed-sessions %d\n", path,
              MediaKindName(disc.kind), store->loaded() ? "yes" : "no", StatusName(disc.Status()),
              SessionName(disc.LastSessionState()), disc.SessionCount(), disc.closedSessions);
  std::printf("last-possible-lead-out %d\n", disc.lastPossibleLeadOut);
  if (auto invisible = disc.InvisibleTrack()) {
    std::printf("next-writable %d\nfree-blocks %d\n", invisible->nextWritable, invisible->freeBlocks);
  } else {
    std::printf("next-writable none\n");
  }
  for (const Track& t : disc.tracks) {
    std::printf("track %d session %d start %d size %d recorded %d %s mode %d\n", t.number, t.session, t.start,
                t.closed ? t.size : 0, t.recorded, t.closed ? "closed" : "open", t.trackMode & 0x0F);
  }
  for (const Track& t : disc.tracks) {
    if (t.session <= disc.closedSessions) std::printf("toc %d %d\n", t.number, t.start);
  }
  if (disc.closedSessions > 0) std::printf("toc lead-out %d\n", disc.LastClosedSessionEnd());
  return 0;
}

int Export(const char* path, int session, const char* out) {
  auto store = OpenOrComplain(path);
  if (!store) return 1;
  const Disc& disc = store->disc();
  int32_t start = disc.SessionStart(session);
  if (start < 0) {
    std::fprintf(stderr, "vrec: no session %d on %s\n", session, path);
    return 1;
  }
  int32_t end = start;
  for (const Track& t : disc.tracks) {
    if (t.session == session) end = t.start + t.recorded;
  }
  std::ofstream image(out, std::ios::binary | std::ios::trunc);
  std::vector<uint8_t> sector(kSectorSize);
  for (int32_t lba = start; lba < end; ++lba) {
    std::fill(sector.begin(), sector.end(), 0);
    // Pre-gaps between tracks of one session hold no data: zeros.
    if (disc.Classify(lba) == Disc::Readability::Readable) store->ReadSectors(lba, 1, sector.data());
    image.write(reinterpret_cast<const char*>(sector.data()), kSectorSize);
  }
  if (!image) {
    std::fprintf(stderr, "vrec: cannot write %s\n", out);
    return 1;
  }
  std::printf("session %d: %d blocks from %d\n", session, end - start, start);
  return 0;
}

// Records an image as one new session through the device model itself, as
// a recording program would: write parameters, WRITE(10) at the next
// writable address, CLOSE SESSION.
int Record(const char* path, const char* imagePath, bool leaveOpen) {
  DeviceConfig config;
  config.discPath = path;
  config.timeScale = 0;
  Device device(config);
  auto run = [&device](std::vector<uint8_t> cdb, DataDirection direction, uint8_t* data, uint32_t length) {
    cdb.resize(12, 0);
    Outcome outcome = device.Execute(cdb.data(), cdb.size(), direction, data, length);
    if (outcome.status != 0) {
      std::fprintf(stderr, "vrec: command %02X refused: sense %X/%02X/%02X\n", cdb[0], outcome.sense.key,
                   outcome.sense.asc, outcome.sense.ascq);
    }
    return outcome.status == 0;
  };
  std::vector<uint8_t> mode(256, 0);
  if (!run({0x5A, 0x08, 0x05, 0, 0, 0, 0, 0x01, 0x00}, DataDirection::In, mode.data(), 256)) return 1;
  uint32_t total = Get16(&mode[0]) + 2u;
  mode[8 + 3] = leaveOpen ? 0xC4 : 0x04;
  if (!run({0x55, 0x10, 0, 0, 0, 0, 0, static_cast<uint8_t>(total >> 8), static_cast<uint8_t>(total)},
           DataDirection::Out, mode.data(), total)) {
    return 1;
  }
  std::vector<uint8_t> track(36, 0);
  if (!run({0x52, 0x01, 0, 0, 0, 0xFF, 0, 0, 36}, DataDirection::In, track.data(), 36)) return 1;
  uint32_t next = Get32(&track[12]);
  std::ifstream image(imagePath, std::ios::binary);
  if (!image) {
    std::fprintf(stderr, "vrec: cannot read %s\n", imagePath);
    return 1;
  }
  std::vector<uint8_t> sector(kSectorSize);
  uint32_t blocks = 0;
  while (image.read(reinterpret_cast<char*>(sector.data()), kSectorSize) || image.gcount() > 0) {
    std::fill(sector.begin() + image.gcount(), sector.end(), 0);
    uint32_t lba = next + blocks;
    if (!run({0x2A, 0, uint8_t(lba >> 24), uint8_t(lba >> 16), uint8_t(lba >> 8), uint8_t(lba), 0, 0, 1},
             DataDirection::Out, sector.data(), kSectorSize)) {
      return 1;
    }
    ++blocks;
  }
  if (!run({0x35}, DataDirection::None, nullptr, 0) || !run({0x5B, 0, 0x02}, DataDirection::None, nullptr, 0)) {
    return 1;
  }
  std::printf("recorded %u blocks at %u\n", blocks, next);
  return 0;
}

int SetLoaded(const char* path, bool loaded) {
  auto store = OpenOrComplain(path);
  if (!store) return 1;
  store->set_loaded(loaded);
  return store->Save() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  std::string command = argv[1];
  const char* disc = argv[2];
  if (command == "create") {
    std::string kindName, image;
    for (int i = 3; i + 1 < argc; i += 2) {
      if (std::strcmp(argv[i], "--kind") == 0) kindName = argv[i + 1];
      else if (std::strcmp(argv[i], "--image") == 0) image = argv[i + 1];
      else return Usage();
    }
    std::optional<MediaKind> kind = ParseMediaKind(kindName);
    if (!kind) return Usage();
    std::string error;
    if (!CreateDisc(disc, *kind, image, &error)) {
      std::fprintf(stderr, "vrec: %s\n", error.c_str());
      return 1;
    }
    return 0;
  }
  if (command == "show" && argc == 3) return Show(disc);
  if (command == "export" && argc == 5) return Export(disc, std::atoi(argv[3]), argv[4]);
  if (command == "record" && (argc == 4 || argc == 5)) {
    bool leaveOpen = argc == 4 || std::strcmp(argv[4], "--open") == 0;
    if (argc == 5 && !leaveOpen && std::strcmp(argv[4], "--final") != 0) return Usage();
    return Record(disc, argv[3], leaveOpen);
  }
  if (command == "load" && argc == 3) return SetLoaded(disc, true);
  if (command == "eject" && argc == 3) return SetLoaded(disc, false);
  if (command == "mirror" && argc == 4) {
    auto store = OpenOrComplain(disc);
    if (!store) return 1;
    int files = MirrorLastSession(argv[3], store->loaded() ? store.get() : nullptr);
    if (files < 0) return 1;
    std::printf("%d files\n", files);
    return 0;
  }
  return Usage();
}
