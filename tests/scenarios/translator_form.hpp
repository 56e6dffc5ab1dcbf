// The form of the translator scenarios: a dialog of each kind and a translator with German
// entries for them all, shown the same way under Windows and in the simulation.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Vek.hpp"
#include "dialog_support.hpp"
#include "test_support.hpp"
#include "vcl/Forms.hpp"
#include "win/printer.h"

namespace scenario {

using testing_support::TextOf;
using testing_support::TMyOpenDialog;

// A descendant of the open dialog that no form holds, and a dialog class outside the six
// families.
class TStrayOpenDialog : public vcl::TOpenDialog {
  VCL_DECLARE_CLASS
public:
  using vcl::TOpenDialog::TOpenDialog;
};
class TOwnDialog : public vcl::TCommonDialog {
  VCL_DECLARE_CLASS
public:
  using vcl::TCommonDialog::TCommonDialog;
};

/// A dialog kind of the form: the control translated by id (and moved and resized), and the
/// position of a child translated by its ordinal id.
struct Kind {
  vcl::TClass Class;
  int LabelId;
  int Ordinal;
};
extern const std::vector<Kind> Kinds;

/// Title, a text by id, a text by position, the controls' font, a width, a move and a resize.
std::vector<std::string> GermanEntries(vcl::TClass Class, int LabelId, int Ordinal);

/// Shows a dialog; Action sees it shown (modal dialogs: on their first idle, before any
/// input), then it is closed.
void Show(vcl::TCommonDialog* Dialog, const std::function<void(HWND)>& Action);

/// A dialog of Class on Form, as the scenarios show it: a file dialog at the root, leaving the
/// current folder as it is (the recordings were made at the root).
vcl::TCommonDialog* AddDialog(vcl::TForm* Form, vcl::TClass Class);

/// Wine's file dialogs come back at the size they were last closed with, for the rest of the
/// process. Shrunk to the least size they take (that of the template), they are laid out as when
/// first shown, the layout the recordings hold. Nothing in the simulation.
void AsFirstShown(HWND Dialog);

/// The window an entry's property names in a shown dialog: the dialog ("Caption"), a control by
/// id, or the n-th direct child for an ordinal id ("Caption[-2]"); 0 when there is none.
HWND WindowOf(HWND Dialog, const std::string& Property);
/// A window's text as it holds it, UTF-16, and in UTF-8.
std::u16string WideTextOf(HWND Window);
std::string Utf8TextOf(HWND Window);

/// The form: a dialog of each kind and a translator loaded with German entries for them all
/// (and for a class that no form holds); the interception state is reset at the end.
class TranslatorForm : public ::testing::Test {
protected:
  TranslatorForm();
  ~TranslatorForm() override;
  win::LocalPrinter FPrinter;  // the print dialogs need one under Wine
  vcl::TForm* FForm = new vcl::TForm(vcl::Application);
  std::vector<vcl::TCommonDialog*> FDialogs;
  Vek::TLumetra* FLmt = new Vek::TLumetra(FForm);
};

}  // namespace scenario
