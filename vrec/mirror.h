// The mirror folder: the files of the disc's last closed session, written
// into a host folder that a Wine CD-ROM drive letter points at, so that a
// program lists the disc through the file system. The folder holds the
// disc's files and nothing else: a program that imports what a disc holds
// through the drive letter (Wine would read a ".windows-label" file as the
// drive's label) must not find a file that is not on the disc.
#pragma once

#include <filesystem>

#include "vrec/disc_store.h"

namespace tarvo::vrec {

// Empties `folder` and, when `store` holds a readable session, writes its
// files there. Returns the number of files written, or -1 on a host error.
int MirrorLastSession(const std::filesystem::path& folder, DiscStore* store);

}  // namespace tarvo::vrec
