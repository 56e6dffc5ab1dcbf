// The sample stored form of the controls tests: every control kind, its handlers recording
// what ran.
#pragma once

#include <string>
#include <vector>

#include "vcl/ExtCtrls.hpp"
#include "vcl/Forms.hpp"
#include "vcl/StdCtrls.hpp"
#include "vcl/TabNotBk.hpp"

class TSampleForm : public vcl::TForm {
  VCL_DECLARE_CLASS
public:
  explicit TSampleForm(vcl::TComponent* AOwner);

  vcl::TButton* BtnOK;
  vcl::TButton* BtnCancel;
  vcl::TTabbedNotebook* Notebook;
  vcl::TEdit* EdtName;
  vcl::TMemo* MemNotes;
  vcl::TCheckBox* ChkMove;
  vcl::TListBox* LstItems;
  vcl::TRadioGroup* GrpOrder;
  vcl::TButton* BtnInGroup;

  /// What the handlers saw, in order ("FormCreate", "NotebookChange 1", ...).
  std::vector<std::string> Trace;
  bool RefuseChange = false;
  bool ThrowOnOK = false;

  void FormCreate(vcl::TObject* Sender);
  void FormShow(vcl::TObject* Sender);
  void BtnOKClick(vcl::TObject* Sender);
  void NotebookChange(vcl::TObject* Sender, int NewTab, bool& AllowChange);
  void MemNotesExit(vcl::TObject* Sender);
  void LstItemsClick(vcl::TObject* Sender);
};
