// Records an image file as one new session through the device model itself,
// as a recording program would: write parameters, WRITE(10) at the next
// writable address, CLOSE SESSION. The vrec tool's "record" and tests that
// need a session written by another program use it.
#pragma once

#include <string>

namespace tarvo::vrec {

// True when the session was recorded; `message` says what was done or what
// failed.
bool RecordImageSession(const std::string& discPath, const std::string& imagePath, bool leaveOpen,
                        std::string* message);

}  // namespace tarvo::vrec
