// Every script of the ten-scripts translation text file through PO and XLIFF: written in UTF-8 from
// the code page of each class's character set, taken by msgfmt --check, and read back into a form
// without translations as the same entries, byte for byte.
#include <cstdlib>
#include <map>
#include <sstream>

#include "commands.hpp"
#include "exchange/XliffFile.hpp"
#include "form_file.hpp"
#include "test_support.hpp"

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;

namespace {

using V = std::vector<std::string>;

const std::string Data = LUMETRA_TEST_DATA;

// The locales of the file.
constexpr int Locales[] = {1049, 1032, 1045, 1055, 1037, 1025, 1054, 1041, 2052, 1042};

// The dialog classes it translates, whose captures the form holds.
constexpr const char* Classes[] = {"TOpenDialog",  "TSaveDialog",    "TFontDialog",        "TColorDialog",
                                   "TFindDialog", "TReplaceDialog", "TPrinterSetupDialog"};

V LinesOf(const std::string& Text) {
  V lines;
  std::istringstream in(Text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

// Bytes as a string of a text form: printable ASCII in quotes, every other byte as #n.
std::string FormString(std::string_view Bytes) {
  std::string out;
  bool quoted = false;
  for (const char c : Bytes) {
    const auto b = static_cast<unsigned char>(c);
    const bool plain = b >= 0x20 && b < 0x7F && c != '\'';
    if (plain != quoted) out += '\'';
    quoted = plain;
    out += plain ? std::string(1, c) : "#" + std::to_string(b);
  }
  return quoted ? out + "'" : out.empty() ? "''" : out;
}

// Form ScriptsForm with a translator of locale Locale that captured the dialogs of the file and
// has no translations yet.
std::string ScriptsForm(int Locale) {
  V storage;
  for (const char* c : Classes)
    for (const std::string& line : LinesOf(ReadFile(Data + "/captures/" + c + ".txt"))) storage.push_back("      " + FormString(line));
  std::string text = "object ScriptsForm: TScriptsForm\n  object Lumetra1: TLumetra\n    Locale = " + std::to_string(Locale) +
                     "\n    Storage = (\n";
  for (std::size_t i = 0; i < storage.size(); ++i) text += storage[i] + (i + 1 < storage.size() ? "\n" : ")\n");
  return text + "  end\nend\n";
}

V Entries(const std::string& Form) {
  lumetra_cli::FormFile form(Form);
  return testing_support::LinesOf(*form.Translator()->Translations());
}

// Runs the command line; answers its exit code, with what it wrote to stderr in Errors.
int RunCommand(const lumetra_cli::Args& Args, const std::string& ErrorFile, std::string& Errors) {
  std::FILE* f = std::fopen(ErrorFile.c_str(), "wb");
  const int code = lumetra_cli::Run(Args, f);
  std::fclose(f);
  Errors = ReadFile(ErrorFile);
  return code;
}

bool HaveMsgfmt() {
#ifdef _WIN32
  return false;  // a Linux program: not run from under Wine
#else
  return std::system("msgfmt --version >/dev/null 2>&1") == 0;
#endif
}

}  // namespace

TEST(BridgeScripts, EveryLocaleGoesOutInUtf8AndComesBackInTheCodePageOfItsCharacterSet) {
  ScratchDir dir;
  // The texts in UTF-8 as Python's codecs give them: key TAB locale TAB text.
  std::multimap<int, std::string> texts;
  for (const std::string& line : LinesOf(ReadFile(Data + "/scripts/ten_scripts.expected"))) {
    const std::size_t tab = line.find('\t'), tab2 = line.find('\t', tab + 1);
    texts.emplace(std::stoi(line.substr(tab + 1, tab2 - tab - 1)), line.substr(tab2 + 1));
  }
  ASSERT_EQ(texts.size(), 390u);
  const std::string form = dir.File("scripts.dfm"), fresh = dir.File("fresh.dfm"), errorFile = dir.File("errors.txt");
  std::string errors;
  for (const int locale : Locales) {
    WriteFile(form, ScriptsForm(locale));
    ASSERT_EQ(RunCommand({"text", "load", form, Data + "/scripts/ten_scripts.txt"}, errorFile, errors), 0) << errors;
    const V loaded = Entries(form);
    ASSERT_GT(loaded.size(), 40u) << locale;
    // No capture has a BiDiMode, so no file carries one: the rest comes back.
    V expected;
    for (const std::string& e : loaded)
      if (e.find(".BiDiMode=") == std::string::npos) expected.push_back(e);
    for (const bool xliff : {false, true}) {
      if (xliff && !exchange::XliffAvailable()) continue;
      const std::string file = dir.File(xliff ? "scripts.xlf" : "scripts.po"), option = xliff ? "--xliff" : "--po";
      ASSERT_EQ(RunCommand({"dict", "export", form, option, file}, errorFile, errors), 0) << errors;
      const std::string bytes = ReadFile(file);
      const auto [first, last] = texts.equal_range(locale);
      for (auto t = first; t != last; ++t) {
        std::string text = t->second;
        for (std::size_t at = 0; xliff && (at = text.find('&', at)) != std::string::npos; at += 5) text.replace(at, 1, "&amp;");
        EXPECT_NE(bytes.find(xliff ? ">" + text + "<" : "msgstr \"" + text + "\"\n"), std::string::npos) << locale << " " << t->second;
      }
      if (!xliff && HaveMsgfmt()) {
        const int code = std::system(("msgfmt --check -o /dev/null '" + file + "' 2>'" + errorFile + "'").c_str());
        EXPECT_EQ(code, 0) << locale << ": " << ReadFile(errorFile);
        EXPECT_EQ(ReadFile(errorFile), "") << locale;
      }
      WriteFile(fresh, ScriptsForm(locale));
      ASSERT_EQ(RunCommand({"dict", "import", fresh, option, file}, errorFile, errors), 0) << errors;
      EXPECT_EQ(errors, "") << locale << option;  // the file's sets are its language's: nothing to say
      EXPECT_EQ(Entries(fresh), expected) << locale << option;
    }
  }
}
