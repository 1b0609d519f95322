// tvohelp.txt: any text is scanned for a topic, both from memory and from a
// file (where CR LF reads as LF). The input's first two bytes pick the topic
// (0xFFFF: a negative one); the rest is the file.
// Properties: nothing crashes, the title and body stay within their limits,
// and reading the file gives what scanning its text with CR LF made LF gives.
#include <cstdio>
#include <string>

#include "app/help_topics.h"
#include "fuzz/harness_check.h"
#include "fuzz/scratch_path.h"

namespace {

using namespace tarvo;

std::string WithLineFeeds(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out.push_back(text[i]);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = FuzzScratchPath(".txt");
  if (size < 2) return 0;
  const unsigned pick = data[0] | data[1] << 8;
  const long long topic = pick == 0xFFFF ? -1 : static_cast<long long>(pick);
  const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

  // A topic left from an earlier load: kept unless a header is met.
  const HelpTopic before{"earlier", "earlier body"};
  HelpTopic fromText = before;
  const HelpLoad scanned = ScanHelpText(WithLineFeeds(text), topic, fromText);
  FUZZ_CHECK(fromText.title.size() <= kHelpTitleMax);
  FUZZ_CHECK(fromText.body.size() <= kHelpBodyMax);
  if (scanned == HelpLoad::kMarkerChanged) FUZZ_CHECK(fromText.title == before.title && fromText.body == before.body);

  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0 || !written) return 0;
  HelpTopic fromFile = before;
  const HelpLoad loaded = LoadHelpTopic(path, topic, fromFile);
  FUZZ_CHECK(loaded == scanned);
  FUZZ_CHECK(fromFile.title == fromText.title);
  FUZZ_CHECK(fromFile.body == fromText.body);
  return 0;
}
