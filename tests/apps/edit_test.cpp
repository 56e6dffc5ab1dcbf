// `lumetra edit`, run in-process: the editor driven by input as the user gives it (real input
// under Wine, posted in the simulation), the form and its text file written back only on a
// change, and errors that name the file.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>

#include "captured_output.hpp"
#include "VekEdit.hpp"
#include "commands.hpp"
#include "form_file.hpp"
#include "input.hpp"
#include "test_support.hpp"

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;
using namespace lumetra_cli;

namespace {

const std::string TextForm =
    "object Form1: TForm1\n"
    "  object OpenDialog1: TOpenDialog\n"
    "  end\n"
    "  object Lumetra1: TLumetra\n"
    "    FileName = 'lang.txt'\n"
    "    Locale = 1036\n"
    "    Translations.Strings = (\n"
    "      'TOpenDialog.Caption='#39#39)\n"
    "    Storage = (\n"
    "      'TOpenDialog.Caption='#39'Open'#39)\n"
    "  end\n"
    "end\n";

const std::string RealForms = std::string(LUMETRA_TEST_DATA) + "/forms/";

VekEdit::TDlgEditor* Editor() {
  auto* editor = dynamic_cast<VekEdit::TDlgEditor*>(vcl::TControl::FromHandle(GetActiveWindow()));
  if (!editor) ADD_FAILURE() << "the editor is not the active window";
  return editor;
}

// Types Text (letters and blanks) into the window that has the focus, key by key.
void TypeKeys(const std::string& Text) {
  for (const char c : Text) {
    if (c == ' ') ui_test::Key(VK_SPACE);
    else ui_test::Key(static_cast<WORD>(std::toupper(static_cast<unsigned char>(c))), std::isupper(static_cast<unsigned char>(c)) ? vcl::ssShift : 0);
  }
}

// Clicks the first key of the Translations page, then the translation box.
std::vector<std::function<void()>> TranslateFirstKey(const std::string& Text) {
  return {[] { ui_test::Click(Editor()->PropList, 20, 8); },
          [] { ui_test::Click(Editor()->EdtTranslation); },
          [Text] { TypeKeys(Text); }};
}

void ClearSettings() {
#ifdef _WIN32
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brevane\\Korrin");
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brevane");
#endif
}

class Edit : public ::testing::Test {
protected:
  Edit() {
#ifndef _WIN32
    setenv("XDG_CONFIG_HOME", FDir.Path().string().c_str(), 1);
#endif
    ClearSettings();
    WriteFile(FForm, TextForm);
  }
  ~Edit() override { ClearSettings(); }
  // Runs `lumetra edit` with the steps acting on the editor; answers the exit code and stderr.
  // The lines of stdout go to Out when given.
  std::pair<int, std::string> Lumetra(const Args& Arguments, std::vector<std::function<void()>> Steps = {}, std::string* Out = nullptr) {
    const std::string errors = FDir.File("stderr.txt");
    std::FILE* f = std::fopen(errors.c_str(), "wb");
    int code = -1;
    std::optional<testing_support::CapturedOutput> captured;
    if (Out) captured.emplace(stdout);
    ui_test::RunScript([&] { code = lumetra_cli::Run(Arguments, f); }, std::move(Steps));
    if (Out) *Out = captured->Text();
    std::fclose(f);
    return {code, ReadFile(errors)};
  }
  ScratchDir FDir;
  std::string FForm = FDir.File("form1.dfm");
  std::string FLang = FDir.File("lang.txt");
};

}  // namespace

TEST_F(Edit, NothingIsWrittenUnlessTheEditorHandsBackAChange) {
  const struct {
    const char* What;
    std::vector<std::function<void()>> Steps;
  } cases[] = {
      {"Cancel", {[] { ui_test::Click(Editor()->BtnCancel); }}},
      {"OK without a change", {[] { ui_test::Click(Editor()->BtnOK); }}},
      {"the steps run out: the editor ends as Cancel", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    const auto [code, errors] = Lumetra({"edit", FForm}, c.Steps);
    EXPECT_EQ(code, 0) << errors;
    EXPECT_EQ(ReadFile(FForm), TextForm);
    EXPECT_FALSE(std::filesystem::exists(FLang)) << "the text file goes with the form";
  }
}

TEST_F(Edit, OkAfterATranslationWritesTheFormAndItsTextFile) {
  auto steps = TranslateFirstKey("Ouvrir");
  steps.push_back([] { ui_test::Click(Editor()->BtnOK); });
  std::string out;
  const auto [code, errors] = Lumetra({"edit", FForm}, steps, &out);
  ASSERT_EQ(code, 0) << errors;
  EXPECT_NE(("\n" + out).find("\nwrote " + FLang + "\nwrote " + FForm + "\n"), std::string::npos) << out;
  const std::string form = ReadFile(FForm);
  EXPECT_EQ(form.find("Translations.Strings"), std::string::npos) << "with a FileName the entries go to the file";
  EXPECT_EQ(form.find('\r'), std::string::npos) << "a text form keeps its LF line ends";
  EXPECT_NE(form.find("  object OpenDialog1: TOpenDialog\n"), std::string::npos) << "nothing lost";
  // A bare FileName is the file beside the form.
  EXPECT_EQ(ReadFile(FLang), "#0Form1.TOpenDialog.Caption%-1='Open'\r\n#0Form1.TOpenDialog.Caption%1036='Ouvrir'\r\n");
  FormFile again(FForm);
  EXPECT_EQ(testing_support::LinesOf(*again.Translator()->Translations()), std::vector<std::string>{"TOpenDialog.Caption='Ouvrir'"});
}

TEST_F(Edit, OkRefusesAHostileEntryAndChangesNoFile) {
  const std::string mine = "#0Form1.TOpenDialog.Caption[1090]%1036='Mine'\r\n";
  WriteFile(FLang, mine);
  const std::string hostile = testing_support::HostileForm(FLang);
  WriteFile(FForm, hostile);
  auto steps = TranslateFirstKey("Ouvrir");
  steps.push_back([] { ui_test::Click(Editor()->BtnOK); });
  std::string out;
  const auto [code, errors] = Lumetra({"edit", FForm}, steps, &out);
  EXPECT_EQ(code, 1);
  EXPECT_EQ(errors, "lumetra edit: " + FForm + ": not written back: " + FLang +
                        ": entry \"TOpenDialog.Caption[1091]\" holds a raw line feed (#10), which no line of the file may hold (entries spell "
                        "it #10 in literal form); nothing is written\n");
  for (const std::string& file : {FLang, FForm}) EXPECT_EQ(out.find("wrote " + file + "\n"), std::string::npos) << out;
  EXPECT_EQ(ReadFile(FLang), mine);
  EXPECT_EQ(ReadFile(FForm), hostile);
}

TEST_F(Edit, AddPutsATranslatorOnARealFormAndItsCaptureIsKept) {
  // A real form with four dialogs and no translator, as its text (CR LF line ends) and as a
  // binary form with a resource header. (Real forms with print dialogs need a printer under Wine.)
  const std::string text = ReadFile(RealForms + "maerlyn__old-delphi-codes__Notepad_Unit1.dfm");
  const std::set<std::string> dialogs = {"TFindDialog", "TFontDialog", "TOpenDialog", "TSaveDialog"};
  for (const std::string& original : {text, FormFromText(text, true)}) {
    SCOPED_TRACE(IsTextForm(original) ? "text" : "binary");
    const std::string copy = FDir.File("real.dfm");
    WriteFile(copy, original);
    const auto [refused, message] = Lumetra({"edit", copy});
    EXPECT_EQ(refused, 1);
    EXPECT_EQ(message, "lumetra edit: " + copy + ": the form holds no TLumetra\n");

    // A capture is a change: OK writes the form with the new translator and what it captured.
    const auto [code, errors] = Lumetra({"edit", "--add", copy}, {[] { ui_test::Click(Editor()->BtnOK); }});
    ASSERT_EQ(code, 0) << errors;
    FormFile form(copy);
    EXPECT_EQ(form.IsText(), IsTextForm(original));
    const Vek::TLumetra* t = form.Translator();
    EXPECT_EQ(t->Name(), "Lumetra1");
    std::set<std::string> classes;
    for (int i = 0; i < t->OrgProps()->Count(); ++i) {
      const std::string& line = t->OrgProps()->Strings(i);
      classes.insert(line.substr(0, line.find('.')));
    }
    EXPECT_EQ(classes, dialogs);
    if (IsTextForm(original)) {
      EXPECT_NE(ReadFile(copy).find("\r\n  object Lumetra1: TLumetra\r\n"), std::string::npos);
    }
  }
}

TEST_F(Edit, ErrorsNameTheFile) {
  const std::string missing = FDir.File("missing.dfm");
  const std::string noForm = FDir.File("notes.txt");
  WriteFile(noForm, "hello\n");
  const std::string noTranslator = FDir.File("plain.dfm");
  WriteFile(noTranslator, "object Form1: TForm1\n  Left = 1\nend\n");
  const struct {
    Args Arguments;
    int Code;
    std::string Message;
  } cases[] = {
      {{"edit", missing}, 1, "lumetra edit: " + missing + ": no such file\n"},
      {{"edit", FDir.Path().string()}, 1, "lumetra edit: " + FDir.Path().string() + ": is a folder, not a file\n"},
      {{"edit", noForm}, 1, "lumetra edit: " + noForm + ": neither a binary form (\"TPF0\") nor a text form (\"object ...\") at offset 0\n"},
      {{"edit", noTranslator}, 1, "lumetra edit: " + noTranslator + ": the form holds no TLumetra\n"},
      {{"edit", "--fast", FForm}, 2, "lumetra edit: unknown option '--fast'\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Message);
    const auto [code, errors] = Lumetra(c.Arguments);
    EXPECT_EQ(code, c.Code);
    EXPECT_EQ(errors, c.Message);
  }
  EXPECT_EQ(ReadFile(noTranslator), "object Form1: TForm1\n  Left = 1\nend\n") << "left whole";
  const auto [code, errors] = Lumetra({"edit"});
  EXPECT_EQ(code, 2);
  EXPECT_EQ(errors.rfind("lumetra edit: wrong arguments\n\nusage: lumetra edit FORM [--add]\n", 0), 0u) << errors;
}
