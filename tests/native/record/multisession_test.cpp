// Three sessions onto one CD-R through RecordCompilation: multi-session on,
// on, then off, which finalises the disc. Each later compilation carries the
// earlier files over as Recorded entries (as the browser imports them from
// the drive letter) and adds new ones. After each session, isoinfo and
// xorriso list the whole tree of that session, every file extracts byte for
// byte, old files keep their first extents, and the structural checker
// passes on the session. Skipped when the readers are not installed.
#include <cstdlib>
#include <map>
#include <regex>
#include <sstream>

#include "iso/recorder_texts.h"
#include "isocheck.h"
#include "record_fixture.h"
#include "vrec/record_session.h"

namespace tarvo::test {
namespace {

bool HaveTool(const char* name) {
  return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

struct Planned {
  std::string path;  // in the volume, '/' separated
  std::string data;
};

class MultiSessionTest : public RecordingFixture {
 protected:
  void SetUp() override {
    for (const char* tool : {"isoinfo", "xorriso"})
      if (!HaveTool(tool)) GTEST_SKIP() << tool << " is not installed";
    RecordingFixture::SetUp();
  }

  std::string Run(const std::string& command) {
    const fs::path out = dir / "tool.out";
    const int rc = std::system((command + " >" + out.string() + " 2>&1").c_str());
    std::string text = ReadBytes(out);
    EXPECT_EQ(rc, 0) << command << "\n" << text;
    return text;
  }

  // isoinfo -l -J of the session at `start`: path -> extent of every file.
  std::map<std::string, uint32_t> ListExtents(uint32_t start) {
    const std::string listing =
        Run("isoinfo -i " + DiscPath().string() + " -T " + std::to_string(start) + " -l -J");
    std::map<std::string, uint32_t> extents;
    std::string directory;
    const std::regex heading(R"(^Directory listing of (.*)$)");
    const std::regex entry(R"(^(-|d)\S+\s.*\[\s*(\d+)\s+\d+\]\s+(.+?)\s*$)");
    std::istringstream lines(listing);
    for (std::string line; std::getline(lines, line);) {
      std::smatch m;
      if (std::regex_match(line, m, heading)) {
        directory = m[1];
      } else if (std::regex_match(line, m, entry) && m[1] == "-") {
        std::string name = m[3];
        if (name.size() > 2 && name.compare(name.size() - 2, 2, ";1") == 0) name.resize(name.size() - 2);
        extents[directory.substr(1) + name] = uint32_t(std::stoul(m[2]));
      }
    }
    return extents;
  }

  void CheckSession(uint32_t start, const std::vector<Planned>& files) {
    SCOPED_TRACE("session at " + std::to_string(start));
    const std::map<std::string, uint32_t> extents = ListExtents(start);
    EXPECT_EQ(extents.size(), files.size());
    for (const Planned& f : files) {
      ASSERT_TRUE(extents.count(f.path)) << f.path;
      const auto first = firstExtent.find(f.path);
      if (first == firstExtent.end()) {
        firstExtent[f.path] = extents.at(f.path);
        EXPECT_GE(extents.at(f.path), start) << f.path << ": new data lie in the new session";
      } else {
        EXPECT_EQ(extents.at(f.path), first->second) << f.path << " keeps its earlier extent";
      }
    }
    const std::string found = Run("xorriso -abort_on NEVER -load sbsector " + std::to_string(start) +
                                  " -indev " + DiscPath().string() + " -find / -type f -exec lsdl --");
    for (const Planned& f : files) EXPECT_NE(found.find(f.path.substr(f.path.rfind('/') + 1)), std::string::npos);
    const fs::path out = dir / ("extract-" + std::to_string(start));
    Run("xorriso -osirrox on -load sbsector " + std::to_string(start) + " -indev " + DiscPath().string() +
        " -extract / " + out.string());
    for (const Planned& f : files) EXPECT_TRUE(ReadBytes(out / f.path) == f.data) << f.path << " differs";
    fs::permissions(out, fs::perms::owner_all, fs::perm_options::add);

    IsoCheckOptions options;
    options.sessionStart = start;
    options.allowShort = false;
    const IsoCheckReport report = CheckIsoImage(DiscPath().string(), options);
    EXPECT_TRUE(report.ok()) << ::testing::PrintToString(report.problems);
  }

  std::map<std::string, uint32_t> firstExtent;
};

TEST_F(MultiSessionTest, ThreeSessionsCarryEarlierFilesOverAndTheLastFinalises) {
  const std::string readme = Pattern(5000, 1), guide = Pattern(12345, 2), data = Pattern(100000, 3);
  const std::string new2 = Pattern(2048, 4), added2 = Pattern(1, 5), final3 = Pattern(40000, 6);
  WriteBytes(Source("readme.txt"), readme);
  WriteBytes(Source("Docs/Guide with a long name.txt"), guide);
  WriteBytes(Source("Docs/Deep/data.bin"), data);
  WriteBytes(Source("new2.txt"), new2);
  WriteBytes(Source("Docs/added2.bin"), added2);
  WriteBytes(Source("final3.txt"), final3);
  const std::string src = SourceDir(), docs = src + "Docs/", deep = docs + "Deep/";
  const std::string drive = "R:\\", driveDocs = "R:\\Docs\\", driveDeep = "R:\\Docs\\Deep\\";
  auto recorded = [](TestEntry e) {
    e.kind = kListKindRecorded;
    return e;
  };

  // Session 1: a fresh compilation, multi-session on.
  WriteList({File(0, "readme.txt", 5000, src), Dir(0, "Docs", src), File(1, "Guide with a long name.txt", 12345, docs),
             Dir(1, "Deep", docs), File(2, "data.bin", 100000, deep)});
  ASSERT_EQ(NextWritableAddress(), 0u);
  ASSERT_EQ(RecordDisc(true), 1) << ::testing::PrintToString(user.Texts());
  std::vector<Planned> files = {{"readme.txt", readme}, {"Docs/Guide with a long name.txt", guide},
                                {"Docs/Deep/data.bin", data}};
  CheckSession(0, files);
  InsertDisc();
  EXPECT_TRUE(ReadBytes(dir / "mirror" / "Docs" / "Deep" / "data.bin") == data) << "the mirror shows the files";

  // Session 2: the recorded files come back from the drive letter; two new ones.
  const uint32_t second = NextWritableAddress();
  WriteList({recorded(File(0, "readme.txt", 5000, drive)), File(0, "new2.txt", 2048, src),
             recorded(Dir(0, "Docs", drive)), recorded(File(1, "Guide with a long name.txt", 12345, driveDocs)),
             File(1, "added2.bin", 1, docs), recorded(Dir(1, "Deep", driveDocs)),
             recorded(File(2, "data.bin", 100000, driveDeep))});
  user.status.clear();
  ASSERT_EQ(RecordDisc(true), 1) << ::testing::PrintToString(user.Texts());
  EXPECT_EQ(user.status.front(), texts::kNotesRestart) << "the earlier session was imported";
  files.push_back({"new2.txt", new2});
  files.push_back({"Docs/added2.bin", added2});
  CheckSession(second, files);
  for (const TracedCommand& c : RecordingTrace()) {
    if (c.name != "WRITE(10)") continue;
    EXPECT_EQ(uint32_t(c.cdb[2]) << 24 | c.cdb[3] << 16 | c.cdb[4] << 8 | c.cdb[5], second);
    break;
  }

  // Session 3 without multi-session: the disc is finalised.
  const uint32_t third = NextWritableAddress();
  ASSERT_GT(third, second);
  WriteList({recorded(File(0, "readme.txt", 5000, drive)), recorded(File(0, "new2.txt", 2048, drive)),
             File(0, "final3.txt", 40000, src), recorded(Dir(0, "Docs", drive)),
             recorded(File(1, "Guide with a long name.txt", 12345, driveDocs)),
             recorded(File(1, "added2.bin", 1, driveDocs)), recorded(Dir(1, "Deep", driveDocs)),
             recorded(File(2, "data.bin", 100000, driveDeep))});
  ASSERT_EQ(RecordDisc(false), 1) << ::testing::PrintToString(user.Texts());
  files.push_back({"final3.txt", final3});
  CheckSession(third, files);

  InsertDisc();
  ASSERT_EQ(ReadDiscInformation(*access, false, 0), kStatusGood);
  EXPECT_EQ(access->discInfo.DiscStatus, 2) << "complete: no further session";
  EXPECT_EQ(access->discInfo.nSessions, 3);
  const size_t shownBefore = user.shown.size();
  EXPECT_EQ(RecordDisc(true), 0) << "a finalised disc has no next writable address";
  EXPECT_EQ(user.shown.size(), shownBefore) << "refused without a message";
}

TEST_F(MultiSessionTest, SessionOfAnotherWriterIsCarriedOverByPath) {
  // genisoimage sorts Joliet names by code unit ("B" before "a") and places
  // its directories its own way, while the compilation lists the recorded
  // files as the browser sorts them, without regard to case: each carried
  // file must still get its own data.
  const fs::path tree = dir / "other";
  const std::vector<Planned> old = {{"Zeta.txt", Pattern(3000, 11)}, {"alpha.txt", Pattern(5000, 12)},
                                    {"B/x.bin", Pattern(7000, 13)},  {"a/y.bin", Pattern(2049, 14)},
                                    {"a/sub/z.bin", Pattern(100, 15)}};
  for (const Planned& f : old) WriteBytes(tree / f.path, f.data);
  Run("genisoimage -quiet -J -V OTHER -o " + (dir / "other.iso").string() + " " + tree.string());
  std::string message;
  ASSERT_TRUE(vrec::RecordImageSession(DiscPath().string(), (dir / "other.iso").string(), true, &message))
      << message;
  InsertDisc();
  firstExtent = ListExtents(0);
  ASSERT_EQ(firstExtent.size(), old.size());

  const std::string added = Pattern(4444, 16);
  WriteBytes(Source("new.txt"), added);
  const std::string drive = "R:\\";
  auto recorded = [](TestEntry e) {
    e.kind = kListKindRecorded;
    return e;
  };
  const uint32_t second = NextWritableAddress();
  WriteList({recorded(Dir(0, "a", drive)), recorded(Dir(1, "sub", "R:\\a\\")),
             recorded(File(2, "z.bin", 100, "R:\\a\\sub\\")), recorded(File(1, "y.bin", 2049, "R:\\a\\")),
             recorded(File(0, "alpha.txt", 5000, drive)), recorded(Dir(0, "B", drive)),
             recorded(File(1, "x.bin", 7000, "R:\\B\\")), File(0, "new.txt", 4444, SourceDir()),
             recorded(File(0, "Zeta.txt", 3000, drive))});
  ASSERT_EQ(RecordDisc(true), 1) << ::testing::PrintToString(user.Texts());
  std::vector<Planned> files = old;
  files.push_back({"new.txt", added});
  CheckSession(second, files);
}

}  // namespace
}  // namespace tarvo::test
