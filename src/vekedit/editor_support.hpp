// What the sources of the editor share: case folding, list box batches and the handler guard.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "VekEdit.hpp"

namespace VekEdit {

/// The editor compares list items without regard to case (ASCII letters).
std::string Fold(std::string_view S);
using vcl::SortAsListBox;

/// The indexes of the selected items, ascending: one message to the window while it holds the
/// items, the object's state otherwise.
std::vector<int> SelectedItems(const vcl::TListBox& List);
/// Deselects every item, with one message while the window holds the items.
void DeselectAll(vcl::TListBox& List);
/// The first item equal to S without regard to case, or -1.
int IndexOfFolded(const vcl::TListBox& List, const std::string& S);

/// Shows the hourglass while it lives and then the cursor there was before.
class THourGlass {
public:
  THourGlass();
  ~THourGlass();
  THourGlass(const THourGlass&) = delete;
  THourGlass& operator=(const THourGlass&) = delete;

private:
  vcl::TCursor FSaved;
};

/// A list box batch: the items change in the object and the window is filled once at the end.
class TListBatch {
public:
  explicit TListBatch(vcl::TListBox& List) : FList(List) { FList.Items()->BeginUpdate(); }
  ~TListBatch() { FList.Items()->EndUpdate(); }
  TListBatch(const TListBatch&) = delete;
  TListBatch& operator=(const TListBatch&) = delete;

private:
  vcl::TListBox& FList;
};

/// The shown form of a stored value: the literal form removed, or the value as it stands when it
/// is not a valid literal (so that a faulty value is seen and can be corrected).
std::string ShownValue(std::string_view Literal);

template <class F>
void TDlgEditor::Guarded(F&& Action) {
  try {
    Action();
  } catch (const vcl::Exception& e) {
    ShowError(e.Message());
  } catch (const std::exception& e) {
    ShowError(e.what());
  }
}

}  // namespace VekEdit
