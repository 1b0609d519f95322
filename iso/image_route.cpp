#include "iso/image_route.h"

#include <cstring>
#include <filesystem>
#include <system_error>

#include "iso/iso_numbers.h"
#include "iso/recorder_texts.h"

namespace tarvo {

namespace {

constexpr size_t kSinkBuffer = size_t(1) << 20;
constexpr uint64_t kSpaceMargin = 5242880;  // 5 MiB over the compilation

}  // namespace

ImageTarget ResolveImageTarget(const std::string& programDir, const std::string& imageFileName) {
  ImageTarget target;
  if (imageFileName.size() >= 2 && imageFileName[1] == ':') {
    target.path = imageFileName;
    target.freeSpaceRoot = imageFileName.substr(0, 3);
    target.createFailureText = FormatPrintf(texts::kCantCreateImageAt, imageFileName.c_str());
  } else {
    target.path = programDir + "\\dataCD\\" + imageFileName;
    target.freeSpaceRoot = programDir.substr(0, 3);
    target.createFailureText = FormatPrintf(texts::kCantCreateImageIn, programDir.c_str(), imageFileName.c_str());
  }
  return target;
}

uint64_t FreeSpaceOf(const std::string& root) {
  std::error_code error;
  const auto space = std::filesystem::space(std::filesystem::path(NativePath(root)), error);
  return error ? 0 : space.available;
}

ImageFileSink::ImageFileSink(uint32_t startAddress) : buffer_(kSinkBuffer), next_(startAddress) {}

int ImageFileSink::WriteSectors(uint32_t address, const uint8_t* data, uint32_t count) {
  if (!ok_ || file_ == nullptr || address != next_) return 0;
  const size_t bytes = size_t(count) * kSectorSize;
  if (used_ + bytes > buffer_.size()) {
    if (!Flush()) return 0;
  }
  if (bytes >= buffer_.size()) {
    ok_ = file_->Write(data, bytes);
  } else {
    std::memcpy(buffer_.data() + used_, data, bytes);
    used_ += bytes;
  }
  next_ += count;
  return ok_ ? 1 : 0;
}

bool ImageFileSink::Flush() {
  if (ok_ && used_ > 0 && file_ != nullptr) ok_ = file_->Write(buffer_.data(), used_);
  used_ = 0;
  return ok_;
}

ImageRoute::ImageRoute(ImageTarget target, uint32_t used, FreeSpaceProbe probe)
    : target_(std::move(target)), used_(used), probe_(std::move(probe)) {}

int ImageRoute::Start(UserSeam& user, const std::string& title) {
  if (used_ == 0) {
    user.ShowMessage(texts::kSelectFilesFirst, title, kMbOk | kMbIconStop);
    return 0;
  }
  if (!file_.Open(target_.path, RawFile::Mode::Create)) {
    user.ShowMessage(target_.createFailureText, title, kMbOk | kMbIconStop);
    return 0;
  }
  created_ = true;
  sink_.Attach(&file_);
  const uint64_t free = probe_(target_.freeSpaceRoot);
  user.ShowMessage(FormatPrintf(texts::kSizeReport, static_cast<unsigned long>(used_ >> 20),
                          static_cast<unsigned long>(free >> 20)),
               "", kMbOk | kMbIconStop);
  if (free < uint64_t(used_) + kSpaceMargin) {
    Abandon();
    user.ShowMessage(texts::kNotEnoughSpace, title, kMbOk | kMbIconStop);
    return 0;
  }
  return 1;
}

void ImageRoute::OnWriteFailure(UserSeam& user, const std::string& title, uint64_t) {
  if (failureShown_) return;
  failureShown_ = true;
  user.ShowMessage(FormatPrintf(texts::kCantWriteImage, target_.path.c_str()), title, kMbOk | kMbIconStop);
}

int ImageRoute::Finish(UserSeam& user, const std::string& title) {
  const bool flushed = sink_.Flush();
  sink_.Attach(nullptr);
  if (!file_.Close() || !flushed) {
    OnWriteFailure(user, title, 0);
    return 0;
  }
  return 1;
}

void ImageRoute::Abandon() {
  sink_.Attach(nullptr);
  file_.Close();
  if (created_) DeleteFileAt(target_.path);
  created_ = false;
}

std::string ImageRoute::SuccessText() const { return texts::kImageCreated; }

}  // namespace tarvo
