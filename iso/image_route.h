// The image-file route of the recorder: the "Create ISO file" page's start
// (the compilation must not be empty, the file is created, the free space of
// its drive checked) and a buffered sink that appends the volume to the file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "iso/file_access.h"
#include "iso/raw_file.h"
#include "iso/recorder.h"

namespace tarvo {

struct ImageTarget {
  std::string path;               // the file to create
  std::string freeSpaceRoot;      // where the free space is measured
  std::string createFailureText;  // the message when the file can't be created
};

// A name with a drive letter ("D:\img\test.iso") is used as it stands; any
// other goes to the folder dataCD of the program folder.
ImageTarget ResolveImageTarget(const std::string& programDir, const std::string& imageFileName);

// Free bytes of the volume that holds `root`; the platform's own by default.
using FreeSpaceProbe = std::function<uint64_t(const std::string& root)>;
uint64_t FreeSpaceOf(const std::string& root);

// Appends sectors to an open file through a large buffer; big runs go
// straight through. Addresses must follow on without gaps.
class ImageFileSink : public SectorSink {
 public:
  explicit ImageFileSink(uint32_t startAddress = 0);
  void Attach(RawFile* file) { file_ = file; }
  int WriteSectors(uint32_t address, const uint8_t* data, uint32_t count) override;
  bool Flush();

 private:
  RawFile* file_ = nullptr;
  std::vector<uint8_t> buffer_;
  size_t used_ = 0;
  uint32_t next_;
  bool ok_ = true;
};

class ImageRoute : public RecordRoute {
 public:
  // `used`: the capacity gauge's used figure, the size of the compilation.
  ImageRoute(ImageTarget target, uint32_t used, FreeSpaceProbe probe = FreeSpaceOf);

  bool IsDisc() const override { return false; }
  int Start(UserSeam& user, const std::string& title) override;
  int64_t PrepareForWrite(UserSeam&, const std::string&) override { return 0; }
  SectorSink& Sink() override { return sink_; }
  void OnWriteFailure(UserSeam& user, const std::string& title, uint64_t volumeSpaceSize) override;
  int Finish(UserSeam& user, const std::string& title) override;
  void Abandon() override;
  std::string SuccessText() const override;

 private:
  ImageTarget target_;
  uint32_t used_;
  FreeSpaceProbe probe_;
  RawFile file_;
  ImageFileSink sink_;
  bool created_ = false;
  bool failureShown_ = false;
};

}  // namespace tarvo
