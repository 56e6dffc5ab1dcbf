// The table of exchange formats: the lookups by extension and option, the file dialog's filter,
// and every format's file written from the lists and read back into them.
#include "exchange/Formats.hpp"

#include "exchange/XliffFile.hpp"
#include "test_support.hpp"

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;
using namespace exchange;

namespace {

using V = std::vector<std::string>;

// Names of the formats of the table, for messages.
std::string NameOf(const TFormat* F) { return F ? std::string(F->Name) : "<none>"; }

}  // namespace

TEST(Formats, FileExtensionsNameTheirFormatWithoutRegardToCase) {
  struct Case {
    const char* file;
    const char* format;
  } cases[] = {{"de.po", "PO"},           {"DE.PO", "PO"},          {"fr.xliff", "XLIFF"}, {"fr.XLF", "XLIFF"},
               {"words.txt", "dictionary"}, {"words", "dictionary"}, {"words.dic", "dictionary"},
               {"po.d/words", "dictionary"},  // a dot in a folder's name is no extension
               {"C:\\po.d\\words", "dictionary"}, {"a.po.txt", "dictionary"}, {".po", "PO"}};
  for (const Case& c : cases) EXPECT_EQ(FormatOfFile(c.file).Name, c.format) << c.file;
  EXPECT_EQ(&Dictionary(), &Formats().front());
}

TEST(Formats, TheCommandLinesOptionsNameTheirFormat) {
  EXPECT_EQ(NameOf(FormatOfOption("--po")), "PO");
  EXPECT_EQ(NameOf(FormatOfOption("--xliff")), "XLIFF");
  for (const char* other : {"", "--", "--txt", "--dictionary", "po", "--PO"}) EXPECT_EQ(FormatOfOption(other), nullptr) << other;
}

TEST(Formats, TheFilterOffersTheFormatsOfThisBuildThenAllFiles) {
  const std::string xliff = XliffAvailable() ? "XLIFF 1.2 file (*.xliff;*.xlf)|*.xliff;*.xlf|" : "";
  EXPECT_EQ(FileFilter(), "Dictionary (*.txt)|*.txt|PO file (*.po)|*.po|" + xliff + "All files (*.*)|*.*");
}

// Each format written from a translator's lists gives the translations back to lists that had
// none, in the form the entries hold them (literal form, CR LF as captured, integers plain).
TEST(Formats, EveryFormatReadsBackWhatItWrote) {
  ScratchDir dir;
  vcl::TStringList originals;
  for (const char* l : {"TOpenDialog.Caption='Open'", "TOpenDialog.Caption[1]='Caf\xE9'", "TOpenDialog.Caption[2]='Line one\r\nLine two'",
                        "TOpenDialog.Height=300"})
    originals.Add(l);
  const V translated = {"TOpenDialog.Caption='Ouvrir'", "TOpenDialog.Caption[1]='L''\xE9t\xE9'",
                        "TOpenDialog.Caption[2]='Un'#13#10'Deux'", "TOpenDialog.Height=320"};
  Vek::TSortList entries;
  for (const std::string& e : translated) entries.Add(e);
  for (const TFormat& format : Formats()) {
    if (!format.Available()) continue;
    const std::string file = dir.File("out." + std::string(format.Extensions.front()));
    V warnings;
    format.Write(file, {entries, originals, nullptr, "Form1", 1036, ""}, [&](const std::string& W) { warnings.push_back(W); });
    EXPECT_EQ(warnings, V{}) << format.Name;
    // What the translator holds before its first translation: the captured values, as Include puts them.
    Vek::TSortList fresh;
    for (const char* l : {"TOpenDialog.Caption='Open'", "TOpenDialog.Caption[1]='Caf\xE9'", "TOpenDialog.Caption[2]='Line one'#13#10'Line two'",
                          "TOpenDialog.Height=300"})
      fresh.Add(l);
    const TImport import = format.Read(file);
    ASSERT_TRUE(import) << format.Name;
    const ImportResult result = import(fresh, originals);
    EXPECT_EQ(result.Faults, V{}) << format.Name;
    EXPECT_EQ(result.Changed, 4) << format.Name;
    EXPECT_EQ(testing_support::LinesOf(fresh), translated) << format.Name;
    EXPECT_FALSE(format.Read(dir.File("missing." + std::string(format.Extensions.front())))) << format.Name;
  }
}

// The fuzzy keys of an export come back fuzzy from the formats that mark messages for review:
// left out by the command line's import, taken and named where the editor asks.
TEST(Formats, FuzzyKeysGoOutMarkedAndComeBackMarked) {
  ScratchDir dir;
  vcl::TStringList originals;
  for (const char* l : {"TOpenDialog.Caption='Open'", "TOpenDialog.Caption[1]='Caf\xE9'", "TOpenDialog.Height=300"}) originals.Add(l);
  Vek::TSortList entries;
  // Caption[1] is fuzzy without a translation: it goes out untranslated, not marked.
  for (const char* l : {"TOpenDialog.Caption='Ouvrir'", "TOpenDialog.Caption[1]=''", "TOpenDialog.Height=320"}) entries.Add(l);
  for (const TFormat& format : Formats()) {
    if (!format.Available() || &format == &Dictionary()) continue;
    const std::string file = dir.File("fuzzy." + std::string(format.Extensions.front()));
    format.Write(file, {entries, originals, nullptr, "Form1", 1036, "", {"TOpenDialog.Caption", "TOpenDialog.Caption[1]"}}, nullptr);
    const TImport import = format.Read(file);
    ASSERT_TRUE(import) << format.Name;
    Vek::TSortList plain;
    ImportResult result = import(plain, originals);
    EXPECT_EQ(result.Fuzzy, 1) << format.Name;
    EXPECT_EQ(result.Untranslated, 1) << format.Name;
    EXPECT_EQ(testing_support::LinesOf(plain), V{"TOpenDialog.Height=320"}) << format.Name;
    Vek::TSortList reviewed;
    result = import(reviewed, originals, std::nullopt, true);
    EXPECT_EQ(result.Fuzzy, 0) << format.Name;
    EXPECT_EQ(result.FuzzyKeys, V{"TOpenDialog.Caption"}) << format.Name;
    EXPECT_EQ(testing_support::LinesOf(reviewed), (V{"TOpenDialog.Caption='Ouvrir'", "TOpenDialog.Height=320"})) << format.Name;
  }
}

TEST(Formats, UnitsFilesRefuseWhatIsNoRegularFileOrTooLargeBeforeWriting) {
  ScratchDir dir;
  vcl::TStringList originals;
  originals.Add("TOpenDialog.Caption='Open'");
  Vek::TSortList entries;
  for (const TFormat& format : Formats()) {
    if (!format.Available()) continue;
    EXPECT_THROW(format.Write(dir.Path().string(), {entries, originals, nullptr, "Form1", 0, ""}, nullptr), vcl::EFOpenError) << format.Name;
    EXPECT_THROW(format.Read(dir.Path().string()), vcl::EFOpenError) << format.Name;
  }
  const std::string po = dir.File("broken.po");
  WriteFile(po, "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\nmsgid \"unclosed\n");
  EXPECT_THROW(FormatOfFile(po).Read(po), vcl::EReadError);
  EXPECT_EQ(ReadFile(po).substr(0, 5), "msgid") << "left as it was";
}

TEST(Formats, APoHeaderNamesTheProjectTheLanguageAndTheLocale) {
  ScratchDir dir;
  vcl::TStringList originals;
  originals.Add("TOpenDialog.Caption='Open'");
  Vek::TSortList entries;
  const std::string po = dir.File("de.po");
  FormatOfFile(po).Write(po, {entries, originals, nullptr, "Form\xE9", 1031, ""}, nullptr);
  const std::string text = ReadFile(po);
  for (const char* field : {"\"Project-Id-Version: Form\xC3\xA9\\n\"", "\"Language: de_DE\\n\"", "\"X-Lumetra-Locale: 1031\\n\""})
    EXPECT_NE(text.find(field), std::string::npos) << field << "\n" << text;
  FormatOfFile(po).Write(po, {entries, originals, nullptr, "Form1", 0x0437, ""}, nullptr);
  EXPECT_NE(ReadFile(po).find("\"Language: und\\n\""), std::string::npos) << "a locale without a tag";
}
