#include "iso/iso_names.h"

#include <set>

#include "iso/codepage.h"

namespace tarvo {

namespace {

char PrimaryChar(char c) {
  if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
  return '_';
}

std::string PrimaryChars(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = PrimaryChar(c);
  return out;
}

// Extensions longer than this are not worth keeping when a name is cut.
constexpr size_t kKeptExtension = 16;

// Start of the extension (its dot) of a UCS-2 name, or npos.
size_t ExtensionStart(const std::u16string& name) {
  const size_t dot = name.rfind(u'.');
  if (dot == std::u16string::npos || dot == 0 || name.size() - dot > kKeptExtension) return std::u16string::npos;
  return dot;
}

std::u16string CutJolietName(std::u16string name) {
  if (name.size() <= kJolietNameLimit) return name;
  const size_t dot = ExtensionStart(name);
  if (dot == std::u16string::npos) return name.substr(0, kJolietNameLimit);
  const std::u16string ext = name.substr(dot);
  return name.substr(0, kJolietNameLimit - ext.size()) + ext;
}

std::string EncodeUcs2(const std::u16string& s) {
  std::string out;
  out.reserve(s.size() * 2 + 4);
  for (char16_t c : s) {
    out.push_back(static_cast<char>(c >> 8));
    out.push_back(static_cast<char>(c & 0xFF));
  }
  return out;
}

char16_t FoldCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);  // Latin-1
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 0x20);  // Greek
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);  // Cyrillic
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  return c;
}

std::u16string FoldKey(std::u16string s) {
  for (char16_t& c : s) c = FoldCase(c);
  return s;
}

// Counter candidates: the end of the base replaced by the decimal counter,
// the whole kept within `limit` characters.
template <typename Str>
Str Mangled(const Str& base, const Str& ext, size_t limit, unsigned counter) {
  const std::string digits = std::to_string(counter);
  Str tail(digits.begin(), digits.end());
  const size_t room = limit > ext.size() + tail.size() ? limit - ext.size() - tail.size() : 0;
  return base.substr(0, std::min(base.size(), room)) + tail + ext;
}

std::vector<std::string> PrimaryIdentifiers(const std::vector<NameItem>& items) {
  std::vector<std::string> keys(items.size());  // identifier without ";1"
  for (size_t i = 0; i < items.size(); ++i) {
    std::string id = items[i].isDirectory ? PrimaryDirectoryIdentifier(items[i].name)
                                          : PrimaryFileIdentifier(items[i].name);
    if (!items[i].isDirectory) id.resize(id.size() - 2);
    keys[i] = std::move(id);
  }
  std::set<std::string> taken(keys.begin(), keys.end());
  std::set<std::string> used;
  std::vector<std::string> out(items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    std::string key = keys[i];
    if (!used.insert(key).second) {
      const size_t dot = items[i].isDirectory ? std::string::npos : key.find('.');
      const std::string base = key.substr(0, dot);
      const std::string ext = dot == std::string::npos ? std::string() : key.substr(dot);
      const size_t limit = 8 + ext.size();
      for (unsigned n = 0;; ++n) {
        key = Mangled(base, ext, limit, n);
        if (!taken.count(key) && used.insert(key).second) break;
      }
    }
    out[i] = items[i].isDirectory ? key : key + ";1";
  }
  return out;
}

std::vector<std::string> JolietIdentifiers(const std::vector<NameItem>& items) {
  std::vector<std::u16string> names(items.size());
  std::set<std::u16string> taken;
  for (size_t i = 0; i < items.size(); ++i) {
    names[i] = CutJolietName(CodePageToUcs2(items[i].name));
    taken.insert(FoldKey(names[i]));
  }
  std::set<std::u16string> used;
  std::vector<std::string> out(items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    std::u16string name = names[i];
    if (!used.insert(FoldKey(name)).second) {
      const size_t dot = ExtensionStart(name);
      const std::u16string base = name.substr(0, dot);
      const std::u16string ext = dot == std::u16string::npos ? std::u16string() : name.substr(dot);
      for (unsigned n = 0;; ++n) {
        name = Mangled(base, ext, kJolietNameLimit, n);
        const std::u16string key = FoldKey(name);
        if (!taken.count(key) && used.insert(key).second) break;
      }
    }
    out[i] = EncodeUcs2(items[i].isDirectory ? name : name + u";1");
  }
  return out;
}

}  // namespace

void ConvertLabel(std::string& label) {
  if (label.size() > 32) label.resize(32);
  for (char& c : label) c = PrimaryChar(c);
}

std::string PrimaryDirectoryIdentifier(std::string_view name) { return PrimaryChars(name.substr(0, 8)); }

std::string PrimaryFileIdentifier(std::string_view name) {
  const size_t baseEnd = std::min(name.find('.'), std::min<size_t>(name.size(), 8));
  std::string id = PrimaryChars(name.substr(0, baseEnd));
  // The dot is searched from where the base stopped, so the rest of a long base is skipped.
  const size_t dot = name.find('.', baseEnd);
  if (dot != std::string_view::npos) id += "." + PrimaryChars(name.substr(dot + 1, 3));
  return id + ";1";
}

std::string JolietIdentifier(std::string_view name, bool isDirectory) {
  std::u16string s = CutJolietName(CodePageToUcs2(name));
  if (!isDirectory) s += u";1";
  return EncodeUcs2(s);
}

std::string Identifier(std::string_view name, bool isDirectory, TreeKind kind) {
  if (kind == TreeKind::Joliet) return JolietIdentifier(name, isDirectory);
  return isDirectory ? PrimaryDirectoryIdentifier(name) : PrimaryFileIdentifier(name);
}

std::vector<std::string> DirectoryIdentifiers(const std::vector<NameItem>& items, TreeKind kind) {
  return kind == TreeKind::Joliet ? JolietIdentifiers(items) : PrimaryIdentifiers(items);
}

}  // namespace tarvo
