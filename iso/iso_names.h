// Identifiers of the two directory trees: primary names (ECMA-119 7.5/7.6,
// 8.3 upper case) and Joliet names (UCS-2 big-endian), and the volume label.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

enum class TreeKind { Primary = 0, Joliet = 1 };

// Joliet identifiers are cut to this many UCS-2 characters (";1" not counted).
inline constexpr size_t kJolietNameLimit = 64;

// Upper-case ASCII letters and digits, "_" for every other byte, at most 32.
void ConvertLabel(std::string& label);

// Primary identifier of a directory: first 8 characters, upper case, "_" for
// anything that is not an ASCII letter or digit.
std::string PrimaryDirectoryIdentifier(std::string_view name);
// Primary identifier of a file: base of at most 8, "." and at most 3 of the
// extension when the name has a dot after the base, then ";1".
std::string PrimaryFileIdentifier(std::string_view name);
// Joliet identifier in UCS-2 big-endian bytes: the name converted from the
// code page, cut to 64 characters keeping a short extension, ";1" for files.
std::string JolietIdentifier(std::string_view name, bool isDirectory);

std::string Identifier(std::string_view name, bool isDirectory, TreeKind kind);

struct NameItem {
  std::string_view name;
  bool isDirectory = false;
};

// The identifiers of all entries of one directory, in order. Where two
// entries would get the same identifier (files and directories alike, the
// version ";1" not counted, Joliet compared case-insensitively), the later
// ones have the end of their base replaced by a counter; identifiers that do
// not collide are the ones the single-name functions give.
std::vector<std::string> DirectoryIdentifiers(const std::vector<NameItem>& items, TreeKind kind);

}  // namespace tarvo
