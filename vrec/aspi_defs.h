// The ASPI for Win32 request blocks and codes: one declaration for the whole
// tree lives in drive/aspi_srb.h; the virtual recorder's manager and its
// tests name it tarvo::vrec::aspi.
#pragma once

#include "drive/aspi_srb.h"

namespace tarvo::vrec {
namespace aspi = ::tarvo::aspi;
}  // namespace tarvo::vrec
