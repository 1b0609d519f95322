#include "app/help_topics.h"

#include <cstdio>
#include <memory>

namespace tarvo {
namespace {

constexpr int kEnd = -1;
constexpr size_t kMaxNumberDigits = 10;

class TextSource {
 public:
  explicit TextSource(std::string_view text) : text_(text) {}
  int Next() { return pos_ < text_.size() ? static_cast<unsigned char>(text_[pos_++]) : kEnd; }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Reads like a text-mode stream on Windows: CR LF becomes LF, so a help file
// edited on either system scans the same.
class FileSource {
 public:
  explicit FileSource(std::FILE* f) : file_(f) {}
  int Next() {
    int c = pending_;
    if (c == kNone) c = std::fgetc(file_);
    pending_ = kNone;
    if (c == EOF) return kEnd;
    if (c == '\r') {
      const int after = std::fgetc(file_);
      if (after == '\n') return '\n';
      pending_ = after;  // EOF included: the next call ends the text
    }
    return c;
  }

 private:
  static constexpr int kNone = -2;
  std::FILE* file_;
  int pending_ = kNone;
};

bool IsDigit(int c) { return c >= '0' && c <= '9'; }

// Reads the first line without its line end and compares it with the marker.
// Only its first 259 characters are kept (a 260-byte line buffer); a longer
// line cannot equal the marker anyway.
template <class Source>
bool MarkerLineMatches(Source& in) {
  std::string line;
  for (int c = in.Next(); c != kEnd && c != '\n'; c = in.Next()) {
    if (line.size() < 259) line.push_back(static_cast<char>(c));
    else return false;
  }
  return line == kHelpMarkerLine;
}

template <class Source>
void ScanTopics(Source& in, long long topic, HelpTopic& shown) {
  bool inside = false;
  for (int c = in.Next(); c != kEnd;) {
    if (inside) {
      if (c == '}') inside = false;
      c = in.Next();
      continue;
    }
    if (c != '{') {
      c = in.Next();
      continue;
    }
    inside = true;
    // The header's number: characters before the first digit are skipped,
    // but not past the header's line or its closing brace, so a header
    // without a number is an ordinary skipped topic.
    c = in.Next();
    while (c != kEnd && !IsDigit(c) && c != '\n' && c != '}') c = in.Next();
    if (!IsDigit(c)) continue;
    unsigned long long number = 0;
    size_t digits = 0;
    for (; digits < kMaxNumberDigits && IsDigit(c); ++digits, c = in.Next()) number = number * 10 + unsigned(c - '0');
    bool closedAtOnce = false;
    if (digits < kMaxNumberDigits && c != kEnd) {
      closedAtOnce = c == '}';
      c = in.Next();  // the character that ends the number is consumed
    }
    shown.title.clear();
    shown.body.clear();
    const bool wanted = topic >= 0 && number == static_cast<unsigned long long>(topic);
    if (closedAtOnce) {
      inside = false;
      if (wanted) return;
      continue;
    }
    if (!wanted) continue;

    for (; c != kEnd && c != '\n' && c != '}'; c = in.Next()) {
      if (shown.title.size() < kHelpTitleMax) shown.title.push_back(static_cast<char>(c));
    }
    if (c == '\n') c = in.Next();
    for (; c != kEnd && c != '}'; c = in.Next()) {
      if (c == '\n') {
        if (shown.body.size() + 2 <= kHelpBodyMax) shown.body += "\r\n";
      } else if (shown.body.size() < kHelpBodyMax) {
        shown.body.push_back(static_cast<char>(c));
      }
    }
    return;
  }
}

template <class Source>
HelpLoad Scan(Source& in, long long topic, HelpTopic& shown) {
  if (!MarkerLineMatches(in)) return HelpLoad::kMarkerChanged;
  ScanTopics(in, topic, shown);
  return HelpLoad::kScanned;
}

}  // namespace

HelpLoad ScanHelpText(std::string_view text, long long topic, HelpTopic& shown) {
  TextSource in(text);
  return Scan(in, topic, shown);
}

HelpLoad LoadHelpTopic(const std::string& path, long long topic, HelpTopic& shown) {
  FilePtr file(std::fopen(path.c_str(), "rb"));
  if (!file) return HelpLoad::kNoFile;
  FileSource in(file.get());
  return Scan(in, topic, shown);
}

}  // namespace tarvo
