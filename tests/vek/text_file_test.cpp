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
            "zzz hand-written line\r\n"
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
            "zzz hand-written line\r\n"
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

TEST_F(TextFile, MalformedLinesNameFileAndLineAndLoseNothing) {
  const std::string content = ExampleFile + "#0Form1.TOpenDialog.Top[1]=5\r\n" + "#0Form1.TOpenDialog.Left[1]%1036=7\r\n";
  WriteFile(FFile, content);
  Fill({"TOpenDialog.Caption='Neu'"}, {});
  // Without a "%" the whole head is read as the locale.
  const std::string message = FFile + ", line 5: '#0Form1.TOpenDialog.Top[1]' is not a valid integer value";
  EXPECT_THROW_MSG(FLmt->SaveTo(FFile), vcl::EConvertError, message);
  EXPECT_EQ(ReadFile(FFile), content);  // the old file stays whole
  EXPECT_EQ(vcl::Screen->Cursor(), vcl::crDefault);

  // Loading stops at the bad line with the lines before it merged; the line after is not read.
  FLmt->Translations()->Clear();
  EXPECT_THROW_MSG(FLmt->LoadFrom(FFile), vcl::EConvertError, message);
  EXPECT_EQ(testing_support::LinesOf(*FLmt->Translations()), (V{"TOpenDialog.Caption='Ouvrir'", "TOpenDialog.Width=400"}));
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
       "zzz\r\n#0Form1.TOpenDialog.Top[2]%1031=1\r\nmmm\r\n#0Form0.x%1=1\r\naaa\r\n",
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
