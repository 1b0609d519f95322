// The structural checker finds the faults that public readers let through.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cstring>
#include <functional>

#include "iso/image_route.h"
#include "iso/iso_numbers.h"
#include "isocheck.h"
#include "list_builder.h"
#include "recorder_fakes.h"

namespace tarvo {
namespace {

namespace fs = std::filesystem;
using test::Dir;
using test::File;
using test::Marker;

// Root (19) holds a/ (20), c/ (21) and g; a/ holds b/ (22), which holds f.
// Primary path tables at 23 and 24, Joliet directories 25-28, tables 29 and
// 30; g's data at 31 (two sectors), f's at 33; 34 sectors.
std::string GoodImage() {
  const fs::path dir = fs::temp_directory_path() / "tarvo-isocheck-test";
  fs::create_directories(dir);
  const std::string src = dir.string() + "/";
  std::ofstream(dir / "f") << std::string(100, 'f');
  std::ofstream(dir / "g") << std::string(3000, 'g');
  std::ofstream(dir / "list.dat", std::ios::binary)
      << test::ListBytes({Dir(0, "a"), Dir(1, "b"), File(2, "f", 100, src), Dir(0, "c"), Marker(1),
                          File(0, "g", 3000, src)});
  RecordRequest request;
  request.listPath = (dir / "list.dat").string();
  request.scratchPath = (dir / "scratch.dat").string();
  test::FakeUser user;
  test::CountingProgress progress;
  RecorderEnvironment env{user, progress};
  ImageRoute route({(dir / "good.iso").string(), dir.string(), ""}, 1, [](const std::string&) { return ~0ull; });
  EXPECT_EQ(RecordCompilation(request, env, route), 1);
  std::ifstream in(dir / "good.iso", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), {});
  fs::remove_all(dir);
  return bytes;
}

uint8_t* At(std::string& image, uint32_t lba, uint32_t offset = 0) {
  return reinterpret_cast<uint8_t*>(image.data()) + lba * kSectorSize + offset;
}

// Offset of the record with identifier `id` in the directory sector at `lba`.
uint32_t RecordOffset(std::string& image, uint32_t lba, const std::string& id) {
  for (uint32_t at = 0; at < kSectorSize && *At(image, lba, at) != 0; at += *At(image, lba, at))
    if (std::string(reinterpret_cast<char*>(At(image, lba, at + 33)), *At(image, lba, at + 32)) == id) return at;
  ADD_FAILURE() << "no record " << id;
  return 0;
}

std::vector<std::string> Check(const std::string& image, const IsoCheckOptions& options = {}) {
  const fs::path path = fs::temp_directory_path() / "tarvo-isocheck-image.iso";
  std::ofstream(path, std::ios::binary) << image;
  const IsoCheckReport report = CheckIsoImage(path.string(), options);
  fs::remove(path);
  return report.problems;
}

TEST(IsoCheck, AcceptsTheRecordersImage) {
  const std::string image = GoodImage();
  ASSERT_EQ(image.size(), 34u * kSectorSize);
  EXPECT_EQ(Check(image), std::vector<std::string>{});
}

TEST(IsoCheck, FindsStructuralFaults) {
  struct Case {
    const char* what;
    std::function<void(std::string&)> damage;
    const char* problem;
  } cases[] = {
      {"volume space size too large",
       [](std::string& i) {
         for (uint32_t lba : {16u, 17u}) PutBoth32(At(i, lba, 80), 35);
       },
       "volume space size 35 but the volume occupies 34"},
      {"image shorter than the volume", [](std::string& i) { i.resize(33 * kSectorSize); },
       "the image ends before the volume does"},
      {"\"..\" of a subdirectory pointing elsewhere", [](std::string& i) { PutBoth32(At(i, 22, 34 + 2), 21); },
       "\"..\" does not describe the parent"},
      {"\".\" not first",
       [](std::string& i) { std::swap(*At(i, 21, 33), *At(i, 21, 34 + 33)); },
       "\".\" and \"..\" are not the first records"},
      {"a record crossing the sector end",
       [](std::string& i) {
         // Records of 254 bytes after the root's last one, then one running over the end.
         uint32_t at = RecordOffset(i, 19, "G;1");
         for (; at + 254 <= kSectorSize; at += 254) {
           std::memset(At(i, 19, at), 0, 254);
           *At(i, 19, at) = 254;
           PutBoth32(At(i, 19, at + 2), 31);
           *At(i, 19, at + 32) = 1;
           *At(i, 19, at + 33) = 'X';
         }
         *At(i, 19, at) = static_cast<uint8_t>(kSectorSize - at + 10);
         *At(i, 19, at + 32) = 1;
       },
       "crosses the end of sector 19"},
      {"a file extent outside the volume",
       [](std::string& i) { PutBoth32(At(i, 19, RecordOffset(i, 19, "G;1") + 2), 40); },
       "a file extent lies outside the volume"},
      {"trees pointing at different data",
       [](std::string& i) { PutBoth32(At(i, 25, RecordOffset(i, 25, std::string("\0g\0;\0" "1", 6)) + 2), 32); },
       "point at different file extents"},
      {"L and M tables disagreeing", [](std::string& i) { PutLsb32(At(i, 23, 10 + 2), 21); },
       "L and M path tables disagree"},
      {"path table not breadth-first",
       [](std::string& i) {
         for (uint32_t lba : {23u, 24u})  // records 2 (a) and 3 (c) exchanged in both tables
           for (int k = 0; k < 10; ++k) std::swap(*At(i, lba, 10 + k), *At(i, lba, 20 + k));
       },
       "not in breadth-first order"},
      {"path table parents not ascending",
       [](std::string& i) {
         PutLsb16(At(i, 23, 30 + 6), 1);
         PutMsb16(At(i, 24, 30 + 6), 1);
       },
       "wrong parent"},
      {"two entries with one identifier",
       [](std::string& i) { std::memcpy(At(i, 19, RecordOffset(i, 19, "G;1") + 33), "C", 1); },
       "two entries carry the same identifier"},
  };
  const std::string good = GoodImage();
  for (const Case& c : cases) {
    std::string image = good;
    c.damage(image);
    const std::vector<std::string> problems = Check(image);
    bool found = false;
    for (const std::string& p : problems) found = found || p.find(c.problem) != std::string::npos;
    EXPECT_TRUE(found) << c.what << ": " << (problems.empty() ? "no problem found" : problems[0]);
  }
}

TEST(IsoCheck, LaterSessionMayPointIntoEarlierOnes) {
  // A session at 12000 whose recorded file keeps its extent 30 in the first session.
  const fs::path dir = fs::temp_directory_path() / "tarvo-isocheck-session";
  fs::create_directories(dir);
  std::ofstream(dir / "new") << "new";
  test::TestEntry old = File(0, "old", 5000, "E:\\");
  old.kind = kListKindRecorded;
  std::ofstream(dir / "list.dat", std::ios::binary) << test::ListBytes({old, File(0, "new", 3, dir.string() + "/")});
  RecordRequest request;
  request.listPath = (dir / "list.dat").string();
  request.scratchPath = (dir / "scratch.dat").string();
  test::FakeUser user;
  test::CountingProgress progress;
  RecorderEnvironment env{user, progress};
  test::MemoryRoute route(12000);
  PreviousSession previous;
  previous.imported = true;
  previous.extents[u"OLD"] = 30;
  route.previous = &previous;
  ASSERT_EQ(RecordCompilation(request, env, route), 1);
  fs::remove_all(dir);
  std::string image(12000u * kSectorSize, '\0');
  for (const auto& [lba, sector] : route.sink.sectors) image.append(sector.begin(), sector.end());
  IsoCheckOptions options;
  options.sessionStart = 12000;
  EXPECT_EQ(Check(image, options), std::vector<std::string>{});
  EXPECT_EQ(GetLsb32(At(image, 12019, RecordOffset(image, 12019, "OLD;1") + 2)), 30u);
  PutBoth32(At(image, 12019, RecordOffset(image, 12019, "OLD;1") + 2), 11999);  // runs into the new session
  EXPECT_FALSE(Check(image, options).empty());
}

}  // namespace
}  // namespace tarvo
