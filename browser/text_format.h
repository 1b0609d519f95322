// Fills the %s / %c conversions of the program's message formats in order.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tarvo {

// Each "%s" or "%c" takes the next argument whole; "%%" is a percent sign.
std::string FormatText(std::string_view format, std::initializer_list<std::string_view> arguments);

}  // namespace tarvo
