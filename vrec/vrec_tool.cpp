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
#include "vrec/record_session.h"

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

int Record(const char* path, const char* imagePath, bool leaveOpen) {
  std::string message;
  const bool ok = RecordImageSession(path, imagePath, leaveOpen, &message);
  std::fprintf(ok ? stdout : stderr, "%s%s\n", ok ? "" : "vrec: ", message.c_str());
  return ok ? 0 : 1;
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
