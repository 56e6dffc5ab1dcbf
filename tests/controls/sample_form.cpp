// The sample stored form: its class, published handlers and fields.
#include "sample_form.hpp"

using namespace vcl;

VCL_IMPLEMENT_CLASS(TSampleForm, vcl::TForm, [](vcl::TMetaClass& c) {
  PublishMethod(c, "FormCreate", &TSampleForm::FormCreate);
  PublishMethod(c, "FormShow", &TSampleForm::FormShow);
  PublishMethod(c, "BtnOKClick", &TSampleForm::BtnOKClick);
  PublishMethod(c, "NotebookChange", &TSampleForm::NotebookChange);
  PublishMethod(c, "MemNotesExit", &TSampleForm::MemNotesExit);
  PublishMethod(c, "LstItemsClick", &TSampleForm::LstItemsClick);
})

TSampleForm::TSampleForm(TComponent* AOwner) : TForm(AOwner) {
  InitInheritedComponent();
  BtnOK = Field<TButton>("BtnOK");
  BtnCancel = Field<TButton>("BtnCancel");
  Notebook = Field<TTabbedNotebook>("Notebook");
  EdtName = Field<TEdit>("EdtName");
  MemNotes = Field<TMemo>("MemNotes");
  ChkMove = Field<TCheckBox>("ChkMove");
  LstItems = Field<TListBox>("LstItems");
  GrpOrder = Field<TRadioGroup>("GrpOrder");
  BtnInGroup = Field<TButton>("BtnInGroup");
}

void TSampleForm::FormCreate(TObject*) { Trace.push_back("FormCreate"); }
void TSampleForm::FormShow(TObject*) { Trace.push_back("FormShow"); }
void TSampleForm::BtnOKClick(TObject*) {
  Trace.push_back("BtnOKClick " + IntToStr(ModalResult()));
  if (ThrowOnOK) throw EConvertError("Handler failed on purpose");
}
void TSampleForm::NotebookChange(TObject*, int NewTab, bool& AllowChange) {
  Trace.push_back("NotebookChange " + IntToStr(NewTab));
  AllowChange = !RefuseChange;
}
void TSampleForm::MemNotesExit(TObject*) { Trace.push_back("MemNotesExit"); }
void TSampleForm::LstItemsClick(TObject*) { Trace.push_back("LstItemsClick"); }
