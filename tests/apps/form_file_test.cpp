// The command line's form file on every real form: written back unchanged, with a translator
// put on it, and with entries loaded into that translator, it keeps every byte it held.
#include "captured_output.hpp"
#include "commands.hpp"
#include "form_file.hpp"
#include "test_support.hpp"

using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;
using namespace lumetra_cli;

namespace {

std::string FormsFolder() { return std::string(LUMETRA_TEST_DATA) + "/forms"; }

// The text form of a form file's bytes.
std::string TextOf(const std::string& Bytes) { return IsTextForm(Bytes) ? Bytes : FormText(Bytes); }

// Text without the lines of the translator Name: from the start of its header's line to the end
// of the line of its end, at the header's indentation, whatever the lines end with.
std::string WithoutObject(const std::string& Text, const std::string& Name) {
  const std::size_t header = Text.find("object " + Name + ": TLumetra");
  if (header == std::string::npos) return Text;
  const std::size_t from = Text.find_last_of("\r\n", header) + 1;
  const std::string end = Text.substr(from, header - from) + "end";
  for (std::size_t at = Text.find(end, header); at != std::string::npos; at = Text.find(end, at + 1)) {
    std::size_t to = at + end.size();
    const auto lineBreak = [&](std::size_t I) { return I < Text.size() && (Text[I] == '\r' || Text[I] == '\n'); };
    if (!lineBreak(at - 1) || (to < Text.size() && !lineBreak(to))) continue;
    to += Text.compare(to, 2, "\r\n") == 0 ? 2 : lineBreak(to) ? 1 : 0;
    return Text.substr(0, from) + Text.substr(to);
  }
  return Text;
}

class RealFormFile : public ::testing::TestWithParam<std::string> {
protected:
  RealFormFile() : FOriginal(ReadFile(FormsFolder() + "/" + GetParam())) { WriteFile(FCopy, FOriginal); }
  // Puts a translator on the copy and writes it back, as capture --add does before it captures.
  void AddTranslator() {
    FormFile form(FCopy, FormFile::ToRewrite);
    EXPECT_EQ(form.AddTranslator()->Name(), "Lumetra1");
    form.Save();
  }
  void ExpectOriginalBesideTheTranslator() {
    const std::string written = ReadFile(FCopy);
    EXPECT_EQ(IsTextForm(written), IsTextForm(FOriginal)) << "the form keeps its format";
    EXPECT_NE(TextOf(written).find("object Lumetra1: TLumetra"), std::string::npos);
    EXPECT_EQ(WithoutObject(TextOf(written), "Lumetra1"), TextOf(FOriginal));
  }
  ScratchDir FDir;
  // A short name: the folder's name has the test's, and Windows limits the length of a path.
  std::string FCopy = FDir.File("form" + GetParam().substr(GetParam().rfind('.')));
  std::string FOriginal;
};

TEST_P(RealFormFile, WrittenBackUnchangedKeepsEveryByte) {
  {
    FormFile form(FCopy, FormFile::ToRewrite);
    form.Save();
  }
  EXPECT_EQ(ReadFile(FCopy), FOriginal);
}

TEST_P(RealFormFile, AnAddedTranslatorIsAllThatChanges) {
  AddTranslator();
  ExpectOriginalBesideTheTranslator();
  {
    FormFile form(FCopy, FormFile::ToRewrite);
    delete form.Translator();
    form.Save();
  }
  EXPECT_EQ(ReadFile(FCopy), FOriginal) << "without the translator the form is the original again";
}

TEST_P(RealFormFile, EntriesLoadedIntoItsTranslatorChangeOnlyTheTranslator) {
  AddTranslator();
  std::string owner, locale;
  {
    FormFile form(FCopy);
    owner = form.Translator()->OwnerName();
    locale = std::to_string(form.Translator()->Locale());
  }
  const std::string text = FDir.File("lang.txt");
  WriteFile(text, "#0" + owner + ".TOpenDialog.Caption%" + locale + "='Ouvrir'\r\n#0" + owner + ".TFontDialog.Caption%" +
                      locale + "='Police'\r\n");
  testing_support::CapturedOutput out(stdout);
  ASSERT_EQ(RunText({"load", FCopy, text}), 0);
  EXPECT_NE(out.Text().find(FCopy + ": entries 0 -> 2 from "), std::string::npos);
  ExpectOriginalBesideTheTranslator();
  FormFile form(FCopy);
  EXPECT_EQ(form.Translator()->Translations()->Count(), 2);
}

// Each named by its number and its file's path in its repository, which is long enough.
INSTANTIATE_TEST_SUITE_P(Forms, RealFormFile, ::testing::ValuesIn(testing_support::FormFileNames(FormsFolder())),
                         [](const auto& Info) {
                           const std::string& name = Info.param;
                           return std::to_string(Info.index) + "_" + testing_support::AsTestName(name.substr(name.rfind("__") + 2));
                         });

}  // namespace
