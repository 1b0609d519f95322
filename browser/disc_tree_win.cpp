#include "browser/disc_tree_win.h"

#include "browser/browser_state_win.h"

namespace tarvo {

namespace {

// TVM_SORTCHILDRENCB order: the model's order of the level, by rank.
int CALLBACK CompareByRank(LPARAM first, LPARAM second, LPARAM ranks) {
  const auto& rank = *reinterpret_cast<const std::vector<uint32_t>*>(ranks);
  const auto a = static_cast<EntryId>(first);
  const auto b = static_cast<EntryId>(second);
  const uint32_t ra = a < rank.size() ? rank[a] : 0;
  const uint32_t rb = b < rank.size() ? rank[b] : 0;
  return ra < rb ? -1 : ra > rb ? 1 : 0;
}

}  // namespace

void DiscTreeView::Attach(HWND tree, const CompilationTree* model) {
  tree_ = tree;
  model_ = model;
  items_.clear();
}

void DiscTreeView::Detach() {
  tree_ = nullptr;
  items_.clear();
}

void DiscTreeView::EntryInserted(EntryId id) {
  if (tree_ == nullptr) return;
  const EntryId parent = model_->Parent(id);
  const EntryId previous = model_->PreviousSibling(id);
  TVINSERTSTRUCTA insert = {};
  insert.hParent = parent == kRootEntry ? TVI_ROOT : ItemOf(parent);
  insert.hInsertAfter = previous == kNoEntry ? TVI_FIRST : ItemOf(previous);
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = const_cast<char*>(model_->Name(id).c_str());
  const bool directory = model_->IsDirectory(id);
  insert.item.iImage = directory ? kImageFolder : kImageFile;
  insert.item.iSelectedImage = directory ? kImageFolderSelected : kImageFile;
  insert.item.lParam = static_cast<LPARAM>(id);
  auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
  if (id >= items_.size()) items_.resize(id + 1 + items_.size() / 2, nullptr);
  items_[id] = item;
}

void DiscTreeView::EntryDeleting(EntryId id) {
  if (tree_ == nullptr) return;
  if (HTREEITEM item = ItemOf(id)) SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
}

void DiscTreeView::ItemDeleted(LPARAM data) {
  const auto id = static_cast<EntryId>(data);
  if (id < items_.size()) items_[id] = nullptr;
}

void DiscTreeView::ChildrenSorted(EntryId parent) {
  if (tree_ == nullptr) return;
  const std::vector<EntryId> children = model_->Children(parent);
  if (children.size() < 2) return;
  if (rank_.size() < items_.size()) rank_.resize(items_.size());
  for (uint32_t i = 0; i < children.size(); ++i)
    if (children[i] < rank_.size()) rank_[children[i]] = i;
  TVSORTCB sort = {};
  sort.hParent = parent == kRootEntry ? TVI_ROOT : ItemOf(parent);
  sort.lpfnCompare = CompareByRank;
  sort.lParam = reinterpret_cast<LPARAM>(&rank_);
  SendMessageA(tree_, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

void DiscTreeView::TreeCleared() {
  if (tree_ == nullptr) return;
  SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  items_.clear();
}

EntryId DiscTreeView::Selection() const {
  if (tree_ == nullptr) return kNoEntry;
  auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (item == nullptr) return kNoEntry;
  TVITEMA read = {};
  read.mask = TVIF_PARAM | TVIF_HANDLE;
  read.hItem = item;
  // An item the control can't describe reads as an id the model doesn't
  // hold, which the commands report as unreadable.
  if (!SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&read))) return kNoEntry - 1;
  return static_cast<EntryId>(read.lParam);
}

void DiscTreeView::ClearSelection() {
  if (tree_) SendMessageA(tree_, TVM_SELECTITEM, TVGN_CARET, 0);
}

void DiscTreeView::SetRedraw(bool on) {
  if (tree_ == nullptr) return;
  SendMessageA(tree_, WM_SETREDRAW, on ? TRUE : FALSE, 0);
  if (on) InvalidateRect(tree_, nullptr, TRUE);
}

}  // namespace tarvo
