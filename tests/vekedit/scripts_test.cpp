// The editor in other scripts: texts shown and typed in the code page of their class's character
// set, characters a page lacks refused, the reading-order property as a key of its own; and, under
// Wine, Russian typed as the user types it.
#include "editor_fixture.hpp"
#include "input.hpp"
#include "screenshot_hold.hpp"

using namespace vcl;
using editor_test::Editor;
using VekEdit::TDlgEditor;

namespace {

// "Открыть" and "Сохранить" in code page 1251; "開く" and "保存" in code page 932.
constexpr const char* OpenRu = "\xCE\xF2\xEA\xF0\xFB\xF2\xFC";
constexpr const char* SaveRu = "\xD1\xEE\xF5\xF0\xE0\xED\xE8\xF2\xFC";
constexpr const char* OpenJa = "\x8A\x4A\x82\xAD";
constexpr const char* SaveJa = "\x95\xDB\x91\xB6";

class EditorScripts : public Editor {
protected:
  EditorScripts() {
    FLmt->Translations()->SetText(std::string("TOpenDialog.Font.Charset=204\r\n"
                                              "TOpenDialog.Caption='") + OpenRu + "'\r\n"
                                  "TOpenDialog.Caption[1091]=''\r\n"
                                  "TFontDialog.Font.Charset=128\r\n"
                                  "TFontDialog.Caption='" + OpenJa + "'\r\n"
                                  "TFindDialog.Caption='Suchen'\r\n");
    for (const char* line : {"TOpenDialog.Caption='Open'", "TOpenDialog.Caption[1091]='Look &in:'",
                             "TOpenDialog.Font.Charset=0", "TFontDialog.Caption='Font'", "TFindDialog.Caption='Find'"})
      FLmt->OrgProps()->SortInsert(line, nullptr);
  }
  std::string Entry(const std::string& Key) const {
    const int i = TDlgEditor::GetPropIndex(Key, FEditor->TransList());
    return i < 0 ? "<none>" : FEditor->TransList().Get(i);
  }
  // Types Text into the translation box as UTF-16 over what it held, and leaves it.
  void TypeW(const std::u16string& Text) {
    FEditor->EdtTranslation->SetTextW(Text);
    FEditor->EdtTranslationExit(FEditor->EdtTranslation);
  }
};

}  // namespace

TEST_F(EditorScripts, EachTextIsShownInTheCodePageOfItsClass) {
  TDlgEditor& e = Open();
  const struct {
    const char* Key;
    std::u16string Original, Translation;
  } cases[] = {
      {"TOpenDialog.Caption", u"Open", u"Открыть"},   // 204 among the translations: 1251
      {"TFontDialog.Caption", u"Font", u"開く"},      // 128: 932, two bytes a character
      {"TFindDialog.Caption", u"Find", u"Suchen"},    // no character set: the system's page
  };
  for (const auto& c : cases) {
    ClickKey(c.Key);
    EXPECT_EQ(e.EdtOrgTranslation->TextW(), c.Original) << c.Key;
    EXPECT_EQ(e.EdtTranslation->TextW(), c.Translation) << c.Key;
  }
  EXPECT_EQ(e.CurText(), "Suchen");
  EXPECT_FALSE(e.Modified()) << "showing stores nothing";
}

TEST_F(EditorScripts, TypedTextIsStoredInTheCodePageOfItsClassInLiteralForm) {
  TDlgEditor& e = Open();
  ClickKey("TOpenDialog.Caption");
  TypeW(u"Сохранить");
  EXPECT_EQ(Entry("TOpenDialog.Caption"), std::string("TOpenDialog.Caption='") + SaveRu + "'");
  ClickKey("TFontDialog.Caption");
  TypeW(u"保存\r\n開く");
  EXPECT_EQ(Entry("TFontDialog.Caption"), std::string("TFontDialog.Caption='") + SaveJa + "'#13#10'" + OpenJa + "'");
  for (const char* key : {"TOpenDialog.Caption", "TFontDialog.Caption"}) {
    ClickKey(key);
    e.EdtTranslationExit(e.EdtTranslation);  // shown again unchanged: stored unchanged
  }
  ClickKey("TOpenDialog.Caption");
  EXPECT_EQ(e.EdtTranslation->TextW(), u"Сохранить");
  EXPECT_EQ(e.CurText(), SaveRu);
  EXPECT_TRUE(e.Modified());
}

TEST_F(EditorScripts, AClassTheTranslationsGiveNoCharacterSetKeepsTheCapturedOne) {
  // The captured dialog was Russian; the translation only changes its texts.
  FLmt->OrgProps()->Clear();
  FLmt->OrgProps()->SortInsert("TOpenDialog.Font.Charset=204", nullptr);
  FLmt->OrgProps()->SortInsert(std::string("TOpenDialog.Caption='") + OpenRu + "'", nullptr);
  FLmt->Translations()->SetText("TOpenDialog.Caption=''\r\n");
  TDlgEditor& e = Open();
  ClickKey("TOpenDialog.Caption");
  EXPECT_EQ(e.EdtOrgTranslation->TextW(), u"Открыть");
  TypeW(u"Сохранить");
  EXPECT_EQ(Entry("TOpenDialog.Caption"), std::string("TOpenDialog.Caption='") + SaveRu + "'");
}

TEST_F(EditorScripts, ACharacterTheCodePageLacksIsRefusedByNameAndNothingIsStored) {
  const struct {
    const char* Key;
    std::u16string Typed;
    const char* Message;
  } cases[] = {
      {"TOpenDialog.Caption", u"Aő", "Code page 1251 of the translation of TOpenDialog.Caption has no character "
                                      "U+0151 LATIN SMALL LETTER O WITH DOUBLE ACUTE (character 2 of the text typed); "
                                      "nothing was stored"},
      // Shown in the message where the system's page has it.
      {"TOpenDialog.Caption", u"Caf\u00E9", "Code page 1251 of the translation of TOpenDialog.Caption has no character "
                                            "\"\xE9\" U+00E9 (character 4 of the text typed); nothing was stored"},
      {"TFindDialog.Caption", u"Поиск", "Code page 1252 of the translation of TFindDialog.Caption has no character "
                                        "U+041F, a Cyrillic character (character 1 of the text typed); nothing was "
                                        "stored"},
      {"TFontDialog.Caption", u"保存\U0001F600", "Code page 932 of the translation of TFontDialog.Caption has no "
                                                  "character U+1F600, a Pictographs and Emoji character (character 3 "
                                                  "of the text typed); nothing was stored"},
  };
  TDlgEditor& e = Open();
  for (const auto& c : cases) {
    ClickKey(c.Key);
    const std::string before = Entry(c.Key);
    FDialogs.Asked.clear();
    TypeW(c.Typed);
    EXPECT_EQ(FDialogs.Asked, (std::vector<std::string>{std::string("Error ") + c.Message}));
    EXPECT_EQ(Entry(c.Key), before);
    EXPECT_EQ(e.EdtTranslation->TextW(), c.Typed) << "the text stays in the box to be corrected";
  }
  EXPECT_FALSE(e.Modified());
}

TEST_F(EditorScripts, OKWithATextThePageLacksStaysOpenAndCancelAsksToDiscardIt) {
  TDlgEditor& e = Open();
  ClickKey("TOpenDialog.Caption");
  e.EdtTranslation->SetTextW(u"ő");
  e.SetModalResult(mrNone);
  e.BtnOKClick(e.BtnOK);
  EXPECT_EQ(e.ModalResult(), mrNone);
  ASSERT_EQ(FDialogs.Asked.size(), 1u);
  EXPECT_EQ(FDialogs.Asked[0].rfind("Error Code page 1251 ", 0), 0u) << FDialogs.Asked[0];
  FDialogs.Answers = {mrNo};
  e.BtnCancelClick(e.BtnCancel);
  EXPECT_EQ(FDialogs.Asked.back(), "MessageDlg Do you want to discard the changes ?");
  EXPECT_EQ(e.ModalResult(), mrNone);
  EXPECT_EQ(FLmt->Translations()->Count(), 6) << "the component is untouched";
}

TEST_F(EditorScripts, TheReadingOrderIsAKeyLikeOtherPropertiesWithoutText) {
  FLmt->OrgProps()->SortInsert("TOpenDialog.BiDiMode=bdLeftToRight", nullptr);
  FLmt->Translations()->SortInsert("TFontDialog.BiDiMode=bdRightToLeft", nullptr);
  TDlgEditor& e = Open();
  EXPECT_EQ(Items(*e.ListAvail), (std::vector<std::string>{"TOpenDialog.BiDiMode"}));
  EXPECT_GE(e.PropList->Items()->IndexOf("TFontDialog.BiDiMode"), 0);
  SelectAvail({"TOpenDialog.BiDiMode"});
  e.BtnIncludePropClick(e.BtnIncludeProp);
  EXPECT_EQ(Entry("TOpenDialog.BiDiMode"), "TOpenDialog.BiDiMode=bdLeftToRight") << "it starts from the captured value";
  ClickKey("TOpenDialog.BiDiMode");
  EXPECT_EQ(e.EdtOrgTranslation->TextW(), u"bdLeftToRight");
  TypeW(u"bdRightToLeftReadingOnly");
  EXPECT_EQ(Entry("TOpenDialog.BiDiMode"), "TOpenDialog.BiDiMode=bdRightToLeftReadingOnly") << "a name, not a literal";
  ClickKey("TFontDialog.BiDiMode");
  EXPECT_EQ(e.EdtTranslation->TextW(), u"bdRightToLeft") << "shown as it stands in a class of code page 932";
}

#ifdef _WIN32

namespace {

// Types Text as a keyboard that has its characters does: SendInput with KEYEVENTF_UNICODE, which
// reaches the focused window as WM_CHAR with the UTF-16 character.
void TypeUnicode(const std::u16string& Text) {
  std::vector<INPUT> in;
  for (const char16_t c : Text)
    for (const DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT i{};
      i.type = INPUT_KEYBOARD;
      i.ki.wScan = c;
      i.ki.dwFlags = KEYEVENTF_UNICODE | up;
      in.push_back(i);
    }
  SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

}  // namespace

TEST_F(EditorScripts, RussianTypedByTheUserIsStoredIn1251AndShownBack) {
  FEditor = std::make_unique<TDlgEditor>(Application);
  TDlgEditor& e = *FEditor;
  e.Translator = FLmt;
  bool unicode = false;
  std::u16string typed, shown;
  std::string stored;
  const TModalResult result = ui_test::RunModal(e, {[&] {
                                                      ClickKey("TOpenDialog.Caption");
                                                      e.EdtTranslation->SetFocus();
                                                      e.EdtTranslation->SelectAll();
                                                    },
                                                    [] { TypeUnicode(u"Сохранить"); },
                                                    [&] {
                                                      unicode = IsWindowUnicode(e.EdtTranslation->WindowHandle()) != 0;
                                                      typed = e.EdtTranslation->TextW();
                                                      e.PropList->SetFocus();  // leaving the box stores the text
                                                    },
                                                    [&] {
                                                      stored = Entry("TOpenDialog.Caption");
                                                      ClickKey("TOpenDialog.Caption[1091]");
                                                      ClickKey("TOpenDialog.Caption");
                                                      shown = e.EdtTranslation->TextW();
                                                    },
                                                    [&] { ui_test::Click(e.BtnOK); }});
  EXPECT_TRUE(unicode);
  EXPECT_EQ(typed, u"Сохранить");
  EXPECT_EQ(stored, std::string("TOpenDialog.Caption='") + SaveRu + "'");
  EXPECT_EQ(shown, u"Сохранить");
  EXPECT_EQ(result, mrOk);
  const int i = TDlgEditor::GetPropIndex("TOpenDialog.Caption", *FLmt->Translations());
  ASSERT_GE(i, 0);
  EXPECT_EQ(FLmt->Translations()->Get(i), std::string("TOpenDialog.Caption='") + SaveRu + "'");
}

// Not a test: ./run-demo --windows runs it (with LUMETRA_HOLD set) to photograph the editor with
// a Russian translation typed into its translation box.
TEST_F(EditorScripts, DISABLED_HeldForScreenshot) {
  FEditor = std::make_unique<TDlgEditor>(Application);
  TDlgEditor& e = *FEditor;
  e.Translator = FLmt;
  e.SetPosition(poDesigned);
  e.SetLeft(16);
  e.SetTop(16);
  e.FormShow(&e);  // run by the modal loop, which this test does without
  e.Show();
  ClickKey("TOpenDialog.Caption");
  e.EdtTranslation->SetFocus();
  e.EdtTranslation->SelectAll();
  SetForegroundWindow(e.Handle());
  TypeUnicode(u"Сохранить файл");
  // The typed keys come through the X server: pumped until they are all in (a holder, no test).
  for (int i = 0; i < 200 && e.EdtTranslation->TextW() != u"Сохранить файл"; ++i) {
    Application->ProcessMessages();
    Sleep(10);
  }
  UpdateWindow(e.Handle());
  testing_support::HoldForScreenshot("editor-russian", [] { Application->ProcessMessages(); });
  e.Hide();
}

#endif

