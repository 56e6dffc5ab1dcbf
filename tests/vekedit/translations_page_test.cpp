// The Translations page: keys, captured values and translations, storing edits, Esc, PageUp and
// PageDown, New and Remove, and the shared lookups.
#include "editor_fixture.hpp"

using namespace vcl;
using editor_test::Editor;
using VekEdit::TDlgEditor;

namespace {

class Translations : public Editor {
protected:
  Translations() {
    FLmt->Translations()->SetText(
        "TOpenDialog.Caption='Öffnen'\r\n"
        "TOpenDialog.Caption[1091]=''\r\n"
        "TOpenDialog.Font.Name='Arial'\r\n"
        "TOpenDialog.Width=566\r\n");
    for (const char* line : {"TOpenDialog.Caption='Open'", "TOpenDialog.Caption[1091]='Look &in:'",
                             "TOpenDialog.Font.Name='MS Shell Dlg'", "TOpenDialog.Width=566", "TOpenDialog.Height=360",
                             "TOpenDialog.Caption[1]='Files'"})
      FLmt->OrgProps()->SortInsert(line, nullptr);
  }
  std::string Entry(const std::string& Key) const {
    const int i = TDlgEditor::GetPropIndex(Key, FEditor->TransList());
    return i < 0 ? "<none>" : FEditor->TransList().Get(i);
  }
};

}  // namespace

TEST(GetPropIndex, FindsTheEntryOfTheKeyNotOfALongerKey) {
  TStringList list;
  list.SetText("T.Font.Name='Arial'\r\nT.Caption[1]='x'\r\nT.Font=3\r\nT.Caption='y'\r\nBare\r\n");
  const struct {
    const char* Key;
    int Index;
  } cases[] = {
      {"T.Font", 2},        // not T.Font.Name, which comes first and begins with it
      {"T.Caption", 3},     // not T.Caption[1]
      {"T.Caption[1]", 0 + 1},
      {"Bare", 4},          // a line equal to the key
      {"T", -1},
      {"T.Font.Name='Arial'", -1},
      {"", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(TDlgEditor::GetPropIndex(c.Key, list), c.Index) << c.Key;
}

TEST(IsStringLiteral, QuoteOrHashFirst) {
  for (const char* yes : {"'Open'", "''", "#13", "#", "'"}) EXPECT_TRUE(TDlgEditor::IsStringLiteral(yes)) << yes;
  for (const char* no : {"", "120", "Arial", " 'x'", "-1"}) EXPECT_FALSE(TDlgEditor::IsStringLiteral(no)) << no;
}

TEST_F(Translations, ShowingListsTheKeysAndTheAvailableCapturedOnesOnce) {
  FLmt->OrgProps()->SortInsert("TOpenDialog.Height=361", nullptr);  // a second value of one key
  FLmt->OrgProps()->SortInsert("ActiveControlOf.Form=1", nullptr);
  TDlgEditor& e = Open();
  EXPECT_EQ(Items(*e.PropList), (std::vector<std::string>{"TOpenDialog.Caption", "TOpenDialog.Caption[1091]",
                                                          "TOpenDialog.Font.Name", "TOpenDialog.Width"}));
  const std::vector<std::string> available{"TOpenDialog.Caption[1]", "TOpenDialog.Height"};
  EXPECT_EQ(Items(*e.ListAvail), available) << "translated keys and ActiveControl are not offered";
  e.RefreshPropList();
  e.RefreshPropList();
  EXPECT_EQ(Items(*e.ListAvail), available);
  EXPECT_FALSE(e.Modified());
  EXPECT_EQ(testing_support::LinesOf(e.DlgClasses()), (std::vector<std::string>{"ActiveControlOf", "TOpenDialog"}));
}

TEST_F(Translations, ClickShowsTheCapturedValueAndTheTranslationWithoutLiteralForm) {
  TDlgEditor& e = Open();
  ClickKey("TOpenDialog.Caption[1091]");
  EXPECT_EQ(e.EdtOrgTranslation->Text(), "Look &in:");
  EXPECT_EQ(e.EdtTranslation->Text(), "");
  EXPECT_TRUE(e.EdtTranslation->Enabled());
  EXPECT_EQ(e.EdtTranslation->Color(), clWindow);
  EXPECT_TRUE(e.BtnRemove->Enabled());
  ClickKey("TOpenDialog.Caption");
  EXPECT_EQ(e.EdtTranslation->Text(), "Öffnen");
  EXPECT_EQ(e.CurText(), "Öffnen");
}

TEST_F(Translations, EmptyListHasNoCurrentKey) {
  FLmt->Translations()->Clear();
  TDlgEditor& e = Open();
  EXPECT_FALSE(e.EdtTranslation->Enabled());
  EXPECT_EQ(e.EdtTranslation->Color(), clBtnFace);
  EXPECT_FALSE(e.BtnRemove->Enabled());
  Type("typed without a key");
  EXPECT_EQ(e.TransList().Count(), 0);
  EXPECT_FALSE(e.Modified());
}

TEST_F(Translations, TypedTextIsStoredSoThatItReadsBackAsTyped) {
  FLmt->Translations()->SortInsert("TOpenDialog.Font=", nullptr);        // no captured value
  FLmt->Translations()->SortInsert("TOpenDialog.Caption[7]=", nullptr);  // a caption without capture
  const struct {
    const char* Key;
    const char* Typed;
    const char* Stored;
  } cases[] = {
      {"TOpenDialog.Caption", "Datei öffnen", "TOpenDialog.Caption='Datei öffnen'"},  // captured literal
      {"TOpenDialog.Caption", "two\r\nlines\tand tab", "TOpenDialog.Caption='two'#13#10'lines'#9'and tab'"},
      {"TOpenDialog.Caption", "", "TOpenDialog.Caption=''"},
      {"TOpenDialog.Width", "120", "TOpenDialog.Width=120"},  // a number stays a number
      {"TOpenDialog.Font", "Arial", "TOpenDialog.Font=Arial"},
      {"TOpenDialog.Font", "Don't", "TOpenDialog.Font='Don''t'"},
      {"TOpenDialog.Font", "Page #2", "TOpenDialog.Font='Page #2'"},
      {"TOpenDialog.Font", "#", "TOpenDialog.Font='#'"},
      {"TOpenDialog.Caption[7]", "Open", "TOpenDialog.Caption[7]='Open'"},
  };
  TDlgEditor& e = Open();
  for (const auto& c : cases) {
    ClickKey(c.Key);
    Type(c.Typed);
    EXPECT_EQ(Entry(c.Key), c.Stored) << c.Typed;
    ClickKey(c.Key);
    EXPECT_EQ(e.EdtTranslation->Text(), c.Typed) << "shown again as typed";
  }
  EXPECT_TRUE(e.Modified());
}

TEST_F(Translations, LeavingTheBoxUnchangedStoresNothing) {
  TDlgEditor& e = Open();
  ClickKey("TOpenDialog.Width");
  e.EdtTranslationExit(e.EdtTranslation);
  EXPECT_FALSE(e.Modified());
  EXPECT_EQ(Entry("TOpenDialog.Width"), "TOpenDialog.Width=566");
}

TEST_F(Translations, EscRestoresTheEntryExactlyAsItWas) {
  TDlgEditor& e = Open();
  ClickKey("TOpenDialog.Width");
  e.EdtTranslation->SetText("99");
  Key(VK_ESCAPE);
  EXPECT_EQ(Entry("TOpenDialog.Width"), "TOpenDialog.Width=566") << "a number is not quoted by Esc";
  EXPECT_EQ(e.EdtTranslation->Text(), "566");
  EXPECT_FALSE(e.Modified());
  // Stored by leaving the box, then Esc after coming back.
  Type("99");
  Key(VK_ESCAPE);
  EXPECT_EQ(Entry("TOpenDialog.Width"), "TOpenDialog.Width=566");
  EXPECT_EQ(e.EdtTranslation->Text(), "566");
}

TEST_F(Translations, PageDownAndPageUpWalkToTheNextUntranslatedKey) {
  FLmt->Translations()->SetText(
      "K.A='a'\r\nK.B=''\r\nK.C='c'\r\nK.D='d'\r\nK.E=''\r\nK.F='f'\r\n");
  const struct {
    bool Move;
    const char* From;
    WORD Key;
    const char* To;
  } cases[] = {
      {false, "K.A", VK_NEXT, "K.B"},  {false, "K.B", VK_NEXT, "K.C"},  {true, "K.B", VK_NEXT, "K.E"},
      {true, "K.E", VK_NEXT, "K.F"},   {true, "K.F", VK_NEXT, "K.F"},   {true, "K.E", VK_PRIOR, "K.B"},
      {true, "K.B", VK_PRIOR, "K.A"},  {false, "K.D", VK_PRIOR, "K.C"}, {true, "K.A", VK_PRIOR, "K.A"},
  };
  TDlgEditor& e = Open();
  for (const auto& c : cases) {
    e.CkxMove->SetChecked(c.Move);
    ClickKey(c.From);
    // A second selected item is deselected too (selecting an item moves the focus rectangle).
    const int from = e.PropList->ItemIndex();
    e.PropList->SetSelected(from == 0 ? 1 : 0, true);
    e.PropList->SetItemIndex(from);
    Key(c.Key);
    const int current = e.PropList->ItemIndex();
    EXPECT_EQ(e.PropList->Items()->Get(current), c.To) << c.From << (c.Key == VK_NEXT ? " down" : " up");
    EXPECT_EQ(e.PropList->SelCount(), 1);
    EXPECT_TRUE(e.PropList->Selected(current));
  }
}

TEST_F(Translations, ContentIsNoWorkForTheTranslatorUntilItHasATranslation) {
  FLmt->Translations()->SetText(
      "TColorDialog.Caption[703]=''\r\n"         // an edit box: content
      "TColorDialog.Caption[704]='12'\r\n"       // content translated by hand: counted
      "TOpenDialog.Caption[1091]=''\r\n"         // a label
      "TOpenDialog.Caption[1137]=''\r\n"         // the folder combo box: content
      "TOpenDialog.Caption[2]=''\r\n");
  for (const char* line : {"TColorDialog.Caption[703]='160'", "TColorDialog.Caption[704]='0'", "TOpenDialog.Caption[1137]=' (C:)'",
                           "TOpenDialog.Caption[2]='Cancel'"})
    FLmt->OrgProps()->SortInsert(line, nullptr);
  TDlgEditor& e = Open();
  e.CkxMove->SetChecked(true);
  ClickKey("TOpenDialog.Caption[1091]");
  Key(VK_NEXT);
  EXPECT_EQ(e.PropList->Items()->Get(e.PropList->ItemIndex()), "TOpenDialog.Caption[2]") << "past the folder combo box";
  Key(VK_PRIOR);
  EXPECT_EQ(e.PropList->Items()->Get(e.PropList->ItemIndex()), "TOpenDialog.Caption[1091]");
  e.FormNotebook->SetPageIndex(1);
  EXPECT_EQ(e.LblTot->Caption(), "3") << "the untranslated content is not counted";
  EXPECT_EQ(e.LblLocalized->Caption(), "1");
}

TEST_F(Translations, PageDownStoresTheEditFirst) {
  TDlgEditor& e = Open();
  ClickKey("TOpenDialog.Width");
  e.EdtTranslation->SetText("480");
  Key(VK_NEXT);
  EXPECT_EQ(Entry("TOpenDialog.Width"), "TOpenDialog.Width=480");
  EXPECT_TRUE(e.Modified());
}

TEST_F(Translations, NewAddsTheKeyWithAStartingValue) {
  const struct {
    const char* Name;
    const char* Entry;
  } cases[] = {
      {"TOpenDialog.Caption[1]", "TOpenDialog.Caption[1]=''"},  // captured string
      {"TOpenDialog.Height", "TOpenDialog.Height=359"},         // captured size, one less
      {"TOpenDialog.Left[5]", "TOpenDialog.Left[5]="},          // nothing captured
  };
  TDlgEditor& e = Open();
  for (const auto& c : cases) {
    FDialogs.Inputs.push_back(c.Name);
    e.BtnNewClick(e.BtnNew);
    EXPECT_EQ(Entry(c.Name), c.Entry);
    EXPECT_EQ(e.PropList->Items()->Get(e.PropList->ItemIndex()), c.Name);
    EXPECT_EQ(e.PropList->SelCount(), 1);
    EXPECT_EQ(e.ListAvail->Items()->IndexOf(c.Name), -1) << "not offered for Include any more";
  }
  EXPECT_EQ(FDialogs.Asked[0], "InputQuery Add a property / Please enter the property name");
  EXPECT_TRUE(e.Modified());
  EXPECT_TRUE(e.ListAvail->Items()->Count() == 0);
}

TEST_F(Translations, NewIgnoresNamesAlreadyListedEmptyOrMalformed) {
  TDlgEditor& e = Open();
  for (std::optional<std::string> name : std::vector<std::optional<std::string>>{
           std::nullopt, "topendialog.WIDTH", "", "A=B", "Line\r\nbreak"}) {
    FDialogs.Inputs.push_back(name);
    e.BtnNewClick(e.BtnNew);
  }
  EXPECT_EQ(e.TransList().Count(), 4);
  EXPECT_FALSE(e.Modified());
  // A key that begins another key's entry gets its own entry.
  FDialogs.Inputs.push_back("TOpenDialog.Font");
  e.BtnNewClick(e.BtnNew);
  Type("Tahoma");
  EXPECT_EQ(Entry("TOpenDialog.Font"), "TOpenDialog.Font=Tahoma");
  EXPECT_EQ(Entry("TOpenDialog.Font.Name"), "TOpenDialog.Font.Name='Arial'");
}

TEST_F(Translations, RemoveAsksAndPutsCapturedKeysBack) {
  TDlgEditor& e = Open();
  FDialogs.Inputs.push_back("TOpenDialog.Extra");
  e.BtnNewClick(e.BtnNew);
  e.PropList->SetSelected(e.PropList->Items()->IndexOf("TOpenDialog.Width"), true);
  FDialogs.Answers.push_back(mrNo);
  e.BtnRemoveClick(e.BtnRemove);
  EXPECT_EQ(e.TransList().Count(), 5);
  EXPECT_EQ(FDialogs.Asked.back(), "MessageDlg Do you want to remove the selected property ?");
  FDialogs.Answers.push_back(mrYes);
  WORD del = VK_DELETE;
  e.PropListKeyDown(e.PropList, del, 0);
  EXPECT_EQ(Items(*e.PropList),
            (std::vector<std::string>{"TOpenDialog.Caption", "TOpenDialog.Caption[1091]", "TOpenDialog.Font.Name"}));
  EXPECT_EQ(Entry("TOpenDialog.Width"), "<none>");
  EXPECT_EQ(Entry("TOpenDialog.Extra"), "<none>");
  EXPECT_EQ(Items(*e.ListAvail), (std::vector<std::string>{"TOpenDialog.Caption[1]", "TOpenDialog.Height",
                                                           "TOpenDialog.Width"}))
      << "the captured key is available again, the new one is gone";
  // Nothing selected: no question.
  const std::size_t asked = FDialogs.Asked.size();
  e.RemoveSelection();
  e.BtnRemoveClick(e.BtnRemove);
  EXPECT_EQ(FDialogs.Asked.size(), asked);
}

TEST_F(Translations, AValueThatIsNoLiteralIsShownRawAndNothingFails) {
  FLmt->Translations()->SortInsert("TOpenDialog.Caption[2]=#", nullptr);
  FLmt->OrgProps()->SortInsert("TOpenDialog.Caption[2]='It''s #'#", nullptr);
  TDlgEditor& e = Open();
  ClickKey("TOpenDialog.Caption[2]");
  EXPECT_EQ(e.EdtTranslation->Text(), "#");
  EXPECT_EQ(e.EdtOrgTranslation->Text(), "'It''s #'#");
  Type("fixed");
  EXPECT_EQ(Entry("TOpenDialog.Caption[2]"), "TOpenDialog.Caption[2]='fixed'");
  EXPECT_TRUE(FDialogs.Asked.empty()) << FDialogs.Asked[0];
}

TEST_F(Translations, RightToLeftOnAWesternCodePageTypesAtTheStart) {
  TDlgEditor& e = Open();
  ClickKey("TOpenDialog.Caption");
  e.GroupReadingOrder->SetItemIndex(0);
  EXPECT_EQ(e.EdtTranslation->Alignment(), taRightJustify);
  for (int codePage : {1252, 1255, 1256}) {
    e.SetCodePage(codePage);
    e.EdtTranslation->SetSelStart(3);
    Key('X');
    EXPECT_EQ(e.EdtTranslation->SelStart(), codePage == 1252 ? 0 : 3) << codePage;
    EXPECT_EQ(e.EdtTranslation->SelLength(), 0);
  }
  e.GroupReadingOrder->SetItemIndex(1);
  e.SetCodePage(1252);
  e.EdtTranslation->SetSelStart(3);
  Key('X');
  EXPECT_EQ(e.EdtTranslation->SelStart(), 3);
}
