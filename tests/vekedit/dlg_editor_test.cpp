// The editor form: its stored form, OK, Cancel and the close box, pending edits, the options
// pages and their per-user settings, the hint pause, ShowEditor, and input as the user gives it.
#include "editor_fixture.hpp"
#include "input.hpp"

using namespace vcl;
using editor_test::Editor;
using VekEdit::TDlgEditor;

namespace {

class Form : public Editor {
protected:
  Form() {
    // Out of order (filled by SetText), as a list can come from code.
    FLmt->Translations()->SetText("TOpenDialog.Width=566\r\nTOpenDialog.Caption=''\r\n");
    FLmt->OrgProps()->SetText("TOpenDialog.Width=566\r\nTOpenDialog.Caption='Open'\r\n");
  }
  // The editor made as ShowEditor makes it, to be shown modally by the test.
  TDlgEditor& Make() {
    FEditor = std::make_unique<TDlgEditor>(Application);
    FEditor->Translator = FLmt;
    return *FEditor;
  }
  static std::string Container(const TControl* C) {
    const TWinControl* p = C->Parent();
    if (!p || p->Is<TCustomForm>()) return "-";
    if (p->Is<TTabPage>()) return p->Caption();
    return p->Name().empty() ? p->ClassName() : p->Name();
  }
};

}  // namespace

TEST_F(Form, TheStoredFormHoldsEveryControlWithItsSettings) {
  TDlgEditor& e = Make();
  EXPECT_EQ(e.Caption(), "Common Dialog Translations Editor");
  EXPECT_EQ(e.BorderStyle(), bsDialog);
  EXPECT_EQ(e.Position(), poScreenCenter);
  EXPECT_EQ(e.ClientWidth(), 493);
  EXPECT_EQ(e.ClientHeight(), 375);
  EXPECT_EQ(e.Font()->Name(), "Arial");
  EXPECT_EQ(e.Font()->Height(), -13);
  std::vector<std::string> pages;
  for (int i = 0; i < e.FormNotebook->PageCount(); ++i) pages.push_back(e.FormNotebook->Page(i)->Caption());
  EXPECT_EQ(pages, (std::vector<std::string>{"Translations", "Options", "Font", "Reading order", "Dialogs", "Dictionary"}));
  EXPECT_EQ(e.FormNotebook->PageIndex(), 0);
  EXPECT_EQ(e.FormNotebook->TabFont()->Name(), "Arial");

  const struct {
    const char* Name;
    const char* In;
    int L, T, W, H;
    const char* Caption;
    const char* Hint;  // nullptr: no hint shown
    int TabOrder;      // -1: a control without focus
  } cases[] = {
      {"BtnOK", "-", 388, 336, 97, 25, "&OK", nullptr, 0},
      {"BtnCancel", "-", 276, 336, 97, 25, "&Cancel", nullptr, 1},
      {"FormNotebook", "-", 12, 8, 473, 313, "", nullptr, 2},
      {"LblResList", "Translations", 16, 8, 191, 16, "Dialog properties to be translated", nullptr, -1},
      {"PropList", "Translations", 16, 26, 265, 95, "", "These are the internationalized properties to be translated", 0},
      {"BtnNew", "Translations", 296, 24, 99, 25, "&New", "Specify a new property to be translated", 1},
      {"BtnRemove", "Translations", 296, 56, 99, 25, "&Remove", "Remove the property from the translation list", 2},
      {"Label2", "Translations", 16, 128, 142, 16, "Original value of property", nullptr, -1},
      {"EdtOrgTranslation", "Translations", 16, 145, 433, 40, "", nullptr, 3},
      {"LblTranslation", "Translations", 16, 192, 63, 16, "Translation", nullptr, -1},
      {"EdtTranslation", "Translations", 16, 209, 433, 40, "",
       "Edit the translation. Use PageUp/PageDown to move between properties", 4},
      {"Bevel1", "Options", 8, 16, 441, 65, "", nullptr, -1},
      {"LblNrOfTranslations", "Options", 16, 24, 146, 16, "Total nr of translations:", nullptr, -1},
      {"LblTot", "Options", 377, 26, 63, 16, "Nr of items", nullptr, -1},
      {"LblStringsLocalized", "Options", 16, 48, 164, 16, "Nr of properties localized:", nullptr, -1},
      {"LblLocalized", "Options", 377, 50, 63, 16, "Nr of items", nullptr, -1},
      {"CkxMove", "Options", 8, 153, 441, 17, "PageUp/PageDown moves to next untranslated property", nullptr, 0},
      {"GroupDisplayFont", "Font", 8, 9, 441, 81, "Display Font", nullptr, 0},
      {"LblDisplayFont", "GroupDisplayFont", 8, 24, 78, 16, "Name of Font", nullptr, -1},
      {"BtnDisplayFont", "GroupDisplayFont", 336, 48, 97, 25, "Select", nullptr, 0},
      {"GroupEditFont", "Font", 8, 112, 441, 81, "Edit Font", nullptr, 1},
      {"LblEditFont", "GroupEditFont", 8, 24, 78, 16, "Name of Font", nullptr, -1},
      {"BtnEditFont", "GroupEditFont", 336, 48, 97, 25, "Select", nullptr, 0},
      {"GroupReadingOrder", "Reading order", 8, 16, 441, 81, "Reading Order", nullptr, 0},
      {"GroupFarEastern", "Reading order", 8, 112, 441, 89, "Far Eastern Input Method Editors", nullptr, 1},
      {"Label1", "GroupFarEastern", 16, 24, 417, 49,
       "In Far Eastern Windows editions, set the IME functionality in the control panel. Activate the IME with "
       "Ctrl+Spacebar.",
       nullptr, -1},
      {"LblAvailableProps", "Dialogs", 12, 8, 112, 16, "Properties available", nullptr, -1},
      {"ListAvail", "Dialogs", 8, 28, 261, 213, "", "", 0},  // the hint is set per item
      {"GrpSelected", "Dialogs", 280, 152, 153, 89, "Selected properties", nullptr, 1},
      {"LblSelected", "GrpSelected", 15, 25, 74, 16, "%s Selected", nullptr, -1},
      {"BtnIncludeProp", "GrpSelected", 16, 48, 97, 25, "Include", "Include the selected properties in the translation list.", 0},
      {"BtnRescan", "Dialogs", 296, 48, 97, 25, "Rescan", nullptr, 2},
      {"Bevel4", "Dictionary", 8, 16, 441, 105, "", nullptr, -1},
      {"LblTranslate", "Dictionary", 16, 28, 321, 33, "Translate properties using the selected dictionary", nullptr, -1},
      {"BtnTranslate", "Dictionary", 340, 32, 97, 25, "Translate", nullptr, 0},
      {"LblExport", "Dictionary", 16, 76, 321, 33, "Create or update a dictionary with translations", nullptr, -1},
      {"BtnExport", "Dictionary", 340, 80, 97, 25, "Export", nullptr, 3},
      {"Bevel5", "Dictionary", 8, 144, 441, 105, "", nullptr, -1},
      {"LblLoad", "Dictionary", 16, 156, 321, 33, "Load properties from an external textfile.", nullptr, -1},
      {"BtnLoad", "Dictionary", 340, 160, 97, 25, "Load", nullptr, 1},
      {"LblSave", "Dictionary", 16, 204, 321, 33, "Save current properties to an external textfile.", nullptr, -1},
      {"BtnSave", "Dictionary", 340, 208, 97, 25, "Save", nullptr, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    auto* control = dynamic_cast<TControl*>(e.FindComponent(c.Name));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(Container(control), c.In);
    EXPECT_EQ((std::vector<int>{control->Left(), control->Top(), control->Width(), control->Height()}),
              (std::vector<int>{c.L, c.T, c.W, c.H}));
    if (!control->Is<TMemo>() && !control->Is<TListBox>()) {
      EXPECT_EQ(control->Caption(), c.Caption);
    }
    EXPECT_EQ(control->ShowHint(), c.Hint != nullptr);
    if (c.Hint) {
      EXPECT_EQ(control->Hint(), c.Hint);
    }
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
      EXPECT_EQ(win->TabOrder(), c.TabOrder);
    }
  }
  EXPECT_EQ(e.BtnOK->ModalResult(), mrOk);
  EXPECT_FALSE(e.BtnOK->Default());
  EXPECT_TRUE(e.BtnCancel->Cancel());
  EXPECT_EQ(e.BtnCancel->ModalResult(), mrNone);
  EXPECT_TRUE(e.PropList->MultiSelect() && e.PropList->Sorted() && e.ListAvail->MultiSelect() && e.ListAvail->Sorted());
  EXPECT_TRUE(e.EdtOrgTranslation->ReadOnly());
  EXPECT_EQ(e.EdtOrgTranslation->Color(), clBtnFace);
  EXPECT_TRUE(e.EdtTranslation->WantTabs() && e.EdtTranslation->WantReturns());
  EXPECT_FALSE(e.EdtTranslation->HideSelection());
  EXPECT_EQ(e.LblTot->Alignment(), taRightJustify);
  EXPECT_TRUE(e.Field<TLabel>("LblNrOfTranslations")->Font()->Style() & fsBold);
  EXPECT_EQ(e.GroupReadingOrder->ItemIndex(), 1);
  EXPECT_EQ(testing_support::LinesOf(*e.GroupReadingOrder->Items()),
            (std::vector<std::string>{"Right To Left (Arabic, Hebrew)", "Left to Right"}));
  EXPECT_TRUE(e.CkxMove->Checked());
  EXPECT_FALSE(e.BtnIncludeProp->Enabled());
  for (TOpenDialog* d : {e.OpenDialog1, static_cast<TOpenDialog*>(e.SaveDialog1)}) {
    EXPECT_EQ(d->DefaultExt(), "txt");
    EXPECT_EQ(d->Filter(), "Dictionary (*.txt)|*.txt|All files (*.*)|*.*");
  }
  EXPECT_TRUE(e.SaveDialog1->Options() & ofOverwritePrompt);
  EXPECT_FALSE(e.OpenDialog1->Options() & ofOverwritePrompt);
}

// The class of a captured value is the text before its first "."; a value without one names
// the empty class, once, whatever else the line holds. Names are compared without regard to case.
TEST_F(Form, ShowingTakesTheClassesOfTheCapturedValuesBeforeTheirFirstDot) {
  FLmt->OrgProps()->SetText("A.B.C=1\r\nPlain=1\r\nTOpenDialog.Width=566\r\nValue\r\ntopendialog.Caption[5]='x'\r\n");
  TDlgEditor& e = Open();
  EXPECT_EQ(testing_support::LinesOf(e.DlgClasses()), (std::vector<std::string>{"A", "", "TOpenDialog"}));
}

TEST_F(Form, OKWithoutAChangeEndsCancelledAndLeavesTheComponentAlone) {
  const std::vector<std::string> before = testing_support::LinesOf(*FLmt->Translations());
  TDlgEditor& e = Open();
  ClickKey("TOpenDialog.Width");
  Type("566");
  e.BtnOKClick(e.BtnOK);
  EXPECT_EQ(e.ModalResult(), mrCancel);
  EXPECT_EQ(testing_support::LinesOf(*FLmt->Translations()), before) << "also their order";
  EXPECT_EQ(FLmt->OrgProps()->Get(0), "TOpenDialog.Width=566");
}

TEST_F(Form, OKAfterAChangeHandsTheCopyBackWithTheCapturedValuesInOrder) {
  TDlgEditor& e = Open();
  ClickKey("TOpenDialog.Caption");
  Type("Öffnen");
  e.BtnOKClick(e.BtnOK);
  EXPECT_EQ(e.ModalResult(), mrOk);
  EXPECT_EQ(testing_support::LinesOf(*FLmt->Translations()),
            (std::vector<std::string>{"TOpenDialog.Caption='Öffnen'", "TOpenDialog.Width=566"}));
  EXPECT_EQ(testing_support::LinesOf(*FLmt->OrgProps()),
            (std::vector<std::string>{"TOpenDialog.Caption='Open'", "TOpenDialog.Width=566"}));
}

TEST_F(Form, CancelAsksOnlyWhenSomethingChanged) {
  const struct {
    bool Change;
    std::vector<TModalResult> Answers;
    TModalResult Result;
  } cases[] = {{false, {}, mrCancel}, {true, {mrNo}, mrNone}, {true, {mrYes}, mrCancel}};
  for (const auto& c : cases) {
    TDlgEditor& e = Open();
    FDialogs.Asked.clear();
    FDialogs.Answers.assign(c.Answers.begin(), c.Answers.end());
    if (c.Change) {
      ClickKey("TOpenDialog.Caption");
      e.EdtTranslation->SetText("typed, not left yet");  // stored by Cancel
    }
    e.BtnCancelClick(e.BtnCancel);
    EXPECT_EQ(e.ModalResult(), c.Result);
    EXPECT_EQ(FDialogs.Asked.size(), c.Change ? 1u : 0u);
    if (c.Change) {
      EXPECT_EQ(FDialogs.Asked[0], "MessageDlg Do you want to discard the changes ?");
    }
    EXPECT_EQ(FLmt->Translations()->Get(0), "TOpenDialog.Width=566");
    Close();
  }
}

TEST_F(Form, TheCountersAreComputedWhenTheOptionsPageIsSelected) {
  FLmt->Translations()->SetText("K.A='x'\r\nK.B=''\r\nK.C=\r\nK.D=#\r\nK.E=12\r\n");
  TDlgEditor& e = Open();
  EXPECT_EQ(e.LblTot->Caption(), "Nr of items");
  e.FormNotebook->SetPageIndex(1);
  EXPECT_EQ(e.LblTot->Caption(), "5");
  EXPECT_EQ(e.LblLocalized->Caption(), "3") << "'' and an empty value are not localized; # is counted raw";
}

TEST_F(Form, APageChangeStoresAnEditStillInTheBox) {
  TDlgEditor& e = Open();
  ClickKey("TOpenDialog.Caption");
  e.EdtTranslation->SetText("Öffnen");
  e.FormNotebook->SetPageIndex(1);
  EXPECT_EQ(e.TransList().Get(0), "TOpenDialog.Caption='Öffnen'");
  EXPECT_EQ(e.LblLocalized->Caption(), "2") << "counted with the edit";
  EXPECT_TRUE(e.Modified());
}

TEST_F(Form, AFreshUserGetsTheDesignedSettingsWhichAreWrittenBack) {
  TDlgEditor& e = Open();
  EXPECT_TRUE(e.CkxMove->Checked());
  EXPECT_EQ(e.EdtTranslation->Font()->Name(), "Arial");
  EXPECT_EQ(e.PropList->Font()->Name(), "Arial");
  EXPECT_EQ(e.LblEditFont->Caption(), "Arial");
  EXPECT_EQ(e.LblDisplayFont->Caption(), "Arial");
  EXPECT_EQ(e.GroupReadingOrder->ItemIndex(), 1);
  EXPECT_EQ(e.EdtTranslation->Alignment(), taLeftJustify);
  EXPECT_EQ(ReadSetting("ReadingOrderIndex"), "1");
  EXPECT_EQ(ReadSetting("MoveNextUntranslated"), "<none>");
}

TEST_F(Form, SettingsWrittenByHandGiveTheDefaultsWhenTheyAreNotValues) {
  const struct {
    const char* Move;
    const char* Order;
    const char* Font;
    bool Checked;
    int Index;
    const char* FontName;
  } cases[] = {
      {"0", "0", "Courier New", false, 0, "Courier New"},
      {"1", "1", "Tahoma", true, 1, "Tahoma"},
      {"yes", "abc", "", true, 1, "Arial"},
      {"2", "7", "Arial", true, 1, "Arial"},
      {"-1", "-1", "Arial", true, -1, "Arial"},
      {"", " ", "Arial", true, 1, "Arial"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Move) + "/" + c.Order);
    WriteSetting("MoveNextUntranslated", c.Move);
    WriteSetting("ReadingOrderIndex", c.Order);
    WriteSetting("EditFontName", c.Font);
    WriteSetting("DisplayFontName", c.Font);
    TDlgEditor& e = Open();
    EXPECT_EQ(e.CkxMove->Checked(), c.Checked);
    EXPECT_EQ(e.GroupReadingOrder->ItemIndex(), c.Index);
    EXPECT_EQ(e.EdtTranslation->Alignment(), c.Index == 0 ? taRightJustify : taLeftJustify);
    EXPECT_EQ(e.EdtTranslation->Font()->Name(), c.FontName);
    EXPECT_EQ(e.LblDisplayFont->Caption(), c.FontName);
    EXPECT_TRUE(FDialogs.Asked.empty());
    Close();
  }
}

TEST_F(Form, OptionsAreWrittenTheMomentTheyChange) {
  TDlgEditor& e = Open();
  e.CkxMove->SetChecked(false);
  EXPECT_EQ(ReadSetting("MoveNextUntranslated"), "0");
  e.GroupReadingOrder->SetItemIndex(0);
  EXPECT_EQ(ReadSetting("ReadingOrderIndex"), "0");
  EXPECT_EQ(e.EdtTranslation->Alignment(), taRightJustify);

  FDialogs.OnExecute = [](TCommonDialog& D) {
    auto& font = dynamic_cast<TFontDialog&>(D);
    EXPECT_EQ(font.FontName(), "Arial") << "the dialog starts from the font in use";
    font.SetFontName("Courier New");
    font.SetFontHeight(-16);
    return true;
  };
  e.BtnEditFontClick(e.BtnEditFont);
  EXPECT_EQ(e.EdtTranslation->Font()->Name(), "Courier New");
  EXPECT_EQ(e.EdtTranslation->Font()->Height(), -16);
  EXPECT_EQ(e.LblEditFont->Caption(), "Courier New");
  EXPECT_EQ(ReadSetting("EditFontName"), "Courier New");
  e.BtnDisplayFontClick(e.BtnDisplayFont);
  EXPECT_EQ(e.PropList->Font()->Name(), "Courier New");
  EXPECT_EQ(e.EdtOrgTranslation->Font()->Name(), "Courier New");
  EXPECT_EQ(ReadSetting("DisplayFontName"), "Courier New");
  FDialogs.OnExecute = nullptr;  // cancelled
  e.BtnEditFontClick(e.BtnEditFont);
  EXPECT_EQ(e.EdtTranslation->Font()->Name(), "Courier New");
  EXPECT_FALSE(e.Modified()) << "options are not part of the working copy";
  Close();

  // Cancelled or not, the next show reads them; only the key list gets the display font.
  TDlgEditor& again = Open();
  EXPECT_FALSE(again.CkxMove->Checked());
  EXPECT_EQ(again.GroupReadingOrder->ItemIndex(), 0);
  EXPECT_EQ(again.EdtTranslation->Font()->Name(), "Courier New");
  EXPECT_EQ(again.PropList->Font()->Name(), "Courier New");
  EXPECT_EQ(again.EdtOrgTranslation->Font()->Name(), "Arial");
}

TEST_F(Form, TheHintPauseIsTheApplicationsAgainOnceTheEditorCloses) {
  const int before = Application->HintPause();
  Open();
  EXPECT_EQ(Application->HintPause(), 400);
  Close();
  EXPECT_EQ(Application->HintPause(), before);
}

// ---- Modal, with input as the user gives it ------------------------------------------------------

TEST_F(Form, AnEditPendingWhenOKIsPressedByKeyboardIsStored) {
  TDlgEditor& e = Make();
  const TModalResult result = ui_test::RunModal(e, {[&] {
                                                      e.PropList->SetItemIndex(0);
                                                      e.PropListClick(e.PropList);
                                                      e.EdtTranslation->SetFocus();
                                                      e.EdtTranslation->SetText("Datei");
                                                    },
                                                    [] { ui_test::Key('O', ssAlt); }});
  EXPECT_EQ(result, mrOk);
  EXPECT_EQ(FLmt->Translations()->Get(0), "TOpenDialog.Caption='Datei'");
}

TEST_F(Form, TheCloseBoxAsksWhenSomethingChanged) {
  TDlgEditor& e = Make();
  FDialogs.Answers = {mrNo, mrYes};
  bool stillOpen = false;
  const TModalResult result = ui_test::RunModal(
      e, {[&] {
            e.PropList->SetItemIndex(1);
            e.PropListClick(e.PropList);
            e.EdtTranslation->SetFocus();
            e.EdtTranslation->SetText("600");
          },
          [&] { PostMessageA(e.Handle(), WM_CLOSE, 0, 0); }, [&] { stillOpen = IsWindowVisible(e.Handle()) != 0; },
          [&] { PostMessageA(e.Handle(), WM_CLOSE, 0, 0); }});
  EXPECT_TRUE(stillOpen) << "No keeps the editor open";
  EXPECT_EQ(result, mrCancel);
  EXPECT_EQ(FDialogs.Asked, (std::vector<std::string>{"MessageDlg Do you want to discard the changes ?",
                                                      "MessageDlg Do you want to discard the changes ?"}));
  EXPECT_EQ(FLmt->Translations()->Get(0), "TOpenDialog.Width=566");
}

TEST_F(Form, EscInTheTranslationBoxRestoresAndDoesNotCancel) {
  TDlgEditor& e = Make();
  bool open = false;
  std::string text;
  ui_test::RunModal(e, {[&] {
                          e.PropList->SetItemIndex(1);
                          e.PropListClick(e.PropList);
                          e.EdtTranslation->SetFocus();
                          e.EdtTranslation->SetText("600");
                        },
                        [] { ui_test::Key(VK_ESCAPE); },
                        [&] {
                          open = e.ModalResult() == mrNone;
                          text = e.EdtTranslation->Text();
                        },
                        [&] { ui_test::Click(e.BtnOK); }});
  EXPECT_TRUE(open);
  EXPECT_EQ(text, "566");
  EXPECT_EQ(e.ModalResult(), mrCancel) << "nothing changed";
}

TEST_F(Form, RightToLeftTypingOnAWesternCodePageGrowsLeftwards) {
  WriteSetting("ReadingOrderIndex", "0");
  TDlgEditor& e = Make();
  e.SetCodePage(1252);
  FDialogs.Answers = {mrYes};  // closing discards the text typed
  std::string text;
  ui_test::RunModal(e, {[&] {
                          e.PropList->SetItemIndex(0);
                          e.PropListClick(e.PropList);
                          e.EdtTranslation->SetFocus();
                        },
                        [] { ui_test::Key('A'); }, [] { ui_test::Key('B'); }, [] { ui_test::Key('C'); },
                        [&] { text = e.EdtTranslation->Text(); }, [&] { e.Close(); }});
  EXPECT_EQ(text, "cba");
}

TEST_F(Form, ShowEditorIsTrueOnlyForAChangeHandedBackAndFreesTheForm) {
  const int forms = Application->ComponentCount();
  auto editor = [] { return dynamic_cast<TDlgEditor*>(TControl::FromHandle(GetActiveWindow())); };
  bool shown = false;
  ui_test::RunScript([&] { shown = FLmt->ShowEditor(); }, {[&] { editor()->BtnOK->Click(); }});
  EXPECT_FALSE(shown);
  ui_test::RunScript([&] { shown = FLmt->ShowEditor(); }, {[&] {
                                                             TDlgEditor* e = editor();
                                                             e->PropList->SetItemIndex(0);
                                                             e->PropListClick(e->PropList);
                                                             e->EdtTranslation->SetText("Offen");
                                                             e->BtnOK->Click();
                                                           }});
  EXPECT_TRUE(shown);
  EXPECT_EQ(FLmt->Translations()->Get(0), "TOpenDialog.Caption='Offen'");
  EXPECT_EQ(Application->ComponentCount(), forms);
}
