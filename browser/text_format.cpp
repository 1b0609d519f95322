#include "browser/text_format.h"

namespace tarvo {

std::string FormatText(std::string_view format, std::initializer_list<std::string_view> arguments) {
  std::string text;
  auto next = arguments.begin();
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      const char conversion = format[i + 1];
      if (conversion == '%') {
        text += '%';
        ++i;
        continue;
      }
      if (conversion == 's' || conversion == 'c') {
        if (next != arguments.end()) text += *next++;
        ++i;
        continue;
      }
    }
    text += format[i];
  }
  return text;
}

}  // namespace tarvo
