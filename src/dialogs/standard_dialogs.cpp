// The table of the standard dialog classes. A new kind of dialog is a row here and its recording
// in data/dialogs; tests/dialogs/standard_dialogs_test.cpp holds every row to having both.
#include "vcl/StandardDialogs.hpp"

#include "vcl/Dialogs.hpp"

namespace vcl {

namespace {

template <class T>
TCommonDialog* MakeDialog(TComponent* AOwner) {
  return new T(AOwner);
}

template <class T>
constexpr TStandardDialog Row(const char* Kind) {
  return TStandardDialog{&T::StaticClass, Kind, &MakeDialog<T>};
}

constexpr TStandardDialog Rows[] = {
    Row<TOpenDialog>("open"),   Row<TSaveDialog>("save"),   Row<TFontDialog>("font"),
    Row<TColorDialog>("color"), Row<TPrintDialog>("print"), Row<TPrinterSetupDialog>("printsetup"),
    Row<TFindDialog>("find"),   Row<TReplaceDialog>("replace"),
};

}  // namespace

std::span<const TStandardDialog> StandardDialogs() { return Rows; }

const TStandardDialog* FindStandardDialog(std::string_view ClassName) {
  for (const TStandardDialog& d : Rows)
    if (d.ClassName() == ClassName) return &d;
  return nullptr;
}

const TStandardDialog* StandardDialogOf(TClass Class) {
  for (TClass c = Class; c; c = c->ClassParent())
    for (const TStandardDialog& d : Rows)
      if (d.Class() == c) return &d;
  return nullptr;
}

}  // namespace vcl
