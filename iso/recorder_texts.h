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
// The scratch file beside the program could not be written or read back,
// e.g. in a read-only program folder.
inline constexpr char kScratchFileFailed[] = "Can't write the working file of the recording: %s";
inline constexpr char kSessionNotClosed[] = "The session could not be closed: the recording is not complete.";
inline constexpr char kSelectFilesFirst[] =
    "First you must select files, by clicking on the button\"Add directories and files for recording\" !!!";
inline constexpr char kCantCreateImageAt[] = "Can't create ISO-9660 file: %s";
inline constexpr char kCantCreateImageIn[] = "Can't create ISO-9660 file:\n%s\\dataCD\\%s";
inline constexpr char kSizeReport[] = "used=%lu\nncd =%lu";
inline constexpr char kNotEnoughSpace[] = "There is not enough disk space to save ISO-9660 file !!!";
inline constexpr char kCantWriteImage[] = "Can't write ISO-9660 file: %s";
inline constexpr char kImageCreated[] = "Thanks to The Most Glorious, ISO-9660 File was successfully created";
inline constexpr char kDiscRecorded[] = "Thanks to The Most Glorious, CD-ROM was successfully recorded";
inline constexpr char kDriveNotReady[] = "Drive not ready !";
inline constexpr char kErrorDiscInformation[] = "Error Reading Disc Information";
inline constexpr char kErrorTrackInformation[] = "Error Reading Track Information";
inline constexpr char kErrorModeSense[] = "Error setting Mode Sense";
inline constexpr char kErrorModeSelect[] = "Error setting Mode Select";
inline constexpr char kErrorSpeed[] = "Error setting Speed";
inline constexpr char kPreviousSessionLost[] =
    "This is Multi Session CDR/W (already recorded)\nProgram can not get your previously recorder data on this "
    "CDR/W\nIf you choose to continue recording, all your previously recorded files will be lost.\nDo you want to "
    "continue recording anyway ?";
inline constexpr char kRecordingCanceled[] = "Recording Canceled";
inline constexpr char kClosingSession[] = "Just a little, Closing Track / Session";
inline constexpr char kWriteFailedEndSession[] =
    "An error was ocured while writing to CD-R/W disc. This could be becouse one part of your CD-R/W disc was "
    "damaged\nDo you want to write \"End session\" which should pass(Insha'Allah) this part of the damaged disc "
    "and allow you, next time, to start recording after damaged part of the disc.\nThis will take about: %lu MB of "
    "the free disc space.\nNotes1: If disc was damaged on a larger part of the disc then you will need to repeat "
    "this procedure several times, until all files was successfuly recorded.\nNotes2: Files which was already "
    "recorder before error was ocured will be OK, but other files will be filled with zeros.\nNotes3: sometimes "
    "you will need to reboot your system to see newly recorded files.\n\nDo you wish to write End session ?";

}  // namespace tarvo::texts
