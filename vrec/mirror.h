// The mirror folder: the files of the disc's last closed session, written
// into a host folder that a Wine CD-ROM drive letter points at, so that a
// program lists the disc through the file system. A ".windows-label" file
// holds the volume label (Wine reads it as the drive's label).
#pragma once

#include <filesystem>

#include "vrec/disc_store.h"

namespace tarvo::vrec {

// Empties `folder` and, when `store` holds a readable session, writes its
// files there. Returns the number of files written, or -1 on a host error.
int MirrorLastSession(const std::filesystem::path& folder, DiscStore* store);

}  // namespace tarvo::vrec
