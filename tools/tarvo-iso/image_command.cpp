#include "image_command.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>

#include "iso/file_access.h"
#include "iso/image_route.h"
#include "iso/list_file.h"
#include "iso/recorder.h"

namespace tarvo {

namespace {

// Message boxes become lines on the error stream; questions get the answer
// chosen on the command line.
class ImageConsoleUser : public UserSeam {
 public:
  explicit ImageConsoleUser(bool answerYes) : answerYes_(answerYes) {}
  int ShowMessage(const std::string& text, const std::string&, unsigned style) override {
    std::fprintf(stderr, "tarvo-iso: %s\n", text.c_str());
    if ((style & 0x0F) != kMbYesNo) return kIdOk;
    std::fprintf(stderr, "tarvo-iso: answered %s\n", answerYes_ ? "Yes" : "No");
    return answerYes_ ? kIdYes : kIdNo;
  }
  void SetStatusText(const std::string& text) override { status = text; }
  std::string status;

 private:
  bool answerYes_;
};

class SilentProgress : public ProgressMeter {
 public:
  void Begin(uint32_t) override {}
  void Step(uint32_t) override {}
  void End() override {}
};

// What the browser's Add charged to the capacity gauge for these entries:
// name length plus 2048 per directory, name length plus size per file.
uint32_t UsedBytes(const ListFile& list) {
  uint64_t used = 0;
  for (const ListEntry& entry : list.entries) {
    if (entry.IsMarker()) continue;
    used += entry.name.size() + (entry.IsDirectory() ? 2048 : entry.size);
  }
  return static_cast<uint32_t>(std::min<uint64_t>(used, 0xFFFFFFFF));
}

std::string ScratchPath() {
  std::random_device random;
  const auto tick = std::chrono::steady_clock::now().time_since_epoch().count();
  const std::string name = "tarvo-isoFileList-" + std::to_string(random()) + "-" + std::to_string(tick) + ".dat";
  std::error_code error;
  const std::filesystem::path dir = std::filesystem::temp_directory_path(error);
  return ((error ? std::filesystem::path(".") : dir) / name).string();
}

int Usage() {
  std::fprintf(stderr, "usage: tarvo-iso image LIST.dat OUT.iso [--label L] [--no-data] [--yes]\n");
  return 2;
}

}  // namespace

int RunImageCommand(const std::vector<std::string>& args) {
  RecordRequest request;
  request.label = "";
  std::vector<std::string> files;
  bool answerYes = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--label" && i + 1 < args.size()) request.label = args[++i];
    else if (args[i] == "--no-data") request.includeFileData = false;
    else if (args[i] == "--yes") answerYes = true;
    else if (!args[i].empty() && args[i][0] == '-') return Usage();
    else files.push_back(args[i]);
  }
  if (files.size() != 2) return Usage();
  if (request.label.size() > 8) {
    std::fprintf(stderr, "tarvo-iso: the volume label has more than 8 characters\n");
    return 2;
  }
  std::string bytes;
  if (!ReadWholeFile(files[0], bytes)) {
    std::fprintf(stderr, "tarvo-iso: can't read the list file %s\n", files[0].c_str());
    return 1;
  }
  ListFile list;
  const ListReadResult read = ReadListFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), list);
  if (read.status == ListReadStatus::ShortHeader) {
    std::fprintf(stderr, "tarvo-iso: %s is too short for a list file\n", files[0].c_str());
    return 1;
  }
  uint32_t used = UsedBytes(list);
  if (read.status == ListReadStatus::Damaged && used == 0) used = 1;  // let the recorder say what is wrong

  request.listPath = files[0];
  request.scratchPath = ScratchPath();
  std::filesystem::path out(files[1]);
  std::error_code error;
  std::filesystem::path root = std::filesystem::absolute(out, error).parent_path();
  ImageTarget target{files[1], root.string(), "Can't create ISO-9660 file: " + files[1]};
  ImageRoute route(target, used);
  ImageConsoleUser user(answerYes);
  SilentProgress progress;
  RecorderEnvironment environment{user, progress};
  const int result = RecordCompilation(request, environment, route);
  DeleteFileAt(request.scratchPath);
  if (!user.status.empty()) std::fprintf(stderr, "tarvo-iso: %s\n", user.status.c_str());
  return result == 1 ? 0 : 1;
}

}  // namespace tarvo
