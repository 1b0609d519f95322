// The disc tree: a tree-view control that mirrors the compilation model.
// The model is the only source of truth; the view follows its insertions,
// deletions and sorts, and keeps each item's entry id as the item's data.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "browser/compilation_tree.h"

namespace tarvo {

class DiscTreeView final : public CompilationObserver {
 public:
  void Attach(HWND tree, const CompilationTree* model);
  void Detach();

  void EntryInserted(EntryId id) override;
  void EntryDeleting(EntryId id) override;
  void ChildrenSorted(EntryId parent) override;
  void TreeCleared() override;

  // TVN_DELETEITEM: the control lets an item go.
  void ItemDeleted(LPARAM data);

  // The entry of the selected item; kNoEntry when nothing is selected.
  EntryId Selection() const;
  void ClearSelection();
  void SetRedraw(bool on);

  HTREEITEM ItemOf(EntryId id) const { return id < items_.size() ? items_[id] : nullptr; }

 private:
  HWND tree_ = nullptr;
  const CompilationTree* model_ = nullptr;
  std::vector<HTREEITEM> items_;  // by entry id
  std::vector<uint32_t> rank_;    // position of each child while a level is sorted
};

}  // namespace tarvo
