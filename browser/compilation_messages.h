// The texts the compilation commands show, exactly as the program words them.
#pragma once

namespace tarvo {

inline constexpr const char* kMsgItemUnreadable =
    "An error was ocured while retiving selected item information.";
inline constexpr const char* kMsgRecordedRefusal =
    "You can't Add To directories and files which was recorded before.\n"
    "Notes: Files and directories already recorded on the disc can not be removed unless you erase the disc.\n"
    "Notes2: If you want to hide existing files on the disc then just click on the \"Remove\" button to remove "
    "existing directories and files. In this case you will not be able to wiev and access this files anymore, "
    "but they will be still there on the disc.\n"
    "Notes3: To add new directories and/or files at the root of the tree view window, first click ones or twice "
    "on the empty space on the tree view window and then click on \"Add\" button.\n"
    "If mistaken, DESELECT RIGHT TREE VIEW ITEM, by clicking on the empty space.";
inline constexpr const char* kMsgSelectSource =
    "First you must select an file or folder form the Left Tree view to Add";
inline constexpr const char* kMsgNameTaken =
    "This directory already exist. You must set a new name or remove existing directory with the same name.";
inline constexpr const char* kMsgFileGone =
    "Can't add/find this file. File may be erased.\n"
    "You should close and run the browser again to update Tree view entries.";
inline constexpr const char* kMsgDriveQuestion =
    "Do you want to create an directory, where to place all files in the current drive";
inline constexpr const char* kFmtCantAddDirectory = "Can't add a directory: %s to the Tree view";
inline constexpr const char* kFmtCantAddFile = "Can't add a file: %s to the Tree view";
inline constexpr const char* kFmtDriveDirectoryName = "DRIVE_%c";
inline constexpr const char* kMsgRemoveRecorded =
    "Removing previously recorded files you will not be able to view or access this files anymore, but they "
    "will be still on the disc.\n"
    "Also if you add files, dirs with the same names as already recorded files, dirs on the CD, CD will be "
    "DAMAGE.\n"
    "Do you wish to remove selected item ?";

// List files.
inline constexpr const char* kMsgNotAFileList = "This file is not a data file list, saved by this software.";
inline constexpr const char* kFmtMissingSource =
    "Can't find a %s: %s\n\nWarn me again if any other file or directory missing ?";
inline constexpr const char* kMsgUnknownError = "Unknown error was occured";
inline constexpr const char* kFmtCantCreateItem = "Can't create a item: %s !";
// A list file that breaks the format: the detail names what is wrong.
inline constexpr const char* kFmtDamagedList = "This file list is damaged and can't be loaded: %s.";

}  // namespace tarvo
