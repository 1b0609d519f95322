// The browser's loading of a list file: decoding and checking the bytes, then
// placing the records into the compilation tree (sources exist or not as the
// input's bytes decide, the user answers the missing-source warning by turn).
// Properties: nothing crashes, and a tree loaded from any file saves as a list
// the browser loads again and the recorder accepts.
#include <cstdio>
#include <string>
#include <vector>

#include "browser/file_list.h"
#include "browser/list_files.h"
#include "fuzz/harness_check.h"
#include "fuzz/scratch_path.h"
#include "iso/list_file.h"

namespace {

using namespace tarvo;

// Sources exist when the sum of their path's bytes is even: some folders of a
// list are there and some are gone, decided by the input alone.
class PathHashFileSystem final : public FileSystem {
 public:
  char Separator() const override { return '\\'; }
  bool ListFolder(const std::string&, std::vector<FileInfo>&) override { return false; }
  bool Lookup(const std::string&, FileInfo&) override { return false; }
  bool Exists(const std::string& path) override {
    unsigned sum = 0;
    for (unsigned char c : path) sum += c;
    return sum % 2 == 0;
  }
  std::string FullPath(const std::string& path) override { return path; }
  std::vector<std::string> LogicalDrives() override { return {"C:\\"}; }
  DriveType DriveTypeOf(const std::string&) override { return DriveType::Fixed; }
  bool DriveLabel(const std::string&, std::string&) override { return false; }
  bool FreeBytes(const std::string&, uint64_t&) override { return false; }
  SystemTime LocalTime() override { return {}; }
  SystemTime UtcTime() override { return {}; }
};

class TurnTakingUser final : public UserSeam {
 public:
  int ShowMessage(const std::string&, const std::string&, unsigned) override {
    return (++shown_ % 2) ? kIdYes : kIdNo;
  }

 private:
  unsigned shown_ = 0;
};

const std::string& ScratchPath() {
  static const std::string path = FuzzScratchPath(".dat");
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FileList decoded;
  std::string detail;
  const ListStatus status = DecodeFileList(data, size, decoded, detail);
  FUZZ_CHECK((status == ListStatus::Damaged) == !detail.empty());
  if (status != ListStatus::Ok) return 0;

  // LoadList reads a path; the bytes go through a file of this process.
  {
    std::FILE* file = std::fopen(ScratchPath().c_str(), "wb");
    if (file == nullptr) return 0;
    const bool written = std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written) return 0;
  }
  CompilationTree tree;
  PathHashFileSystem fileSystem;
  TurnTakingUser user;
  FUZZ_CHECK(LoadList(tree, ScratchPath(), fileSystem, user) == 1);
  FUZZ_CHECK(tree.EntryCount() <= decoded.records.size());

  const FileList saved = FileListFromTree(tree);
  const std::vector<uint8_t> bytes = EncodeFileList(saved);
  FileList again;
  FUZZ_CHECK(DecodeFileList(bytes.data(), bytes.size(), again, detail) == ListStatus::Ok);
  FUZZ_CHECK(again.records.size() == saved.records.size());

  ListFile recorded;
  FUZZ_CHECK(ReadListFile(bytes.data(), bytes.size(), recorded).status == ListReadStatus::Ok);
  FUZZ_CHECK(recorded.magicOk);
  FUZZ_CHECK(CheckListForRecording(recorded).empty());
  return 0;
}
