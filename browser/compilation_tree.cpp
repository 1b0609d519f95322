#include "browser/compilation_tree.h"

#include <algorithm>

namespace tarvo {

namespace {

unsigned char Fold(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

const std::string kNoName;

}  // namespace

const char* EntryProblem(std::string_view name, const CompilationEntry& entry) {
  return EntryProblem(name, entry.sourcePath, entry.size, entry.attributes);
}

const char* EntryProblem(std::string_view name, std::string_view sourcePath, uint32_t size, uint32_t attributes) {
  if (name.empty()) return "an entry has no name";
  if (name.size() > kMaxNameBytes) return "a name is longer than 255 bytes";
  if (name == "." || name == "..") return "a name is \".\" or \"..\"";
  if (name.find_first_of(std::string_view("\0/\\", 3)) != std::string_view::npos)
    return "a name holds a path separator or a zero byte";
  if (sourcePath.size() > kMaxSourcePathBytes) return "a source path is longer than 255 bytes";
  if ((attributes & 0x10) == 0 && size > kMaxFileSize) return "a file is 2 GiB or larger";
  return nullptr;
}

int CompareNames(std::string_view a, std::string_view b) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const unsigned char x = Fold(static_cast<unsigned char>(a[i]));
    const unsigned char y = Fold(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool NamesEqual(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareNames(a, b) == 0;
}

CompilationTree::CompilationTree() { Clear(); }

void CompilationTree::Clear() {
  if (observer_ && liveCount_ > 0) observer_->TreeCleared();
  nodes_.clear();
  nodes_.emplace_back();
  nodes_[kRootEntry].alive = true;
  nodes_[kRootEntry].entry.attributes = 0x10;
  liveCount_ = 0;
}

bool CompilationTree::Contains(EntryId id) const { return id < nodes_.size() && nodes_[id].alive; }

const CompilationEntry* CompilationTree::Entry(EntryId id) const {
  return (id != kRootEntry && Contains(id)) ? &nodes_[id].entry : nullptr;
}

const std::string& CompilationTree::Name(EntryId id) const {
  return Contains(id) ? nodes_[id].name : kNoName;
}

EntryId CompilationTree::Parent(EntryId id) const { return Contains(id) ? nodes_[id].parent : kNoEntry; }
EntryId CompilationTree::FirstChild(EntryId id) const {
  return Contains(id) ? nodes_[id].firstChild : kNoEntry;
}
EntryId CompilationTree::NextSibling(EntryId id) const { return Contains(id) ? nodes_[id].next : kNoEntry; }
EntryId CompilationTree::PreviousSibling(EntryId id) const {
  return Contains(id) ? nodes_[id].previous : kNoEntry;
}

uint32_t CompilationTree::Level(EntryId id) const {
  return (Contains(id) && id != kRootEntry) ? nodes_[id].depth - 1 : 0;
}

bool CompilationTree::IsDirectory(EntryId id) const {
  return Contains(id) && (id == kRootEntry || nodes_[id].entry.IsDirectory());
}

std::vector<EntryId> CompilationTree::Children(EntryId id) const {
  std::vector<EntryId> children;
  for (EntryId c = FirstChild(id); c != kNoEntry; c = nodes_[c].next) children.push_back(c);
  return children;
}

EntryId CompilationTree::InsertEntry(std::string_view name, EntryId parent, EntryId after,
                                     const CompilationEntry& entry) {
  if (!IsDirectory(parent)) return kNoEntry;
  if (after != kFirstPosition && (!Contains(after) || nodes_[after].parent != parent)) return kNoEntry;
  if (EntryProblem(name, entry) != nullptr) return kNoEntry;
  if (nodes_[parent].depth > kMaxEntryLevel) return kNoEntry;

  const EntryId id = static_cast<EntryId>(nodes_.size());
  if (id == kNoEntry) return kNoEntry;
  Node node;
  node.name.assign(name);
  node.entry = entry;
  node.parent = parent;
  node.depth = nodes_[parent].depth + 1;
  node.alive = true;
  Node& p = nodes_[parent];
  if (after == kFirstPosition) {
    node.next = p.firstChild;
  } else {
    node.previous = after;
    node.next = nodes_[after].next;
  }
  nodes_.push_back(std::move(node));
  Node& inserted = nodes_[id];
  Node& owner = nodes_[parent];
  if (inserted.previous == kNoEntry) owner.firstChild = id; else nodes_[inserted.previous].next = id;
  if (inserted.next == kNoEntry) owner.lastChild = id; else nodes_[inserted.next].previous = id;
  ++liveCount_;
  if (observer_) observer_->EntryInserted(id);
  return id;
}

bool CompilationTree::IsNameFree(EntryId target, std::string_view name) const {
  for (EntryId c = FirstChild(target); c != kNoEntry; c = nodes_[c].next)
    if (NamesEqual(nodes_[c].name, name)) return false;
  return true;
}

void CompilationTree::SortChildren(EntryId parent) {
  if (!Contains(parent)) return;
  std::vector<EntryId> children = Children(parent);
  std::stable_sort(children.begin(), children.end(), [this](EntryId a, EntryId b) {
    return CompareNames(nodes_[a].name, nodes_[b].name) < 0;
  });
  EntryId previous = kNoEntry;
  for (EntryId c : children) {
    nodes_[c].previous = previous;
    if (previous != kNoEntry) nodes_[previous].next = c;
    previous = c;
  }
  if (previous != kNoEntry) nodes_[previous].next = kNoEntry;
  nodes_[parent].firstChild = children.empty() ? kNoEntry : children.front();
  nodes_[parent].lastChild = previous;
  if (observer_) observer_->ChildrenSorted(parent);
}

std::vector<EntryId> CompilationTree::SubtreePreOrder(EntryId id) const {
  std::vector<EntryId> order;
  std::vector<EntryId> pending{id};
  while (!pending.empty()) {
    const EntryId each = pending.back();
    pending.pop_back();
    order.push_back(each);
    for (EntryId c = nodes_[each].lastChild; c != kNoEntry; c = nodes_[c].previous) pending.push_back(c);
  }
  return order;
}

void CompilationTree::Unlink(EntryId id) {
  Node& node = nodes_[id];
  Node& parent = nodes_[node.parent];
  if (node.previous == kNoEntry) parent.firstChild = node.next; else nodes_[node.previous].next = node.next;
  if (node.next == kNoEntry) parent.lastChild = node.previous; else nodes_[node.next].previous = node.previous;
}

void CompilationTree::Release(EntryId id) {
  Node& node = nodes_[id];
  node = Node{};  // releases the name and the entry's path
  --liveCount_;
}

void CompilationTree::DeleteSubtree(EntryId id) {
  DeleteSubtree(id, [](EntryId, const CompilationEntry&) {});
}

}  // namespace tarvo
