// A three-session disc recorded through the device model, each session an
// ISO-9660 volume with Rock Ridge and Joliet made by genisoimage (sessions 2 and 3 with -C/-M,
// reading the previous session straight from the disc's sector file), then
// read back by isoinfo and xorriso at each session's start, and seen in the
// mirror folder. Skipped when those tools are not installed.
#include <cstdlib>

#include "vrec_test_support.h"

namespace tarvo::vrec::testing {
namespace {

bool HaveTool(const char* name) {
  std::string command = std::string("command -v ") + name + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

std::string Capture(const std::string& command, const fs::path& output) {
  std::string full = command + " >" + output.string() + " 2>&1";
  int rc = std::system(full.c_str());
  std::string text = ReadFile(output);
  return rc == 0 ? text : "FAILED(" + std::to_string(rc) + "): " + text;
}

class MultiSessionToolsTest : public RecorderTest {
 public:
  void SetUp() override {
    for (const char* tool : {"genisoimage", "isoinfo", "xorriso"}) {
      if (!HaveTool(tool)) GTEST_SKIP() << tool << " is not installed";
    }
    MakeBus("mirror = mirror\n", "cdr80");
  }

  // Writes the image file as one session at the next writable address, 16
  // blocks per WRITE(10); returns the session's start.
  uint32_t RecordImage(const fs::path& image) {
    EXPECT_EQ(SetWriteParameters(true).status, 0);
    uint32_t start = TrackInfo(0xFF).U32(12);
    std::string bytes = ReadFile(image);
    bytes.resize((bytes.size() + 2047) / 2048 * 2048, '\0');
    for (size_t at = 0; at < bytes.size(); at += 16 * 2048) {
      size_t chunk = std::min<size_t>(16 * 2048, bytes.size() - at);
      std::vector<uint8_t> data(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + chunk));
      Reply r = Write(start + static_cast<uint32_t>(at / 2048), data);
      EXPECT_EQ(r.status, 0) << SenseText(r.sense);
    }
    EXPECT_EQ(SyncCache().status, 0);
    EXPECT_EQ(CloseSession().status, 0);
    return start;
  }

  fs::path MakeSession(int n, uint32_t previousStart, uint32_t nextStart) {
    fs::path dir = temp_.path() / ("src" + std::to_string(n));
    WriteFile(dir / ("session" + std::to_string(n) + ".txt"), "content of session " + std::to_string(n) + "\n");
    WriteFile(dir / ("Sub Folder " + std::to_string(n)) / ("A rather long Joliet name " + std::to_string(n) + ".dat"),
              std::string(5000 + n, static_cast<char>('a' + n)));
    fs::path image = temp_.path() / ("s" + std::to_string(n) + ".iso");
    std::string command = "genisoimage -quiet -R -J -V VOL" + std::to_string(n) + " -o " + image.string();
    if (n > 1) {
      command += " -C " + std::to_string(previousStart) + "," + std::to_string(nextStart) + " -M " +
                 discPath_.string();
    }
    command += " " + dir.string();
    std::string output = Capture(command, temp_.path() / "genisoimage.out");
    EXPECT_NE(output.rfind("FAILED", 0), 0u) << command << "\n" << output;
    return image;
  }
};

TEST_F(MultiSessionToolsTest, EachSessionReadsBackWithIsoinfoAndXorriso) {
  std::vector<uint32_t> starts;
  for (int n = 1; n <= 3; ++n) {
    uint32_t next = TrackInfo(0xFF).U32(12);
    fs::path image = MakeSession(n, n > 1 ? starts.back() : 0, next);
    starts.push_back(RecordImage(image));
    EXPECT_EQ(starts.back(), next);
  }
  EXPECT_EQ(starts[0], 0u);
  // Session sizes come from the disc's own track records.
  uint32_t end1 = starts[0] + TrackInfo(1).U32(24);
  uint32_t end2 = starts[1] + TrackInfo(2).U32(24);
  EXPECT_EQ(starts[1], end1 + 11400);
  EXPECT_EQ(starts[2], end2 + 6900);

  Reply toc = Toc();
  ASSERT_EQ(toc.status, 0);
  ASSERT_EQ(toc[3], 3);
  Reply disc = DiscInfo();
  EXPECT_EQ(disc[4], 4) << "three closed sessions and the empty fourth";
  for (int n = 1; n <= 3; ++n) {
    SCOPED_TRACE(n);
    uint32_t start = starts[static_cast<size_t>(n - 1)];
    EXPECT_EQ(toc.U32(4 + 8 * (n - 1) + 4), start);
    Reply track = TrackInfo(static_cast<uint32_t>(n));
    EXPECT_EQ(track[3], n);
    EXPECT_EQ(track.U32(8), start);

    std::string listing = Capture("isoinfo -i " + discPath_.string() + " -T " + std::to_string(start) + " -l -J",
                                  temp_.path() / "isoinfo.out");
    std::string found = Capture("xorriso -abort_on NEVER -load sbsector " + std::to_string(start) + " -indev " +
                                    discPath_.string() + " -find / -exec lsdl --",
                                temp_.path() / "xorriso.out");
    // Each later session carries the earlier sessions' files over (-M; the
    // names survive through Rock Ridge).
    for (int k = 1; k <= 3; ++k) {
      std::string name = "session" + std::to_string(k) + ".txt";
      std::string longName = "A rather long Joliet name " + std::to_string(k) + ".dat";
      bool expected = k <= n;
      EXPECT_EQ(listing.find(name) != std::string::npos, expected) << listing;
      EXPECT_EQ(listing.find(longName) != std::string::npos, expected) << listing;
      EXPECT_EQ(found.find(name) != std::string::npos, expected) << found;
      EXPECT_EQ(found.find(longName) != std::string::npos, expected) << found;
    }
  }

  fs::path extracted = temp_.path() / "extracted";
  std::string extract = Capture("xorriso -osirrox on -load sbsector " + std::to_string(starts[1]) + " -indev " +
                                    discPath_.string() + " -extract / " + extracted.string(),
                                temp_.path() / "extract.out");
  EXPECT_EQ(ReadFile(extracted / "session2.txt"), "content of session 2\n") << extract;
  EXPECT_EQ(ReadFile(extracted / "Sub Folder 1" / "A rather long Joliet name 1.dat"), std::string(5001, 'b'));

  // The mirror holds the last session: all three sessions' files.
  fs::path mirror = temp_.path() / "mirror";
  EXPECT_FALSE(fs::exists(mirror / ".windows-label")) << "the mirror holds only the disc's files";
  EXPECT_EQ(ReadFile(mirror / "session3.txt"), "content of session 3\n");
  EXPECT_EQ(ReadFile(mirror / "Sub Folder 3" / "A rather long Joliet name 3.dat"), std::string(5003, 'd'));
  EXPECT_EQ(ReadFile(mirror / "session1.txt"), "content of session 1\n");
  auto sourceTime = fs::last_write_time(temp_.path() / "src3" / "session3.txt");
  auto mirrorTime = fs::last_write_time(mirror / "session3.txt");
  EXPECT_LE(std::chrono::abs(sourceTime - mirrorTime), std::chrono::seconds(1)) << "recording date kept";

  // Ejecting empties the mirror; loading brings the files back.
  ASSERT_EQ(StartStop(0x02).status, 0);
  EXPECT_TRUE(fs::is_empty(mirror));
  ASSERT_EQ(StartStop(0x03).status, 0);
  EXPECT_TRUE(fs::exists(mirror / "session3.txt"));
}

}  // namespace
}  // namespace tarvo::vrec::testing
