// Persistence of TLumetra in its form: published properties, "Storage", and the translation
// text file that travels with the form when FileName is set.
#include "Vek.hpp"

#include <filesystem>

#include "test_support.hpp"
#include "vcl/Forms.hpp"

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;
using Vek::TLumetra;

namespace {

using V = std::vector<std::string>;

std::string Written(vcl::TComponent* Root) {
  vcl::TMemoryStream stream;
  vcl::TWriter writer(stream);
  writer.WriteRootComponent(Root);
  return std::string(stream.Bytes().begin(), stream.Bytes().end());
}

std::string AsText(const std::string& Binary) {
  vcl::TMemoryStream in, out;
  in.WriteBuffer(Binary.data(), static_cast<std::int64_t>(Binary.size()));
  in.SetPosition(0);
  vcl::ObjectBinaryToText(in, out);
  return std::string(out.Bytes().begin(), out.Bytes().end());
}

// A form "Form1" of the application, read back from Binary into a new form.
vcl::TForm* ReadBack(const std::string& Binary) {
  vcl::TMemoryStream stream;
  stream.WriteBuffer(Binary.data(), static_cast<std::int64_t>(Binary.size()));
  stream.SetPosition(0);
  auto* form = new vcl::TForm(vcl::Application);
  vcl::TReader reader(stream);
  reader.ReadRootComponent(form);
  return form;
}

TLumetra* TranslatorOf(vcl::TComponent* Form) { return dynamic_cast<TLumetra*>(Form->FindComponent("Lumetra1")); }

class Storage : public ::testing::Test {
protected:
  Storage() {
    FForm->SetName("Form1");
    FLmt->SetName("Lumetra1");
    FLmt->SetLocale(1036);
    vcl::Application->SetExeName(FDir.File("prog.exe"));  // GetAppDir: the scratch folder
  }
  ~Storage() override {
    vcl::Application->SetExeName("");
    delete FForm;
    delete FRead;
  }
  void Fill() {
    FLmt->Translations()->SortInsert("TOpenDialog.Caption='Ouvrir'", nullptr);
    FLmt->Translations()->SortInsert("TOpenDialog.Width=400", nullptr);
    FLmt->OrgProps()->Add("TOpenDialog.Caption='Open'");
    FLmt->OrgProps()->Add("TOpenDialog.Width=563");
  }
  ScratchDir FDir;
  vcl::TForm* FForm = new vcl::TForm(vcl::Application);
  TLumetra* FLmt = new TLumetra(FForm);
  vcl::TForm* FRead = nullptr;
};

}  // namespace

TEST_F(Storage, WithoutAFileTheFormCarriesEverything) {
  Fill();
  FLmt->SetAbout("not stored");
  FLmt->SetTranslateEmpty(true);
  FLmt->SetOnTranslate(Vek::TTranslateEvent("Lumetra1Translate"));
  FLmt->SetTranslate(false);
  const std::string binary = Written(FForm);
  EXPECT_EQ(AsText(binary),
            "object Form1: TForm\r\n"
            "  object Lumetra1: TLumetra\r\n"
            "    Locale = 1036\r\n"
            "    Translate = False\r\n"
            "    TranslateEmpty = True\r\n"
            "    Translations.Strings = (\r\n"
            "      'TOpenDialog.Caption='#39'Ouvrir'#39\r\n"
            "      'TOpenDialog.Width=400')\r\n"
            "    OnTranslate = Lumetra1Translate\r\n"
            "    Storage = (\r\n"
            "      'TOpenDialog.Caption='#39'Open'#39\r\n"
            "      'TOpenDialog.Width=563')\r\n"
            "  end\r\n"
            "end\r\n");

  FRead = ReadBack(binary);
  TLumetra* read = TranslatorOf(FRead);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Locale(), 1036);
  EXPECT_FALSE(read->Translate());
  EXPECT_TRUE(read->TranslateEmpty());
  EXPECT_EQ(read->About(), "");
  EXPECT_EQ(read->OnTranslate().MethodName(), "Lumetra1Translate");
  EXPECT_EQ(testing_support::LinesOf(*read->Translations()), testing_support::LinesOf(*FLmt->Translations()));
  EXPECT_EQ(testing_support::LinesOf(*read->OrgProps()), testing_support::LinesOf(*FLmt->OrgProps()));
  EXPECT_EQ(Written(FRead), binary) << "read and written again, the same bytes";
  EXPECT_TRUE(std::filesystem::is_empty(FDir.Path())) << "no file touched";
}

TEST_F(Storage, StorageIsWrittenAlsoWhenEmpty) {
  const std::string text = AsText(Written(FForm));
  EXPECT_NE(text.find("    Translate = True\r\n    Storage = ()\r\n"), std::string::npos) << text;
}

TEST_F(Storage, WithABareFileNameTheEntriesGoToTheProgramsFolder) {
  Fill();
  FLmt->SetFileName("lang.txt");
  const std::string binary = Written(FForm);
  const std::string text = AsText(binary);
  EXPECT_EQ(text.find("Translations"), std::string::npos) << text;
  EXPECT_NE(text.find("    FileName = 'lang.txt'\r\n    Locale = 1036\r\n"), std::string::npos) << text;
  EXPECT_EQ(ReadFile(FDir.File("lang.txt")),
            "#0Form1.TOpenDialog.Caption%-1='Open'\r\n"
            "#0Form1.TOpenDialog.Caption%1036='Ouvrir'\r\n"
            "#0Form1.TOpenDialog.Width%-1=563\r\n"
            "#0Form1.TOpenDialog.Width%1036=400\r\n");

  // Reading the form merges the file into the entries, which the stream did not hold.
  FRead = ReadBack(binary);
  EXPECT_EQ(testing_support::LinesOf(*TranslatorOf(FRead)->Translations()), testing_support::LinesOf(*FLmt->Translations()));
}

TEST_F(Storage, ReadingPrefersTheCurrentFolderToTheProgramsFolder) {
  FLmt->SetFileName("lang.txt");
  const std::string binary = Written(FForm);  // an empty file in the program's folder
  ScratchDir current;
  WriteFile(current.File("lang.txt"), "#0Form1.TOpenDialog.Caption%1036='Courant'\r\n");
  WriteFile(FDir.File("lang.txt"), "#0Form1.TOpenDialog.Caption%1036='Programme'\r\n");
  const auto saved = std::filesystem::current_path();
  std::filesystem::current_path(current.Path());
  FRead = ReadBack(binary);
  std::filesystem::current_path(saved);
  EXPECT_EQ(testing_support::LinesOf(*TranslatorOf(FRead)->Translations()), V{"TOpenDialog.Caption='Courant'"});

  delete FRead;
  FRead = ReadBack(binary);  // not in the current folder: the program's
  EXPECT_EQ(testing_support::LinesOf(*TranslatorOf(FRead)->Translations()), V{"TOpenDialog.Caption='Programme'"});

  std::filesystem::remove(FDir.File("lang.txt"));
  delete FRead;
  FRead = ReadBack(binary);  // nowhere: no entries and no complaint
  EXPECT_EQ(TranslatorOf(FRead)->Translations()->Count(), 0);
}

TEST_F(Storage, AFileNameWithAFolderIsWrittenAsGiven) {
  Fill();
  ScratchDir elsewhere;
  FLmt->SetFileName(elsewhere.File("lang.txt"));
  Written(FForm);
  EXPECT_TRUE(vcl::FileExists(elsewhere.File("lang.txt")));
  EXPECT_FALSE(vcl::FileExists(FDir.File("lang.txt")));
}

TEST_F(Storage, SetTranslationsSortsAndCollapsesEqualLines) {
  vcl::TStringList source;
  source.Add("b=2");
  source.Add("a=1");
  source.Add("b=2");
  source.Add("b=3");
  FLmt->SetTranslations(&source);
  EXPECT_EQ(testing_support::LinesOf(*FLmt->Translations()), (V{"a=1", "b=2", "b=3"}));
  FLmt->Translations()->Add("0=first");
  FLmt->SetTranslations(FLmt->Translations());  // the list itself
  EXPECT_EQ(testing_support::LinesOf(*FLmt->Translations()), (V{"0=first", "a=1", "b=2", "b=3"}));
}
