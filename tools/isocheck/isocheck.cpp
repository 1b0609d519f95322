#include "isocheck.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <fstream>
#include <map>
#include <set>
#include <tuple>

namespace tarvo {

namespace {

constexpr uint32_t kSector = 2048;

uint32_t Lsb32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
uint32_t Msb32(const uint8_t* p) { return (uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }
uint16_t Lsb16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint16_t Msb16(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }
uint32_t Sectors(uint64_t bytes) { return uint32_t((bytes + kSector - 1) / kSector); }

class Image {
 public:
  explicit Image(const std::string& path) : in_(path, std::ios::binary) {
    if (in_) {
      in_.seekg(0, std::ios::end);
      size_ = static_cast<uint64_t>(in_.tellg());
    }
  }
  bool open() const { return static_cast<bool>(in_); }
  uint64_t size() const { return size_; }
  bool Read(uint32_t lba, uint32_t count, std::vector<uint8_t>& out) {
    const uint64_t at = uint64_t(lba) * kSector, bytes = uint64_t(count) * kSector;
    if (at + bytes > size_ || bytes > (uint64_t(1) << 30)) return false;
    out.resize(bytes);
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(at));
    in_.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(bytes));
    return static_cast<bool>(in_);
  }

 private:
  std::ifstream in_;
  uint64_t size_ = 0;
};

struct Record {
  uint32_t extent = 0, length = 0;
  uint8_t flags = 0;
  std::string id;
};

struct Directory {
  uint32_t extent = 0, length = 0;
  uint32_t parentExtent = 0, parentLength = 0;
  std::string path;
  uint32_t number = 0;  // breadth-first position, root 1
};

struct PathRecord {
  std::string id;
  uint32_t extent = 0;
  uint16_t parent = 0;
};

struct Interval {
  uint32_t start, sectors;
  std::string what;
};

class Checker {
 public:
  Checker(Image& image, const IsoCheckOptions& options, IsoCheckReport& report)
      : image_(image), options_(options), report_(report) {}
  void Run();

 private:
  void Problem(const std::string& text) {
    if (report_.problems.size() < 200) report_.problems.push_back(text);
  }
  void CheckTree(const uint8_t* descriptor, int tree, std::vector<std::pair<uint32_t, uint32_t>>& files);
  std::vector<Record> ReadDirectory(const Directory& dir, int tree);
  std::vector<PathRecord> ReadPathTable(uint32_t location, uint32_t size, bool msb, const std::string& name);
  bool InVolume(uint32_t start, uint32_t sectors) const {
    return start >= options_.sessionStart && uint64_t(start) + sectors <= end_;
  }

  Image& image_;
  const IsoCheckOptions& options_;
  IsoCheckReport& report_;
  uint64_t end_ = 0;  // first sector after the volume
  std::vector<Interval> used_;
};

std::vector<Record> Checker::ReadDirectory(const Directory& dir, int tree) {
  std::vector<Record> records;
  std::vector<uint8_t> data;
  const uint32_t sectors = Sectors(dir.length);
  if (dir.length % kSector != 0) Problem(dir.path + ": directory length " + std::to_string(dir.length) + " is not whole sectors");
  if (!InVolume(dir.extent, sectors)) {
    Problem(dir.path + ": directory extent outside the volume");
    return records;
  }
  if (!image_.Read(dir.extent, sectors, data)) {
    Problem(dir.path + ": directory can't be read");
    return records;
  }
  for (uint32_t s = 0; s < sectors; ++s) {
    for (uint32_t at = 0; at < kSector;) {
      const uint8_t* r = data.data() + s * kSector + at;
      if (r[0] == 0) break;  // rest of the sector unused
      const uint32_t length = r[0];
      if (at + length > kSector) {
        Problem(dir.path + ": a record crosses the end of sector " + std::to_string(dir.extent + s));
        break;
      }
      if (length < 34 || r[32] == 0 || 33u + r[32] > length) {
        Problem(dir.path + ": malformed record at sector offset " + std::to_string(at));
        break;
      }
      Record rec;
      rec.extent = Lsb32(r + 2);
      rec.length = Lsb32(r + 10);
      if (Msb32(r + 6) != rec.extent || Msb32(r + 14) != rec.length)
        Problem(dir.path + ": both-byte-order fields disagree");
      rec.flags = r[25];
      rec.id.assign(reinterpret_cast<const char*>(r + 33), r[32]);
      records.push_back(rec);
      at += length;
    }
  }
  if (records.size() < 2 || records[0].id != std::string(1, '\0') || records[1].id != std::string(1, '\1')) {
    Problem(dir.path + ": \".\" and \"..\" are not the first records");
    return records;
  }
  if (records[0].extent != dir.extent || records[0].length != dir.length) Problem(dir.path + ": \".\" does not describe the directory");
  if (records[1].extent != dir.parentExtent || records[1].length != dir.parentLength)
    Problem(dir.path + ": \"..\" does not describe the parent");
  std::set<std::string> names;
  for (size_t i = 2; i < records.size(); ++i) {
    std::string key = records[i].id;
    if (!(records[i].flags & 2)) {
      if (tree == 0 && key.size() >= 2 && key.compare(key.size() - 2, 2, ";1") == 0) key.resize(key.size() - 2);
      if (tree == 1 && key.size() >= 4 && key.compare(key.size() - 4, 4, std::string("\0;\0" "1", 4)) == 0) key.resize(key.size() - 4);
    }
    if (tree == 1) {
      for (size_t k = 0; k + 1 < key.size(); k += 2)
        if (key[k] == 0 && key[k + 1] >= 'a' && key[k + 1] <= 'z') key[k + 1] = char(key[k + 1] - 32);
    }
    if (!names.insert(key).second) Problem(dir.path + ": two entries carry the same identifier");
  }
  return records;
}

std::vector<PathRecord> Checker::ReadPathTable(uint32_t location, uint32_t size, bool msb, const std::string& name) {
  std::vector<PathRecord> table;
  std::vector<uint8_t> data;
  if (!InVolume(location, Sectors(size)) || !image_.Read(location, Sectors(size), data)) {
    Problem(name + " path table outside the volume");
    return table;
  }
  used_.push_back({location, Sectors(size), name + " path table"});
  for (uint32_t at = 0; at < size;) {
    const uint8_t* r = data.data() + at;
    const uint32_t length = 8 + r[0] + (r[0] & 1);
    if (r[0] == 0 || at + length > size) {
      Problem(name + " path table: malformed record at " + std::to_string(at));
      break;
    }
    PathRecord rec;
    rec.extent = msb ? Msb32(r + 2) : Lsb32(r + 2);
    rec.parent = msb ? Msb16(r + 6) : Lsb16(r + 6);
    rec.id.assign(reinterpret_cast<const char*>(r + 8), r[0]);
    table.push_back(rec);
    at += length;
  }
  return table;
}

void Checker::CheckTree(const uint8_t* d, int tree, std::vector<std::pair<uint32_t, uint32_t>>& files) {
  const std::string treeName = tree == 0 ? "primary" : "Joliet";
  const uint32_t rootExtent = Lsb32(d + 156 + 2), rootLength = Lsb32(d + 156 + 10);
  const uint32_t pathTableSize = Lsb32(d + 132);
  const uint32_t lLocation = Lsb32(d + 140), mLocation = Msb32(d + 148);
  // Breadth-first walk, children in record order: the order the path table must follow.
  std::deque<Directory> queue{{rootExtent, rootLength, rootExtent, rootLength, treeName + ":/", 1}};
  std::vector<Directory> order;
  std::set<uint32_t> seen;
  std::map<uint32_t, std::vector<std::pair<std::string, uint32_t>>> children;  // by directory number
  while (!queue.empty()) {
    Directory dir = queue.front();
    queue.pop_front();
    if (!seen.insert(dir.extent).second) {
      Problem(dir.path + ": directory extent used twice");
      continue;
    }
    dir.number = static_cast<uint32_t>(order.size() + 1);
    order.push_back(dir);
    used_.push_back({dir.extent, Sectors(dir.length), dir.path});
    const std::vector<Record> records = ReadDirectory(dir, tree);
    for (size_t i = 2; i < records.size(); ++i) {
      const Record& r = records[i];
      if (r.flags & 2) {
        queue.push_back({r.extent, r.length, dir.extent, dir.length, dir.path + "?/", 0});
        children[dir.number].push_back({r.id, r.extent});
        continue;
      }
      ++report_.files;
      files.push_back({r.extent, r.length});
      const uint32_t sectors = Sectors(r.length);
      if (r.extent < options_.sessionStart && uint64_t(r.extent) + sectors <= options_.sessionStart) continue;
      if (!InVolume(r.extent, sectors) && !(sectors == 0 && r.extent <= end_))
        Problem(dir.path + ": a file extent lies outside the volume");
      if (tree == 0 && sectors > 0) used_.push_back({r.extent, sectors, dir.path + " file"});
    }
  }
  report_.directories = static_cast<uint32_t>(order.size());

  const std::vector<PathRecord> l = ReadPathTable(lLocation, pathTableSize, false, treeName + " L");
  const std::vector<PathRecord> m = ReadPathTable(mLocation, pathTableSize, true, treeName + " M");
  if (l.size() != m.size()) Problem(treeName + ": L and M path tables differ in length");
  for (size_t i = 0; i < std::min(l.size(), m.size()); ++i)
    if (l[i].id != m[i].id || l[i].extent != m[i].extent || l[i].parent != m[i].parent)
      Problem(treeName + ": L and M path tables disagree at record " + std::to_string(i + 1));
  if (l.size() != order.size()) {
    Problem(treeName + ": path table has " + std::to_string(l.size()) + " records for " +
            std::to_string(order.size()) + " directories");
    return;
  }
  for (size_t i = 0; i < l.size(); ++i) {
    const PathRecord& p = l[i];
    if (i == 0) {
      if (p.parent != 1 || p.extent != rootExtent || p.id != std::string(1, '\0')) Problem(treeName + ": bad root path table record");
      continue;
    }
    if (p.parent < l[i - 1].parent) Problem(treeName + ": path table not grouped by ascending parent at record " + std::to_string(i + 1));
    if (p.parent == 0 || p.parent > i) {
      Problem(treeName + ": path table record " + std::to_string(i + 1) + " names a later parent");
      continue;
    }
    if (p.extent != order[i].extent) Problem(treeName + ": path table record " + std::to_string(i + 1) + " is not in breadth-first order");
    if (order[i].parentExtent != l[p.parent - 1].extent) Problem(treeName + ": path table record " + std::to_string(i + 1) + " has the wrong parent");
    const auto& kids = children[p.parent];
    if (std::find(kids.begin(), kids.end(), std::make_pair(p.id, p.extent)) == kids.end())
      Problem(treeName + ": path table record " + std::to_string(i + 1) + " matches no directory record");
  }
}

void Checker::Run() {
  std::vector<uint8_t> d[3];
  const uint32_t s = options_.sessionStart;
  if (!image_.Read(s + 16, 1, d[0]) || !image_.Read(s + 17, 1, d[1]) || !image_.Read(s + 18, 1, d[2])) {
    Problem("the volume descriptors can't be read");
    return;
  }
  if (d[0][0] != 1 || std::memcmp(&d[0][1], "CD001\1", 6) != 0) return Problem("no primary volume descriptor");
  if (d[1][0] != 2 || std::memcmp(&d[1][1], "CD001\1", 6) != 0 || std::memcmp(&d[1][88], "%/E", 3) != 0)
    return Problem("no Joliet supplementary volume descriptor");
  if (d[2][0] != 255 || std::memcmp(&d[2][1], "CD001\1", 6) != 0) Problem("no volume descriptor set terminator");
  for (int i = 0; i < 2; ++i) {
    if (Lsb32(&d[i][80]) != Msb32(&d[i][84]) || Lsb32(&d[i][132]) != Msb32(&d[i][136]))
      Problem("descriptor both-byte-order fields disagree");
    if (Lsb16(&d[i][128]) != kSector) Problem("logical block size is not 2048");
  }
  report_.volumeSpaceSize = Lsb32(&d[0][80]);
  if (Lsb32(&d[1][80]) != report_.volumeSpaceSize) Problem("the descriptors give different volume space sizes");
  end_ = uint64_t(s) + report_.volumeSpaceSize;
  if (!options_.allowShort && image_.size() < end_ * kSector) Problem("the image ends before the volume does");
  used_.push_back({s, 19, "system area and descriptors"});

  std::vector<std::pair<uint32_t, uint32_t>> files[2];
  uint32_t directories[2], fileCount[2];
  for (int t = 0; t < 2; ++t) {
    report_.files = 0;
    CheckTree(d[t].data(), t, files[t]);
    directories[t] = report_.directories;
    fileCount[t] = report_.files;
  }
  if (directories[0] != directories[1]) Problem("the trees have different numbers of directories");
  for (auto& f : files) std::sort(f.begin(), f.end());
  if (files[0] != files[1]) Problem("the primary and Joliet trees point at different file extents");

  // Nothing overlaps, and the volume ends where its last structure or file does.
  std::sort(used_.begin(), used_.end(), [](const Interval& a, const Interval& b) { return a.start < b.start; });
  uint64_t last = s;
  for (size_t i = 0; i < used_.size(); ++i) {
    if (i > 0 && used_[i].start < uint64_t(used_[i - 1].start) + used_[i - 1].sectors &&
        !(used_[i].start == used_[i - 1].start && used_[i].what.find("file") != std::string::npos &&
          used_[i - 1].what.find("file") != std::string::npos && used_[i].sectors == used_[i - 1].sectors))
      Problem(used_[i].what + " overlaps " + used_[i - 1].what);
    last = std::max<uint64_t>(last, uint64_t(used_[i].start) + used_[i].sectors);
  }
  if (last != end_) Problem("volume space size " + std::to_string(report_.volumeSpaceSize) + " but the volume occupies " +
                            std::to_string(last - s) + " sectors");
  report_.files = fileCount[0];
  report_.directories = directories[0];
}

}  // namespace

IsoCheckReport CheckIsoImage(const std::string& path, const IsoCheckOptions& options) {
  IsoCheckReport report;
  Image image(path);
  if (!image.open()) {
    report.problems.push_back("can't open " + path);
    return report;
  }
  Checker(image, options, report).Run();
  return report;
}

}  // namespace tarvo
