// The design layer's form file: real forms in each format written back byte for byte, the
// resource header and line ends kept, what is no form refused naming the file, a failed write
// that leaves the file as it was, and the host's tool services given back.
#include "design/FormFile.hpp"

#include <cctype>
#include <filesystem>

#include "test_support.hpp"

using design::TFormFile;
using testing_support::ReadFile;
using testing_support::ScratchDir;
using testing_support::WriteFile;

namespace {

namespace fs = std::filesystem;

std::string RealForm(const std::string& Name) { return ReadFile(std::string(LUMETRA_TEST_DATA) + "/forms/" + Name); }

std::string Replaced(std::string S, const std::string& From, const std::string& To) {
  for (std::size_t at = 0; (at = S.find(From, at)) != std::string::npos; at += To.size()) S.replace(at, From.size(), To);
  return S;
}

// The resource header made one that the class library would not write: a resource name in lower
// case and other memory flags, so that only keeping it as read gives it back.
std::string WithOwnHeader(std::string Resource) {
  for (std::size_t i = 3; Resource[i]; ++i) Resource[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(Resource[i])));
  Resource[Resource.find('\0', 3) + 1] = 0x10;  // flags $1010
  return Resource;
}

struct HostOfTest : design::TIToolServices {
  std::string GetProjectName() override { return "the IDE's project"; }
};

TEST(FormFile, EachFormatIsWrittenBackByteForByte) {
  const std::string crlf = RealForm("HeidiSQL__HeidiSQL__source_printlist.dfm");
  const std::string lf = RealForm("MarcoDelphiBooks__MasteringDelphi7__08_FormIntf_MemoForm.dfm");
  const std::string resource = RealForm("MarcoDelphiBooks__MasteringDelphi7__08_Frames2_FramesForm.dfm");
  struct Case {
    const char* Name;
    std::string Bytes;
    bool Text;
  };
  const Case cases[] = {
      {"text, CR LF", crlf, true},
      {"text, LF", lf, true},
      {"text, lone CR", Replaced(lf, "\n", "\r"), true},
      {"text, larger, LF", RealForm("SynchronetBBS__sbbs__src_sbbs3_ctrl_PropertiesDlgUnit.dfm"), true},
      {"binary with a resource header", resource, false},
      {"binary with its own resource header", WithOwnHeader(resource), false},
      // UTF-8 strings, which a detour through the text form would turn into ANSI ones.
      {"binary of a later host", RealForm("DELMadang__DelphiForFUN__01._Puzzle_Projects_Advanced_Logic_Problem_Solver_Source_U_PrintTables.dfm"),
       false},
      {"binary without a header", resource.substr(resource.find("TPF0")), false},
      // Text the converter would write otherwise: long strings on one line, "[1]" without a
      // blank, lists closed on a line of their own; codes for bytes beyond ASCII; a byte order mark.
      {"text of another writer, CR LF", RealForm("doublecmd__doublecmd__src_frames_foptionstreeviewmenucolor.lfm"), true},
      {"text with codes beyond ASCII",
       RealForm("DELMadang__DelphiForFUN__01._Puzzle_Projects_Advanced_Oscilloscope_Source_U_Oscilloscope4.dfm"), true},
      {"text with a byte order mark", "\xEF\xBB\xBF" + lf, true},
  };
  ScratchDir dir;
  const std::string file = dir.File("Form.dfm");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    WriteFile(file, c.Bytes);
    TFormFile form(file);
    EXPECT_EQ(form.IsText(), c.Text);
    EXPECT_TRUE(form.Root()->ComponentState() & vcl::csDesigning);
    form.Save();
    EXPECT_EQ(ReadFile(file), c.Bytes);
  }
}

TEST(FormFile, WhatIsNoFormIsRefusedNamingTheFile) {
  ScratchDir dir;
  const std::string file = dir.File("Form.dfm"), folder = dir.File("folder"), big = dir.File("big.dfm");
  fs::create_directory(folder);
  WriteFile(big, "");
  fs::resize_file(big, design::MaxFormFileSize + 1);
  const std::string utf16 = "\xFF\xFE" + std::string("o\0b\0j\0", 6);
  const std::string binary = RealForm("MarcoDelphiBooks__MasteringDelphi7__08_Frames2_FramesForm.dfm");
  struct Case {
    std::string Name;
    std::string Bytes;  // written to Name when not empty
    std::string Message;
  };
  const Case cases[] = {
      {folder, "", folder + ": is a folder, not a file"},
      {dir.File("missing.dfm"), "", dir.File("missing.dfm") + ": no such file"},
      {big, "", big + ": is 67108865 bytes, more than the 64 MiB that Lumetra reads"},
      {file, utf16,
       file + ": a text form in UTF-16 at offset 0: save it in the ANSI code page or in UTF-8, which forms are read in"},
      {file, "TPF", file + ": neither a binary form (\"TPF0\") nor a text form (\"object ...\") at offset 0"},
  };
  HostOfTest host;
  design::ToolServices = &host;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Message);
    if (!c.Bytes.empty()) WriteFile(c.Name, c.Bytes);
    EXPECT_THROW_MSG(TFormFile form(c.Name), vcl::Exception, c.Message);
    EXPECT_EQ(design::ToolServices, &host);
  }
  // A form cut short: the reader's offset after the file name.
  WriteFile(file, binary.substr(0, binary.size() - 10));
  try {
    TFormFile form(file);
    ADD_FAILURE() << "read " << file;
  } catch (const vcl::Exception& e) {
    EXPECT_EQ(e.Message().rfind(file + ": ", 0), 0u) << e.Message();
    EXPECT_NE(e.Message().find("offset"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(design::ToolServices, &host);
  design::ToolServices = nullptr;
}

TEST(FormFile, ItsKindIsToldByTheFirstBytesAlone) {
  using design::TFormKind;
  const struct {
    const char* Name;
    std::string Bytes;
    TFormKind Kind;
  } cases[] = {
      {"binary", "TPF0\x07TForm1", TFormKind::fkBinary},
      {"binary with a resource header", "\xFF\x0A\x00TFORM1", TFormKind::fkBinary},
      {"text", "object Form1: TForm1\n", TFormKind::fkText},
      {"text of an inherited form", "inherited Form2: TForm2\n", TFormKind::fkText},
      {"text after blanks", "\r\n  object", TFormKind::fkText},
      {"text in UTF-8 with a byte order mark", "\xEF\xBB\xBFobject", TFormKind::fkText},
      {"UTF-16 LE with a byte order mark", "\xFF\xFEo\0", TFormKind::fkUtf16Text},
      {"UTF-16 BE with a byte order mark", "\xFE\xFF\0o", TFormKind::fkUtf16Text},
      {"UTF-16 LE without one", std::string("o\0b\0", 4), TFormKind::fkUtf16Text},
      {"UTF-16 BE without one", std::string("\0o\0b", 4), TFormKind::fkUtf16Text},
      {"empty", "", TFormKind::fkNone},
      {"a signature cut short", "TPF", TFormKind::fkNone},
      {"a list of entries", "TOpenDialog.Caption='x'\n", TFormKind::fkNone},
      {"a translation text file", "#0Form1.TOpenDialog.Caption%1031='x'\r\n", TFormKind::fkNone},
  };
  for (const auto& c : cases) EXPECT_EQ(design::FormKindOf(c.Bytes), c.Kind) << c.Name;
}

TEST(FormFile, IsReadOnceAfterTheCheckAndTheLock) {
  ScratchDir dir;
  const std::string file = dir.File("Form.dfm"), folder = dir.File("folder");
  fs::create_directory(folder);
  const std::string text = RealForm("MarcoDelphiBooks__MasteringDelphi7__08_FormIntf_MemoForm.dfm");
  WriteFile(file, text);
  // Told before it is read, once, with its lock held.
  int told = 0;
  bool locked = false;
  {
    TFormFile form(file, true, [&] {
      ++told;
      locked = fs::exists(dir.File(".Form.dfm.lmt-lock"));
    });
    EXPECT_TRUE(form.IsText());
  }
  EXPECT_EQ(told, 1);
  EXPECT_TRUE(locked);
  // A file that is refused is not told of.
  EXPECT_THROW(TFormFile(folder, false, [&] { ++told; }), vcl::EFOpenError);
  EXPECT_EQ(told, 1);
  // Read as something larger may be (a list), then made a form: the form's own limit holds.
  const design::TReadFile read = design::ReadInput(file, design::MaxFormFileSize);
  EXPECT_EQ(read.Kind, design::TFormKind::fkText);
  EXPECT_EQ(read.Bytes, text);
  EXPECT_EQ(TFormFile(read).Root()->ComponentCount(), TFormFile(file).Root()->ComponentCount());
  design::TReadFile large{file, std::string(design::MaxFormFileSize + 1, ' '), design::TFormKind::fkText};
  EXPECT_THROW_MSG(TFormFile{std::move(large)}, vcl::EFOpenError, file + ": is 67108865 bytes, more than the 64 MiB that Lumetra reads");
}

TEST(FormFile, IsTheToolServicesWhileItLives) {
  ScratchDir dir;
  const std::string file = dir.File("Form.dfm");
  WriteFile(file, RealForm("MarcoDelphiBooks__MasteringDelphi7__08_FormIntf_MemoForm.dfm"));
  HostOfTest host;
  for (design::TIToolServices* before : {static_cast<design::TIToolServices*>(nullptr), static_cast<design::TIToolServices*>(&host)}) {
    design::ToolServices = before;
    {
      TFormFile form(file);
      EXPECT_EQ(design::ToolServices, &form);
      EXPECT_EQ(design::ToolServices->GetProjectName(), file);
    }
    EXPECT_EQ(design::ToolServices, before);
  }
  design::ToolServices = nullptr;
}

TEST(FormFile, AFailedWriteLeavesTheFileAsItWas) {
  ScratchDir dir;
  const std::string file = dir.File("Form.dfm"), other = dir.File("Other.dfm");
  const std::string text = RealForm("MarcoDelphiBooks__MasteringDelphi7__08_FormIntf_MemoForm.dfm");
  WriteFile(file, text);
  TFormFile form(file);
  form.Root()->Components(0)->SetName("Renamed");
  // A second name for the file: replacing it would part the two, which the writer refuses.
  std::error_code ec;
  fs::create_hard_link(file, other, ec);
  if (ec) GTEST_SKIP() << "no hard links here: " << ec.message();
  EXPECT_THROW(form.Save(), vcl::EFCreateError);
  EXPECT_EQ(ReadFile(file), text);
  EXPECT_EQ(ReadFile(other), text);
}

}  // namespace
