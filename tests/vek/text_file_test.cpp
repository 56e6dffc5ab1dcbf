// Translation text files: SaveTo, LoadFrom, GetAppDir and the owner name.
#include "Vek.hpp"

#include "design/ToolIntf.hpp"
#include "test_support.hpp"
#include "vcl/Forms.hpp"

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;
using Vek::TLumetra;

namespace {

class TForm1 : public vcl::TForm {
  VCL_DECLARE_CLASS
public:
  using vcl::TForm::TForm;
};
class TDataModule2 : public vcl::TDataModule {
  VCL_DECLARE_CLASS
public:
  using vcl::TDataModule::TDataModule;
};
VCL_IMPLEMENT_CLASS(TForm1, vcl::TForm)
VCL_IMPLEMENT_CLASS(TDataModule2, vcl::TDataModule)

using V = std::vector<std::string>;

class TextFile : public ::testing::Test {
protected:
  TextFile() {
    FForm->SetName("Form1");
    FLmt->SetLocale(1036);
  }
  ~TextFile() override { delete FForm; }
  void Fill(const V& Translations, const V& Originals) {
    for (const auto& l : Translations) FLmt->Translations()->SortInsert(l, nullptr);
    for (const auto& l : Originals) FLmt->OrgProps()->SortInsert(l, nullptr);
  }
  ScratchDir FDir;
  std::string FFile = FDir.File("lang.txt");
  TForm1* FForm = new TForm1(vcl::Application);
  TLumetra* FLmt = new TLumetra(FForm);
};

const V ExampleTranslations = {"TOpenDialog.Caption='Ouvrir'", "TOpenDialog.Width=400"};
const V ExampleOriginals = {"TOpenDialog.Caption='Open'", "TOpenDialog.Height=300", "TOpenDialog.Width=563"};
const std::string ExampleFile =
    "#0Form1.TOpenDialog.Caption%-1='Open'\r\n"
    "#0Form1.TOpenDialog.Caption%1036='Ouvrir'\r\n"
    "#0Form1.TOpenDialog.Width%-1=563\r\n"
    "#0Form1.TOpenDialog.Width%1036=400\r\n";

}  // namespace

TEST_F(TextFile, SaveWritesEntriesAndTheOriginalsOfTranslatedProperties) {
  Fill(ExampleTranslations, ExampleOriginals);
  FLmt->SaveTo(FFile);
  EXPECT_EQ(ReadFile(FFile), ExampleFile);
  FLmt->SaveTo(FFile);  // nothing changed: the same file
  EXPECT_EQ(ReadFile(FFile), ExampleFile);
  EXPECT_EQ(vcl::Screen->Cursor(), vcl::crDefault);
}

TEST_F(TextFile, SaveKeepsOtherFormsAndLocalesInTheirPlaces) {
  WriteFile(FFile,
            "#0Zed.TOpenDialog.Caption%1036='z'\r\n"
            "#0Form1.TOpenDialog.Caption%1031='Offnen'\r\n"
            "#0Form1.TOpenDialog.Caption%1036='Old'\r\n"
            "#0Form2.TOpenDialog.Caption%1036='Autre'\r\n"
            "#0Form1.TOpenDialog.Caption%-1='Old original'\r\n");
  Fill({"TOpenDialog.Caption='Ouvrir'"}, {"TOpenDialog.Caption='Open'"});
  FLmt->SaveTo(FFile);
  // The untouched lines stay in order; new lines go where the binary search of a sorted
  // insertion puts them, even in a file that a hand edit left unsorted.
  EXPECT_EQ(ReadFile(FFile),
            "#0Form1.TOpenDialog.Caption%-1='Open'\r\n"
            "#0Zed.TOpenDialog.Caption%1036='z'\r\n"
            "#0Form1.TOpenDialog.Caption%1031='Offnen'\r\n"
            "#0Form1.TOpenDialog.Caption%1036='Ouvrir'\r\n"
            "#0Form2.TOpenDialog.Caption%1036='Autre'\r\n");
}

TEST_F(TextFile, SaveMergesNewLinesIntoASortedFileEachOnce) {
  WriteFile(FFile,
            "#0Form0.TOpenDialog.Caption%1036='A'\r\n"
            "#0Form1.TOpenDialog.Caption%1036='Old'\n"
            "#0Form1.TOpenDialog.Width%1031=1\r"
            "#0Form2.TOpenDialog.Caption%1036='B'\r\n"
            "#0Form2.TOpenDialog.Caption%1036='B'\r\n");  // a line twice stays twice
  // An unsorted working copy with one line twice: each line goes in once, at its place.
  for (const char* l : {"TOpenDialog.Width=400", "TOpenDialog.Caption='Ouvrir'", "TOpenDialog.Width=400"})
    FLmt->Translations()->Add(l);
  FLmt->OrgProps()->SortInsert("TOpenDialog.Width=563", nullptr);
  FLmt->SaveTo(FFile);
  EXPECT_EQ(ReadFile(FFile),
            "#0Form0.TOpenDialog.Caption%1036='A'\r\n"
            "#0Form1.TOpenDialog.Caption%1036='Ouvrir'\r\n"
            "#0Form1.TOpenDialog.Width%-1=563\r\n"
            "#0Form1.TOpenDialog.Width%1031=1\r\n"
            "#0Form1.TOpenDialog.Width%1036=400\r\n"
            "#0Form2.TOpenDialog.Caption%1036='B'\r\n"
            "#0Form2.TOpenDialog.Caption%1036='B'\r\n");
}

TEST_F(TextFile, SaveOfNoEntriesRemovesThisOwnersLinesOrCreatesAnEmptyFile) {
  FLmt->OrgProps()->SortInsert("TOpenDialog.Caption='Open'", nullptr);
  FLmt->SaveTo(FFile);
  EXPECT_EQ(ReadFile(FFile), "");
  WriteFile(FFile, ExampleFile + "#0Form1.TOpenDialog.Caption%7='x'\r\n");
  FLmt->SaveTo(FFile);
  EXPECT_EQ(ReadFile(FFile), "#0Form1.TOpenDialog.Caption%7='x'\r\n");
}

TEST_F(TextFile, OwnerNameFallsBackToTheClassName) {
  auto* module = new TDataModule2(vcl::Application);
  auto* lmt = new TLumetra(module);
  lmt->SetLocale(1);
  lmt->Translations()->SortInsert("TFontDialog.Caption='Police'", nullptr);
  lmt->SaveTo(FFile);
  EXPECT_EQ(ReadFile(FFile), "#0DataModule2.TFontDialog.Caption%1='Police'\r\n");
  delete module;
  TLumetra orphan(nullptr);
  EXPECT_THROW(orphan.SaveTo(FFile), vcl::Exception);
}

TEST_F(TextFile, LoadMergesThisOwnerAndLocaleOnly) {
  WriteFile(FFile, ExampleFile +
                       "#0Form1.TOpenDialog.Height%1031=1\r\n"
                       "#0Form2.TOpenDialog.Height%1036=2\r\n"
                       "#0Form1.TFontDialog.Caption%1036=\r\n"
                       "#0Form1.TOpenDialog.Width%1036=500\n");  // a later line of one key wins
  FLmt->Translations()->SortInsert("TOpenDialog.Width=1", nullptr);
  FLmt->Translations()->SortInsert("TColorDialog.Caption='Kept'", nullptr);
  ASSERT_TRUE(FLmt->LoadFrom(FFile));
  EXPECT_EQ(testing_support::LinesOf(*FLmt->Translations()),
            (V{"TColorDialog.Caption='Kept'", "TFontDialog.Caption=", "TOpenDialog.Caption='Ouvrir'",
               "TOpenDialog.Width=500"}));
}

TEST_F(TextFile, LoadWithLocaleMinusOneTakesTheOriginals) {
  WriteFile(FFile, ExampleFile);
  FLmt->SetLocale(-1);
  ASSERT_TRUE(FLmt->LoadFrom(FFile));
  EXPECT_EQ(testing_support::LinesOf(*FLmt->Translations()), (V{"TOpenDialog.Caption='Open'", "TOpenDialog.Width=563"}));
}

TEST_F(TextFile, LoadOfAMissingFileChangesNothing) {
  FLmt->Translations()->SortInsert("TOpenDialog.Width=1", nullptr);
  EXPECT_FALSE(FLmt->LoadFrom(FDir.File("missing.txt")));
  EXPECT_EQ(testing_support::LinesOf(*FLmt->Translations()), V{"TOpenDialog.Width=1"});
}

TEST_F(TextFile, AFileWithALineOfAnotherKindIsRefusedNamingTheLineAndLeftAsItIs) {
  Fill({"TOpenDialog.Caption='Neu'"}, {"TOpenDialog.Caption='Open'"});
  const struct {
    const char* What;
    std::string Line;
  } foreign[] = {
      {"a key of someone else's", "ssh-ed25519 AAAAC3NzaC1lZDI1NTE5 evil@attacker"},
      {"no locale", "#0Form1.TOpenDialog.Top[1]=5"},
      {"no value", "#0Form1.TOpenDialog.Top[1]%1036"},
      {"no key", "#0Form1%1036=5"},
      {"a locale that is no integer, of another owner", "#0Form2.TOpenDialog.Top[1]%12a=5"},
      {"a locale beyond 32 bits", "#0Form1.TOpenDialog.Top[1]%4294967296=5"},
      {"a NUL", std::string("#0Form1.TOpenDialog.Caption%1036='a\0b'", 38)},
      {"blanks before the mark", " #0Form1.TOpenDialog.Top[1]%1036=5"},
      {"a \"%\" in the value only", "#0Form1.TOpenDialogCaption1036='50%'"},
      {"a \".\" in the value only", "#0Form1TOpenDialogCaption[1090]%1036='a.b'"},
      {"a sign without digits", "#0Form1.TOpenDialog.Top[1]%-=5"},
  };
  for (const auto& f : foreign) {
    SCOPED_TRACE(f.What);
    const std::string content = ExampleFile + "\r\n" + f.Line + "\r\n#0Form1.TOpenDialog.Left[1]%1036=7\r\n";
    WriteFile(FFile, content);
    const std::string message =
        FFile + ", line 6: not a line of a translation text file (#0<owner>.<key>%<locale>=<value>); the file is refused and left as it is";
    EXPECT_THROW_MSG(FLmt->SaveTo(FFile), vcl::EReadError, message);
    EXPECT_EQ(ReadFile(FFile), content);
    EXPECT_EQ(vcl::Screen->Cursor(), vcl::crDefault);
    EXPECT_THROW_MSG(FLmt->LoadFrom(FFile), vcl::EReadError, message);
    EXPECT_EQ(testing_support::LinesOf(*FLmt->Translations()), V{"TOpenDialog.Caption='Neu'"}) << "nothing merged";
  }
}

TEST_F(TextFile, LocalesAreReadAsStrToIntReadsThemAndEmptyLinesAreKept) {
  // Blanks and a sign before the digits, or "$" and hexadecimal digits ($40C is 1036).
  const std::string content = "\r\n#0Form1.TOpenDialog.Caption%$40C='Hex'\r\n#0Form2.TOpenDialog.Caption% -5='x'\r\n\r\n";
  WriteFile(FFile, content);
  ASSERT_TRUE(FLmt->LoadFrom(FFile));
  EXPECT_EQ(testing_support::LinesOf(*FLmt->Translations()), V{"TOpenDialog.Caption='Hex'"});
  FLmt->SetLocale(7);
  FLmt->SaveTo(FFile);
  EXPECT_EQ(ReadFile(FFile), "\r\n#0Form1.TOpenDialog.Caption%$40C='Hex'\r\n#0Form1.TOpenDialog.Caption%7='Hex'\r\n"
                             "#0Form2.TOpenDialog.Caption% -5='x'\r\n\r\n");
}

TEST_F(TextFile, AnEntryThatWouldBreakItsLineIsRefusedBeforeAnythingIsWritten) {
  const struct {
    const char* What;
    V Translations, Originals;
    std::string Message;  // after the file name
  } cases[] = {
      {"a line feed in a value, smuggling a line in", {"TOpenDialog.Caption[1090]='x'\n#0Form1.TOpenDialog.Caption%1036='evil'"}, {},
       "entry \"TOpenDialog.Caption[1090]\" holds a raw line feed (#10), which no line of the file may hold (entries spell it #10 in "
       "literal form); nothing is written"},
      {"a carriage return in a key", {"TOpenDialog.Cap\rtion='x'"}, {},
       "entry \"TOpenDialog.Cap\rtion\" holds a raw carriage return (#13), which no line of the file may hold (entries spell it #13 "
       "in literal form); nothing is written"},
      {"a NUL", {std::string("TOpenDialog.Caption='a\0b'", 25)}, {},
       "entry \"TOpenDialog.Caption\" holds a raw NUL (#0), which no line of the file may hold (entries spell it #0 in literal form); "
       "nothing is written"},
      {"a line feed in the original of a translated property", {"TOpenDialog.Caption='x'"}, {"TOpenDialog.Caption='a\nb'"},
       "captured value \"TOpenDialog.Caption\" holds a raw line feed (#10), which no line of the file may hold (entries spell it #10 "
       "in literal form); nothing is written"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    FLmt->Translations()->Clear();
    FLmt->OrgProps()->Clear();
    Fill(c.Translations, c.Originals);
    WriteFile(FFile, ExampleFile);
    EXPECT_THROW_MSG(FLmt->SaveTo(FFile), vcl::EWriteError, FFile + ": " + c.Message);
    EXPECT_EQ(ReadFile(FFile), ExampleFile);
  }
  // What is not written is not refused: the original of a property without an entry, a value
  // past the 4095 characters that are kept.
  FLmt->Translations()->Clear();
  FLmt->OrgProps()->Clear();
  Fill({"TOpenDialog.Caption='" + std::string(4093, 'x') + "'\n"}, {"TOpenDialog.Width=1\n2"});
  FLmt->SaveTo(FFile);
  EXPECT_EQ(ReadFile(FFile), "#0Form1.TOpenDialog.Caption%1036='" + std::string(4093, 'x') + "'\r\n");
}

TEST_F(TextFile, AFileLargerThanIsReadBackIsNotWritten) {
  WriteFile(FFile, ExampleFile);
  // One entry whose key alone passes the limit (keys are not cut as values are).
  const std::string key(Vek::MaxListFileSize, 'k');
  FLmt->Translations()->SortInsert(key + "=1", nullptr);
  const std::size_t size = 2 + 5 + 1 + key.size() + 1 + 4 + 1 + 1 + 2;  // "#0Form1." key "%1036=1" CR LF
  EXPECT_THROW_MSG(FLmt->SaveTo(FFile), vcl::EFCreateError,
                   FFile + ": would be " + std::to_string(size) + " bytes, more than the 256 MiB that Lumetra reads; nothing is written");
  EXPECT_EQ(ReadFile(FFile), ExampleFile);
}

TEST_F(TextFile, SavesInOneBatchEachKeepTheLinesOfTheOnesBefore) {
  // Two translators of one form share a file, as they do when the form is written.
  auto* other = new TLumetra(FForm);
  other->SetLocale(1031);
  other->Translations()->SortInsert("TOpenDialog.Caption='Offnen'", nullptr);
  Fill({"TOpenDialog.Caption='Ouvrir'"}, {});
  {
    vcl::TReplaceBatch batch;
    FLmt->SaveTo(FFile);
    other->SaveTo(FFile);
    EXPECT_FALSE(std::filesystem::exists(FFile));
    batch.Commit();
  }
  EXPECT_EQ(ReadFile(FFile), "#0Form1.TOpenDialog.Caption%1031='Offnen'\r\n#0Form1.TOpenDialog.Caption%1036='Ouvrir'\r\n");
}

TEST_F(TextFile, AnUnwritableFolderLeavesTheOldFileWhole) {
  Fill(ExampleTranslations, ExampleOriginals);
  WriteFile(FFile, "old\r\n");
  {
    testing_support::ReadOnlyFolder readOnly(FDir.Path());
    if (!readOnly.Effective()) GTEST_SKIP() << readOnly.WhyNot();
    EXPECT_THROW(FLmt->SaveTo(FFile), vcl::EFCreateError);
  }
  EXPECT_EQ(ReadFile(FFile), "old\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(FDir.Path()), {}), 1);  // no temporary left
}

namespace {
struct FakeHost : design::TIToolServices {
  std::string GetProjectName() override { return "C:\\Projects\\Demo\\Demo.dpr"; }
};
}  // namespace

TEST_F(TextFile, AppDirIsTheProjectsWhileDesigningAndTheProgramsOtherwise) {
  EXPECT_EQ(FLmt->GetAppDir(), vcl::ExtractFilePath(vcl::Application->ExeName()));
  FakeHost host;
  design::ToolServices = &host;
  FForm->SetDesigning(true);
  EXPECT_EQ(FLmt->GetAppDir(), "C:\\Projects\\Demo\\");
  design::ToolServices = nullptr;
}

// ---- The list forms: what the editor runs on its working copy ---------------------------------

namespace {

// The editor's captured values: an unsorted list, in the order given.
std::unique_ptr<vcl::TStringList> Unsorted(const V& Lines) {
  auto list = std::make_unique<vcl::TStringList>();
  for (const auto& l : Lines) list->Add(l);
  return list;
}

}  // namespace

TEST_F(TextFile, ListFormWritesWhatTheTranslatorWritesWithItsCapturesSorted) {
  struct Case {
    const char* name;
    int locale;
    std::string before;  // the file as it stands, "" for none
    V translations;
    V originals;  // unsorted, as the editor holds them
  } cases[] = {
      {"new file", 1036, "", ExampleTranslations, {"TOpenDialog.Width=563", "TOpenDialog.Height=300", "TOpenDialog.Caption='Open'"}},
      {"other owners and locales stay", 1031,
       "#0Form0.TOpenDialog.Caption%1031='A'\r\n#0Form1.TOpenDialog.Caption%-1='Old'\r\n"
       "#0Form1.TOpenDialog.Caption%1031='Alt'\r\n#0Form1.TOpenDialog.Caption%1036='Ouvrir'\r\n"
       "#0Form2.TOpenDialog.Width%1031=9\r\n",
       {"TOpenDialog.Caption='Offnen'", "TOpenDialog.Width=410"},
       {"TOpenDialog.Width=563", "TFontDialog.Caption='Font'", "TOpenDialog.Caption='Open'"}},
      {"negative locale", -5, "#0Form1.TOpenDialog.Width%-5=1\r\n", {"TOpenDialog.Width=2"}, {"TOpenDialog.Width=563"}},
      {"hand-edited, unsorted file", 1036,
       "#0Zed.z%1=1\r\n#0Form1.TOpenDialog.Top[2]%1031=1\r\n#0Mid.m%1=1\r\n#0Form0.x%1=1\r\n#0Abc.a%1=1\r\n",
       {"TOpenDialog.Caption='Ouvrir'", "TOpenDialog.Left[2]=5", "TOpenDialog.Top[2]=7", "TOpenDialog.Width=400"},
       // In this order a sorted insertion into the unsorted lines would put the Width original elsewhere.
       {"TOpenDialog.Top[2]=3", "TOpenDialog.Width=563", "TOpenDialog.Caption='Open'", "TOpenDialog.Left[2]=4"}},
      {"no entries: this owner's lines go", 1036, ExampleFile, {}, {"TOpenDialog.Caption='Open'"}},
  };
  const std::string viaList = FDir.File("list.txt");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FLmt->Translations()->Clear();
    FLmt->OrgProps()->Clear();
    FLmt->SetLocale(c.locale);
    Fill(c.translations, c.originals);  // sorted in, as OK stores the captures
    WriteFile(FFile, c.before);
    WriteFile(viaList, c.before);
    FLmt->SaveTo(FFile);

    Vek::TSortList translations;
    for (const auto& l : c.translations) translations.SortInsert(l, nullptr);
    const auto originals = Unsorted(c.originals);
    Vek::SaveTo(viaList, "Form1", c.locale, translations, *originals);
    EXPECT_EQ(ReadFile(viaList), ReadFile(FFile));
    EXPECT_EQ(testing_support::LinesOf(*originals), c.originals);  // the working copy is untouched
  }
}

TEST_F(TextFile, ListFormLoadsIntoTheGivenListOnly) {
  WriteFile(FFile, ExampleFile + "#0Form1.TOpenDialog.Width%0=1\r\n#0Form2.TOpenDialog.Width%0=2\r\n");
  Fill({"TOpenDialog.Caption='Mine'"}, {});
  Vek::TSortList working;
  working.SortInsert("TOpenDialog.Width=300", nullptr);
  working.SortInsert("TColorDialog.Caption='Kept'", nullptr);
  // The editor loads with locale 0 whatever the translator's locale.
  ASSERT_TRUE(Vek::LoadFrom(FFile, "Form1", 0, working));
  EXPECT_EQ(testing_support::LinesOf(working), (V{"TColorDialog.Caption='Kept'", "TOpenDialog.Width=1"}));
  EXPECT_EQ(testing_support::LinesOf(*FLmt->Translations()), V{"TOpenDialog.Caption='Mine'"});
  EXPECT_FALSE(Vek::LoadFrom(FDir.File("missing.txt"), "Form1", 0, working));
  EXPECT_EQ(working.Count(), 2);
}

TEST_F(TextFile, ListFormsLeaveEveryTranslatorAsItWas) {
  // A temporary translator would switch every translator with a nonzero locale off.
  FLmt->SetTranslate(true);
  ASSERT_EQ(Vek::vekInstance, FLmt);
  Vek::TSortList working;
  working.SortInsert("TOpenDialog.Caption='Ouvrir'", nullptr);
  const auto originals = Unsorted({"TOpenDialog.Caption='Open'"});
  Vek::SaveTo(FFile, "Form1", 0, working, *originals);
  ASSERT_TRUE(Vek::LoadFrom(FFile, "Form1", 0, working));
  const std::string dictionary = FDir.File("de.dic");
  Vek::TranslateTo(dictionary, working, *originals);
  ASSERT_TRUE(Vek::TranslateFrom(dictionary, working, *originals));
  EXPECT_TRUE(FLmt->Translate());
  EXPECT_EQ(Vek::vekInstance, FLmt);
  EXPECT_EQ(FForm->ComponentCount(), 1);
}
