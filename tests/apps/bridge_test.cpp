// `lumetra dict export|import --po|--xliff`: round trips through the gettext tools and the
// command, its messages, and faults that leave the form as it was.
#include <cstdlib>

#include "commands.hpp"
#include "exchange/XliffFile.hpp"
#include "form_file.hpp"
#include "test_support.hpp"

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;
using namespace lumetra_cli;
using exchange::XliffAvailable;

namespace {

using V = std::vector<std::string>;

const std::string TextForm =
    "object Form1: TForm1\n"
    "  object Lumetra1: TLumetra\n"
    "    Locale = 1036\n"
    "    Translations.Strings = (\n"
    "      'TOpenDialog.Caption='#39'Ouvrir'#39\n"
    "      'TOpenDialog.Width=600'\n"
    "      'TPrintDialog.Caption='#39'Imprimer'#39)\n"
    "    Storage = (\n"
    "      'TOpenDialog.Caption='#39'Open'#39\n"
    "      'TOpenDialog.Caption[1]='#39'Caf'#233#39\n"
    "      'TOpenDialog.Caption[2]='#39'Line one'#13#10'Line two'#39\n"
    "      'TOpenDialog.Font.Name='#39'MS Shell Dlg'#39\n"
    "      'TOpenDialog.Height=300'\n"
    "      'TOpenDialog.Width=563')\n"
    "  end\n"
    "end\n";

class Bridge : public ::testing::Test {
protected:
  Bridge() { WriteFile(FForm, TextForm); }
  V Entries() {
    FormFile form(FForm);
    return testing_support::LinesOf(*form.Translator()->Translations());
  }
  // Runs a shell command; answers its exit code, with what it wrote to stderr in Errors.
  int Shell(const std::string& Command, std::string* Errors = nullptr) {
    const std::string err = FDir.File("shell.err");
    const int code = std::system((Command + " 2>'" + err + "'").c_str());
    if (Errors) *Errors = ReadFile(err);
    return code;
  }
  static bool HaveGettext() {
#ifdef _WIN32
    return false;  // Linux programs: not run from under Wine
#else
    return std::system("msgfmt --version >/dev/null 2>&1 && msgcat --version >/dev/null 2>&1 && "
                       "msgmerge --version >/dev/null 2>&1") == 0;
#endif
  }
  ScratchDir FDir;
  std::string FForm = FDir.File("form1.dfm");
};

}  // namespace

TEST_F(Bridge, PoRoundTripThroughTheGettextTools) {
  if (!HaveGettext()) GTEST_SKIP() << "gettext (msgfmt, msgcat, msgmerge) is not installed; tools/setup.sh installs it";
  const std::string po = FDir.File("fr.po"), wrapped = FDir.File("wrapped.po"), fresh = FDir.File("fresh.po"),
                    merged = FDir.File("merged.po");
  ASSERT_EQ(lumetra_cli::Run({"dict", "export", FForm, "--po", po}, stderr), 0);
  std::string errors;
  EXPECT_EQ(Shell("msgfmt --check -o /dev/null '" + po + "'", &errors), 0);
  EXPECT_EQ(errors, "") << "msgfmt --check warns of nothing";

  // The translator's edit, then msgcat rewraps the file into short pieces.
  std::string text = ReadFile(po);
  const std::string untranslated = "msgid \"\"\n\"Line one\\n\"\n\"Line two\"\nmsgstr \"\"\n";
  ASSERT_NE(text.find(untranslated), std::string::npos) << text;
  text.replace(text.find(untranslated), untranslated.size(),
               "msgid \"\"\n\"Line one\\n\"\n\"Line two\"\nmsgstr \"Premi\xC3\xA8re ligne\\nDeuxi\xC3\xA8me ligne\"\n");
  WriteFile(po, text);
  ASSERT_EQ(Shell("msgcat --width=20 -o '" + wrapped + "' '" + po + "'"), 0);

  // The form changes meanwhile (one more captured text); msgmerge brings the translations over.
  std::string form = ReadFile(FForm);
  form.replace(form.find("      'TOpenDialog.Font.Name"), 0, "      'TOpenDialog.Caption[3]='#39'New'#39\n");
  WriteFile(FForm, form);
  ASSERT_EQ(lumetra_cli::Run({"dict", "export", FForm, "--po", fresh}, stderr), 0);
  ASSERT_EQ(Shell("msgmerge --quiet --no-fuzzy-matching -o '" + merged + "' '" + wrapped + "' '" + fresh + "'"), 0);
  EXPECT_EQ(Shell("msgfmt --check -o /dev/null '" + merged + "'"), 0);

  ASSERT_EQ(lumetra_cli::Run({"dict", "import", FForm, "--po", merged}, stderr), 0);
  const V entries = Entries();
  EXPECT_NE(std::find(entries.begin(), entries.end(), "TOpenDialog.Caption[2]='Premi\xE8re ligne'#13#10'Deuxi\xE8me ligne'"),
            entries.end());
  EXPECT_EQ(entries.size(), 4u);  // the three there were, and the new translation
}

TEST_F(Bridge, XliffRoundTripThroughTheCommand) {
  if (!XliffAvailable()) GTEST_SKIP() << "this build has no libxml2 (the MinGW build): XLIFF is not available";
  const std::string xlf = FDir.File("fr.xlf");
  ASSERT_EQ(lumetra_cli::Run({"dict", "export", FForm, "--xliff", xlf}, stderr), 0);
  std::string text = ReadFile(xlf);
  const std::string source = "<source>Caf\xC3\xA9</source>";
  ASSERT_NE(text.find(source), std::string::npos) << text;
  text.insert(text.find(source) + source.size(), "<target>Caf\xC3\xA9 cr\xC3\xA8me</target>");
  WriteFile(xlf, text);
  ASSERT_EQ(lumetra_cli::Run({"dict", "import", FForm, "--xliff", xlf}, stderr), 0);
  const V entries = Entries();
  EXPECT_NE(std::find(entries.begin(), entries.end(), "TOpenDialog.Caption[1]='Caf\xE9 cr\xE8me'"), entries.end());
}

TEST_F(Bridge, CommandFaultsLeaveTheFormAsItWas) {
  const std::string po = FDir.File("fr.po");
  WriteFile(po, "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
                "msgctxt \"TOpenDialog.Caption[1]\"\nmsgid \"Caf\xC3\xA9\"\nmsgstr \"\xE4\xB8\xAD\"\n");
  std::FILE* errors = std::tmpfile();
  EXPECT_EQ(lumetra_cli::Run({"dict", "import", FForm, "--po", po}, errors), 1);
  std::fclose(errors);
  EXPECT_EQ(ReadFile(FForm), TextForm);
  struct Case {
    Args args;
  } usage[] = {{{"dict", "import", FForm}}, {{"dict", "export", FForm, "--po", po, "--xliff", po}},
               {{"dict", "export", "--po", po}}, {{"dict", "import", FForm, "--po"}}, {{"dict", "export", FForm, "--po", po, "-x"}}};
  for (const Case& c : usage) {
    std::FILE* f = std::tmpfile();
    EXPECT_EQ(lumetra_cli::Run(c.args, f), 2) << c.args.size();
    std::fclose(f);
  }
}

TEST_F(Bridge, ExportStopsAtAValueThatIsNoLiteralBeforeWriting) {
  std::string form = TextForm;
  form.replace(form.find("'TOpenDialog.Width=600'"), 23, "'TOpenDialog.Caption[1]=#'");
  WriteFile(FForm, form);
  const std::string po = FDir.File("fr.po");
  WriteFile(po, "old\n");
  std::FILE* errors = std::tmpfile();
  EXPECT_EQ(lumetra_cli::Run({"dict", "export", FForm, "--po", po}, errors), 1);
  std::fclose(errors);
  EXPECT_EQ(ReadFile(po), "old\n");
}

TEST_F(Bridge, ExportNamesTheLanguageOfTheLocaleOrOfTheOption) {
  const std::string po = FDir.File("fr.po"), xlf = FDir.File("fr.xlf");
  for (const auto& [lang, field] : {std::pair<const char*, const char*>{"", "\"Language: fr_FR\\n\""}, {"pt-BR", "\"Language: pt_BR\\n\""}}) {
    Args args = {"dict", "export", FForm, "--po", po};
    if (*lang) args.insert(args.end(), {"--lang", lang});
    ASSERT_EQ(lumetra_cli::Run(args, stderr), 0);
    EXPECT_NE(ReadFile(po).find(field), std::string::npos) << ReadFile(po);
  }
  for (const char* bad : {"German", "de_", "DE"}) {
    std::FILE* f = std::tmpfile();
    EXPECT_EQ(lumetra_cli::Run({"dict", "export", FForm, "--po", po, "--lang", bad}, f), 2) << bad;
    std::fclose(f);
  }
  if (!XliffAvailable()) return;
  ASSERT_EQ(lumetra_cli::Run({"dict", "export", FForm, "--xliff", xlf}, stderr), 0);
  EXPECT_NE(ReadFile(xlf).find("target-language=\"fr-FR\""), std::string::npos);
}

TEST_F(Bridge, PoExportLeavesOutATranslationWhoseLineBreaksMsgfmtRefuses) {
  std::string form = TextForm;
  form.replace(form.find("      'TOpenDialog.Width=600'"), 0, "      'TOpenDialog.Caption[1]='#39'Caf'#233#39'#13#10'\n");
  WriteFile(FForm, form);
  const std::string po = FDir.File("fr.po"), errors = FDir.File("errors.txt");
  std::FILE* f = std::fopen(errors.c_str(), "wb");
  ASSERT_EQ(lumetra_cli::Run({"dict", "export", FForm, "--po", po}, f), 0);
  std::fclose(f);
  EXPECT_EQ(ReadFile(errors).substr(0, ReadFile(errors).find('\n')),
            "lumetra dict: warning: TOpenDialog.Caption[1]: the msgstr ends in a line break and the msgid does not, which msgfmt "
            "--check refuses: written untranslated");
  EXPECT_NE(ReadFile(po).find("msgid \"Caf\xC3\xA9\"\nmsgstr \"\"\n"), std::string::npos);
  std::string checked;
  if (HaveGettext()) {
    EXPECT_EQ(Shell("msgfmt --check -o /dev/null '" + po + "'", &checked), 0) << checked;
  }
}

TEST_F(Bridge, ImportWarningsStopRepeatingAfterABoundAndSayHowManyMore) {
  std::string text = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n";
  for (int i = 0; i < 25; ++i) text += "\nmsgctxt \"TOpenDialog.Caption[" + std::to_string(100 + i) + "]\"\nmsgid \"x\"\nmsgstr \"y\"\n";
  const std::string po = FDir.File("fr.po"), errors = FDir.File("errors.txt");
  WriteFile(po, text);
  std::FILE* f = std::fopen(errors.c_str(), "wb");
  ASSERT_EQ(lumetra_cli::Run({"dict", "import", FForm, "--po", po}, f), 0);
  std::fclose(f);
  std::string expected;
  for (int i = 0; i < 20; ++i)
    expected += "lumetra dict: warning: " + po + ", line " + std::to_string(4 + 4 * i) + ": TOpenDialog.Caption[" +
                std::to_string(100 + i) + "] is no captured property of the form; skipped\n";
  EXPECT_EQ(ReadFile(errors), expected + "lumetra dict: warnings: 5 more not shown\n");
}

TEST_F(Bridge, HostileFilesAreRefusedNamingWhatIsWrongAndTheFormStays) {
  const std::string po = FDir.File("fr.po"), xlf = FDir.File("fr.xlf"), errors = FDir.File("errors.txt");
  const std::string header = "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n";
  const std::string huge = header + "msgctxt \"TOpenDialog.Caption\"\nmsgid \"Open\"\nmsgstr \"" + std::string(200u << 20, 'z') + "\"\n";
  // One entity of 10,000 bytes used 10,000 times in an attribute: 40 KB that expand to 100 MB.
  std::string entity = "<?xml version=\"1.0\"?>\n<!DOCTYPE xliff [<!ENTITY e \"" + std::string(10'000, 'x') + "\">]>\n"
                       "<xliff xmlns=\"urn:oasis:names:tc:xliff:document:1.2\" version=\"1.2\"><file><body><trans-unit id=\"";
  for (int i = 0; i < 10'000; ++i) entity += "&e;";
  entity += "\"><source>Open</source></trans-unit></body></file></xliff>\n";
  const std::string otherNamespace =
      "<xliff xmlns=\"urn:oasis:names:tc:xliff:document:1.2\" version=\"1.2\"><file><body>\n<trans-unit "
      "xmlns=\"urn:oasis:names:tc:xliff:document:1.1\" id=\"TOpenDialog.Caption\"><source>Open</source><target>Ouvrir!</target>"
      "</trans-unit>\n</body></file></xliff>\n";
  struct Case {
    std::string option, file, bytes, message;
  } cases[] = {
      {"--po", po, huge, po + ", line 6: msgstr has more than 4095 characters, more than an entry holds"},
      {"--xliff", xlf, entity, xlf + ", line 2: a document type declaration (<!DOCTYPE xliff>) is not read: XLIFF needs none, "
                               "and the entities it may declare are never expanded"},
      {"--xliff", xlf, otherNamespace, xlf + ", line 2: <trans-unit> in namespace urn:oasis:names:tc:xliff:document:1.1 is not "
                                       "read: the elements of XLIFF 1.2 are in namespace urn:oasis:names:tc:xliff:document:1.2"},
  };
  for (const Case& c : cases) {
    if (c.option == "--xliff" && !XliffAvailable()) continue;
    WriteFile(c.file, c.bytes);
    std::FILE* f = std::fopen(errors.c_str(), "wb");
    EXPECT_EQ(lumetra_cli::Run({"dict", "import", FForm, c.option, c.file}, f), 1);
    std::fclose(f);
    EXPECT_EQ(ReadFile(errors), "lumetra dict: " + c.message + "\n");
    EXPECT_EQ(ReadFile(FForm), TextForm);
  }
}

namespace {

// A file of one translated message in the language Language, as a PO file or an XLIFF one.
std::string OneMessage(bool Xliff, const std::string& Language, const std::string& Key, const std::string& Source,
                       const std::string& Target) {
  if (!Xliff)
    return "msgid \"\"\nmsgstr \"Language: " + Language + "\\nContent-Type: text/plain; charset=UTF-8\\n\"\n\nmsgctxt \"" + Key +
           "\"\nmsgid \"" + Source + "\"\nmsgstr \"" + Target + "\"\n";
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xliff xmlns=\"urn:oasis:names:tc:xliff:document:1.2\" version=\"1.2\">\n"
         "<file original=\"Form1\" source-language=\"en\" target-language=\"" + Language + "\" datatype=\"plaintext\"><body>\n"
         "<trans-unit id=\"" + Key + "\">\n<source>" + Source + "</source>\n<target>" + Target + "</target>\n</trans-unit>\n"
         "</body></file></xliff>\n";
}

}  // namespace

TEST_F(Bridge, AFileInALanguageOfAnotherScriptGivesTheClassesItTranslatesItsCharacterSet) {
  const std::string cafe = "Caf\xC3\xA9", open = "\xE9\x96\x8B\xE3\x81\x8F", russian = "\xD0\x9E\xD1\x82\xD0\xBA\xD1\x80\xD1\x8B\xD1\x82\xD1\x8C";
  for (const bool xliff : {false, true}) {
    if (xliff && !XliffAvailable()) continue;
    WriteFile(FForm, TextForm);
    const std::string file = FDir.File(xliff ? "ja.xlf" : "ja.po"), option = xliff ? "--xliff" : "--po", errors = FDir.File("errors.txt");
    const auto import = [&](const std::string& Language, const std::string& Target, Args More = {}) {
      WriteFile(file, OneMessage(xliff, Language, "TOpenDialog.Caption[1]", cafe, Target));
      Args args = {"dict", "import", FForm, option, file};
      args.insert(args.end(), More.begin(), More.end());
      std::FILE* f = std::fopen(errors.c_str(), "wb");
      const int code = lumetra_cli::Run(args, f);
      std::fclose(f);
      return code;
    };
    // Classes without a character set: the language's is added, and the text stored in its code page.
    ASSERT_EQ(import(xliff ? "ja-JP" : "ja", open), 0) << ReadFile(errors);
    EXPECT_EQ(ReadFile(errors), "lumetra dict: " + file + ": TOpenDialog.Font.Charset=128 added: the file's language " +
                                    (xliff ? "ja-JP" : "ja") + " is written in code page 932\n");
    V entries = Entries();
    EXPECT_NE(std::find(entries.begin(), entries.end(), "TOpenDialog.Caption[1]='\x8A\x4A\x82\xAD'"), entries.end()) << option;
    EXPECT_NE(std::find(entries.begin(), entries.end(), "TOpenDialog.Font.Charset=128"), entries.end()) << option;

    // --charset wins over the language of the file.
    ASSERT_EQ(import("ja", russian, {"--charset", "204"}), 0) << ReadFile(errors);
    EXPECT_EQ(ReadFile(errors), "lumetra dict: " + file +
                                    ": TOpenDialog.Font.Charset=204 replaces 128 (code page 932): character set 204 (code page 1251) was "
                                    "asked for\n");
    entries = Entries();
    EXPECT_NE(std::find(entries.begin(), entries.end(), "TOpenDialog.Caption[1]='\xCE\xF2\xEA\xF0\xFB\xF2\xFC'"), entries.end()) << option;
    EXPECT_NE(std::find(entries.begin(), entries.end(), "TOpenDialog.Font.Charset=204"), entries.end()) << option;

    // A Japanese character in a Russian file: the file, its line and the character named, nothing changed.
    const std::string before = ReadFile(FForm);
    EXPECT_EQ(import("ru", "\xD0\xA4\xE3\x83\x95"), 1);
    EXPECT_NE(ReadFile(errors).find(file + ", line 6" +
                                    ": translation of TOpenDialog.Caption[1], character 2: U+30D5, a Katakana character is not in "
                                    "code page 1251 (character set 204)\n"),
              std::string::npos)
        << ReadFile(errors);
    EXPECT_EQ(ReadFile(FForm), before);
  }
  for (const Args& wrong : {Args{"dict", "import", FForm, "--po", "x.po", "--charset", "256"},
                            Args{"dict", "import", FForm, "--po", "x.po", "--charset", "cyrillic"},
                            Args{"dict", "export", FForm, "--po", "x.po", "--charset", "204"}}) {
    std::FILE* f = std::tmpfile();
    EXPECT_EQ(lumetra_cli::Run(wrong, f), 2) << wrong.back();
    std::fclose(f);
  }
}
