// The recorder's own texts.
#pragma once

namespace tarvo::texts {

inline constexpr char kWrongListVersion[] = "This is wrong, ISO data file version";
inline constexpr char kDamagedList[] = "This data file list is damaged and can't be recorded:\n%s";
inline constexpr char kVolumeTooLarge[] = "This compilation is too large for one volume.";
inline constexpr char kNotesRestart[] =
    "Notes: Some CD-ROM needs to hard restart Windows after recording, to view recorded files.";
inline constexpr char kPreparing[] = "Preparing for writing, allocating memory and so on.";
inline constexpr char kRecordingStructures[] = "Recording Directory and Path table structures";
inline constexpr char kCantOpenFile[] = "Can't open file: %s\nDo you want to continue recording other files ?";
inline constexpr char kEndedEarly[] = "The recording ended before all files were written.";
inline constexpr char kSelectFilesFirst[] =
    "First you must select files, by clicking on the button\"Add directories and files for recording\" !!!";
inline constexpr char kCantCreateImageAt[] = "Can't create ISO-9660 file: %s";
inline constexpr char kCantCreateImageIn[] = "Can't create ISO-9660 file:\n%s\\dataCD\\%s";
inline constexpr char kSizeReport[] = "used=%lu\nncd =%lu";
inline constexpr char kNotEnoughSpace[] = "There is not enough disk space to save ISO-9660 file !!!";
inline constexpr char kCantWriteImage[] = "Can't write ISO-9660 file: %s";
inline constexpr char kImageCreated[] = "Thanks to The Most Glorious, ISO-9660 File was successfully created";
inline constexpr char kDiscRecorded[] = "Thanks to The Most Glorious, CD-ROM was successfully recorded";

}  // namespace tarvo::texts
