// The real form files in tests/data/forms: text and binary forms convert both ways, and read
// into components and written back, without losing a byte.
#include <algorithm>
#include <regex>

#include "vcl/Classes.hpp"

#include "form_test_support.hpp"
#include "real_form_classes.hpp"
#include "test_support.hpp"

using namespace vcl;
using namespace form_test;
using testing_support::ReadFile;

namespace {

// Every component the stream gave a registered class is of that class.
void ExpectRegisteredClassesKnown(TComponent* Component) {
  const std::string& name = Component->StreamedInfo()->ClassName;
  if (GetClass(name)) {
    EXPECT_EQ(Component->ClassName(), name) << Component->Name();
  }
  for (int i = 0; i < Component->ComponentCount(); ++i) ExpectRegisteredClassesKnown(Component->Components(i));
}

std::string FormsFolder() { return std::string(LUMETRA_TEST_DATA) + "/forms"; }

// Converts all of Input; the conversion must take every byte of it.
std::string ConvertAll(TConversion Conversion, const std::string& Input) {
  TStreamOf in(Input);
  TMemoryStream out;
  Conversion(in, out);
  EXPECT_EQ(in.Position(), static_cast<std::int64_t>(Input.size())) << "input not read to its end";
  return Bytes(out);
}

// Reads the stream into components, placeholders and the classes above, and writes them back.
std::string ReadAndWrite(const std::string& Binary) {
  TStreamOf in(Binary);
  TMemoryStream out;
  std::unique_ptr<TComponent> root;
  {
    TReader reader(in);
    root.reset(reader.ReadRootComponent(nullptr));
  }
  ExpectRegisteredClassesKnown(root.get());
  EXPECT_EQ(in.Position(), static_cast<std::int64_t>(Binary.size()));
  TWriter writer(out);
  writer.WriteRootComponent(root.get());
  return Bytes(out);
}

// Forms that later hosts wrote: binary ones with UTF-8 strings, text ones with #n codes for the
// bytes 128 to 255. The class library reads both into ANSI strings, which it writes as the hosts
// of the era did: as vaString, and in the text inside quotes.
bool WrittenByALaterHost(const std::string& Name) {
  for (const char* later : {"U_PrintTables", "HMIS_AboutBox", "U_JPGClock2", "U_Oscilloscope4", "StrDemo_StrForm"})
    if (Name.find(later) != std::string::npos) return true;
  return false;
}

// Text with each run of codes for the bytes 128 to 255 written inside quotes instead.
std::string WithAnsiCodesQuoted(const std::string& Text) {
  static const std::regex run("('?)((?:#(?:1[3-9][0-9]|12[89]|2[0-4][0-9]|25[0-5]))+)('?)"), number("#([0-9]+)");
  std::string out;
  auto from = Text.cbegin();
  for (std::sregex_iterator it(Text.begin(), Text.end(), run), end; it != end; ++it) {
    const std::smatch& m = *it;
    out.append(from, m[0].first);
    out += m[1].length() ? "" : "'";
    for (std::sregex_iterator code(m[2].first, m[2].second, number); code != end; ++code)
      out += static_cast<char>(std::stoi((*code)[1]));
    out += m[3].length() ? "" : "'";
    from = m[0].second;
  }
  out.append(from, Text.cend());
  return out;
}

std::string WithoutCR(std::string S) {
  S.erase(std::remove(S.begin(), S.end(), '\r'), S.end());
  if (!S.empty() && S.back() != '\n') S += '\n';  // some files end without one
  return S;
}

class RealForm : public ::testing::TestWithParam<std::string> {
protected:
  std::string Original() const { return ReadFile(FormsFolder() + "/" + GetParam()); }
};

TEST_P(RealForm, ConvertsBothWaysAndReadsBackUnchanged) {
  const std::string original = Original();
  TStreamOf probe(original);
  if (TestStreamFormat(probe) == TStreamOriginalFormat::sofBinary) {
    const std::string text = ConvertAll(ObjectResourceToText, original);
    const std::string back = ConvertAll(ObjectTextToResource, text);
    if (WrittenByALaterHost(GetParam())) {
      EXPECT_NE(back, original);
      EXPECT_EQ(ConvertAll(ObjectResourceToText, back), text);
      EXPECT_EQ(ReadAndWrite(back), back);
    } else {
      EXPECT_EQ(back, original);
    }
    EXPECT_EQ(ReadAndWrite(original), original);
    const std::string binary = original.substr(original.find("TPF0"));  // without the header
    EXPECT_EQ(ConvertAll(ObjectBinaryToText, binary), text);
    EXPECT_EQ(ConvertAll(ObjectTextToBinary, text), back.substr(back.find("TPF0")));
    EXPECT_EQ(ReadAndWrite(binary), binary);
  } else {
    ASSERT_EQ(TestStreamFormat(probe), TStreamOriginalFormat::sofText);
    const std::string binary = ConvertAll(ObjectTextToBinary, original);
    const std::string text = ConvertAll(ObjectBinaryToText, binary);
    EXPECT_EQ(ConvertAll(ObjectTextToBinary, text), binary);
    EXPECT_EQ(ReadAndWrite(binary), binary);
    if (GetParam().ends_with(".dfm")) {
      const std::string expected = WrittenByALaterHost(GetParam()) ? WithAnsiCodesQuoted(original) : original;
      EXPECT_NE(WrittenByALaterHost(GetParam()), expected == original);
      EXPECT_EQ(WithoutCR(text), WithoutCR(expected));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Forms, RealForm, ::testing::ValuesIn(testing_support::FormFileNames(FormsFolder())),
                         [](const auto& Info) { return testing_support::AsTestName(Info.param); });

}  // namespace
