// The design host with a package loaded: opening a form, the inspector and verbs from the
// package's registrations, dropping, saving in the form's format, closing; and loading and
// unloading the package again and again with a dialog translated in between; a real form
// translated through the package's editor, its About box, saved and reopened; and the faults
// the package's check finds in a form. With
// LUMETRA_HOLD set (by run-demo) that scenario holds each window up for ./run-demo's screenshots.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "designer_window.hpp"
#include "form_document.hpp"
#include "input.hpp"
#include "package_module.hpp"
#include "run.hpp"
#include "screenshot_hold.hpp"
#include "test_support.hpp"
#include "vcl/Dialogs.hpp"
#include "vcl/Forms.hpp"

namespace {

using designer::CloseAnswer;
using designer::FormDocument;
using designer::PackageModule;

const char* const TextForm =
    "object Form1: TForm1\n"
    "  object OpenDialog1: TOpenDialog\n"
    "    Options = [ofNoChangeDir]\n"
    "  end\n"
    "  object Lumetra1: TLumetra\n"
    "    Translations.Strings = (\n"
    "      'TOpenDialog.Caption='#39#214'ppna fil'#39)\n"
    "  end\n"
    "end\n";

const std::string Translated = "\xD6ppna fil";

std::string Binary(const std::string& Text) {
  vcl::TMemoryStream in, out;
  in.WriteBuffer(Text.data(), static_cast<std::int64_t>(Text.size()));
  in.SetPosition(0);
  vcl::ObjectTextToBinary(in, out);
  return std::string(out.Bytes().begin(), out.Bytes().end());
}

// The title of Dialog as it is shown.
std::string ShownTitle(vcl::TCommonDialog* Dialog) {
  std::string title;
  vcl::ShowDialogOnce(*Dialog, [&](HWND Shown) {
    char text[256] = "";
    GetWindowTextA(Shown, text, sizeof text);
    title = text;
  });
  return title;
}

class Designer : public ::testing::Test {
protected:
  Designer() {
    FForm = (FDir.Path() / "Form1.dfm").string();
    vcl::ReplaceFile(FForm, TextForm);
  }
  testing_support::ScratchDir FDir;
  std::string FForm;
};

TEST_F(Designer, LoadingAPackageThatIsNoneFailsNamingIt) {
  const std::string missing = (FDir.Path() / "Missing.bpl").string();
  try {
    PackageModule m(missing);
    ADD_FAILURE() << "loaded " << missing;
  } catch (const vcl::Exception& e) {
    EXPECT_EQ(e.Message().rfind(missing + ": cannot load the package", 0), 0u) << e.Message();
  }
}

TEST_F(Designer, OpensTheFormWithThePackagesComponents) {
  PackageModule package(LUMETRA_VEKD4);
  FormDocument form(FForm);
  std::vector<std::string> names;
  for (vcl::TComponent* c : form.Components()) names.push_back(c->Name() + ": " + c->ClassName());
  EXPECT_EQ(names, (std::vector<std::string>{"OpenDialog1: TOpenDialog", "Lumetra1: TLumetra"}));
  EXPECT_TRUE(form.IsText());
  EXPECT_FALSE(form.IsModified());
  EXPECT_EQ(form.Title(), "lumetra-designer - " + FForm);
  EXPECT_THROW_MSG(form.Component("Lumetra9"), vcl::Exception, FForm + ": the form has no component Lumetra9");
}

TEST_F(Designer, NotAFormIsRefusedNamingTheFile) {
  vcl::ReplaceFile(FForm, "hello");
  PackageModule package(LUMETRA_VEKD4);
  try {
    FormDocument form(FForm);
    ADD_FAILURE() << "read " << FForm;
  } catch (const vcl::Exception& e) {
    EXPECT_EQ(e.Message().rfind(FForm + ": ", 0), 0u) << e.Message();
  }
}

TEST_F(Designer, RefusesWhatTheCommandLineRefusesNamingTheFile) {
  const std::string folder = FDir.File("folder"), big = FDir.File("big.dfm");
  std::filesystem::create_directory(folder);
  testing_support::WriteFile(big, "");
  std::filesystem::resize_file(big, design::MaxFormFileSize + 1);
  testing_support::WriteFile(FForm, "\xFF\xFE" + std::string("o\0b\0j\0", 6));
  struct Case {
    std::string Name;
    std::string Message;
  };
  const Case cases[] = {
      {folder, folder + ": is a folder, not a file"},
      {big, big + ": is 67108865 bytes, more than the 64 MiB that Lumetra reads"},
      {FForm, FForm + ": a text form in UTF-16 at offset 0: save it in the ANSI code page or in UTF-8, which forms are read in"},
  };
  PackageModule package(LUMETRA_VEKD4);
  for (const Case& c : cases) EXPECT_THROW_MSG(FormDocument form(c.Name), vcl::Exception, c.Message);
}

TEST_F(Designer, ItsErrorLineShowsTheFormsBytesEscaped) {
  // A binary form may name a component anything; two of one name stop the reader, which names it.
  std::string bytes = Binary("object Form1: TForm1\n  object Lzzzzz1: TLumetra\n  end\n  object Lzzzzz1: TLumetra\n  end\nend\n");
  for (std::size_t at; (at = bytes.find("Lzzzzz1")) != std::string::npos;) bytes.replace(at, 7, "L\x1b[31m1");
  vcl::ReplaceFile(FForm, bytes);
  const std::string errors = FDir.File("errors.txt");
  std::FILE* f = std::fopen(errors.c_str(), "wb");
  EXPECT_EQ(designer::Run({LUMETRA_VEKD4, FForm}, f), 1);
  std::fclose(f);
  EXPECT_EQ(testing_support::ReadFile(errors),
            "lumetra-designer: " + FForm + ": A component named L#27[31m1 already exists in Form1 at offset 37\n");
  f = std::fopen(errors.c_str(), "wb");
  EXPECT_EQ(designer::Run({}, f), 2);
  std::fclose(f);
  EXPECT_EQ(testing_support::ReadFile(errors), "usage: lumetra-designer PACKAGE [FORM [COMPONENT]]\n");
}

TEST_F(Designer, SavingKeepsTheResourceHeaderAsItWasRead) {
  vcl::TMemoryStream in, out;
  in.WriteBuffer(TextForm, static_cast<std::int64_t>(std::strlen(TextForm)));
  in.SetPosition(0);
  vcl::ObjectTextToResource(in, out);
  std::string resource(out.Bytes().begin(), out.Bytes().end());
  resource.replace(3, 6, "tform1");  // a resource name that the class library writes as "TFORM1"
  vcl::ReplaceFile(FForm, resource);
  PackageModule package(LUMETRA_VEKD4);
  {
    FormDocument form(FForm);
    form.Drop(vcl::GetClass("TLumetra"));
    form.Save();
  }
  const std::string saved = vcl::ReadFileBytes(FForm);
  EXPECT_EQ(saved.substr(0, 12), resource.substr(0, 12));  // FF 0A 00, the name, the flags
  EXPECT_EQ(FormDocument(FForm).Components().size(), 3u);
}

TEST_F(Designer, DroppingModifiesAndSavingKeepsTheFormat) {
  struct Case {
    const char* Name;
    bool Text;
  };
  for (const Case& c : {Case{"text", true}, Case{"binary", false}}) {
    SCOPED_TRACE(c.Name);
    vcl::ReplaceFile(FForm, c.Text ? std::string(TextForm) : Binary(TextForm));
    PackageModule package(LUMETRA_VEKD4);
    {
      FormDocument form(FForm);
      vcl::TComponent* dropped = form.Drop(vcl::GetClass("TLumetra"));
      EXPECT_EQ(dropped->Name(), "Lumetra2");
      EXPECT_TRUE(form.IsModified());
      EXPECT_EQ(form.Title(), "lumetra-designer - " + FForm + " *");
      form.Save();
      EXPECT_FALSE(form.IsModified());
    }
    const std::string saved = vcl::ReadFileBytes(FForm);
    EXPECT_EQ(saved.substr(0, c.Text ? 6 : 4), c.Text ? "object" : "TPF0");
    FormDocument again(FForm);
    EXPECT_EQ(again.Components().size(), 3u);
    EXPECT_EQ(again.Component("Lumetra2")->ClassName(), "TLumetra");
  }
}

TEST_F(Designer, SavingRefusesAHostileEntryAndAFormLargerThanIsReadBackChangingNoFile) {
  PackageModule package(LUMETRA_VEKD4);
  const std::string keys = (FDir.Path() / "keys.txt").string();
  const std::string mine = "#0Form1.TOpenDialog.Caption[1090]%1036='Mine'\r\n";
  vcl::ReplaceFile(keys, mine);
  const std::string hostile = testing_support::HostileForm(keys);
  vcl::ReplaceFile(FForm, hostile);
  {
    FormDocument form(FForm);
    form.Modified();
    EXPECT_THROW_MSG(form.Save(), vcl::EWriteError,
                     keys + ": entry \"TOpenDialog.Caption[1091]\" holds a raw line feed (#10), which no line of the file may hold (entries "
                            "spell it #10 in literal form); nothing is written");
    EXPECT_TRUE(form.IsModified());
  }
  EXPECT_EQ(vcl::ReadFileBytes(keys), mine);
  EXPECT_EQ(vcl::ReadFileBytes(FForm), hostile);

  vcl::ReplaceFile(FForm, TextForm);
  FormDocument form(FForm);
  vcl::TComponent* translator = form.Component("Lumetra1");
  for (const vcl::TPropInfo* p : translator->ClassType()->Properties())
    if (p->Name() == "Translations") p->GetStrings(translator)->Add("TOpenDialog.Caption=" + std::string(design::MaxFormFileSize, 'x'));
  try {
    form.Save();
    FAIL() << "saved";
  } catch (const vcl::EFCreateError& e) {
    EXPECT_TRUE(e.Message().starts_with(FForm + ": would be ")) << e.Message();
    EXPECT_TRUE(e.Message().ends_with(" bytes, more than the 64 MiB that Lumetra reads; nothing is written")) << e.Message();
  }
  EXPECT_EQ(vcl::ReadFileBytes(FForm), TextForm);
}

TEST_F(Designer, ClosingAModifiedFormAsksAndCancelKeepsIt) {
  PackageModule package(LUMETRA_VEKD4);
  FormDocument form(FForm);
  int asked = 0;
  auto answer = [&](CloseAnswer A) {
    return [&asked, A](const std::string&) {
      ++asked;
      return A;
    };
  };
  EXPECT_TRUE(form.CanClose(answer(CloseAnswer::Cancel)));
  EXPECT_EQ(asked, 0) << "an unmodified form closes without a question";
  form.Drop(vcl::GetClass("TLumetra"));
  EXPECT_FALSE(form.CanClose(answer(CloseAnswer::Cancel)));
  EXPECT_TRUE(form.IsModified());
  EXPECT_TRUE(form.CanClose(answer(CloseAnswer::Discard)));
  EXPECT_EQ(vcl::ReadFileBytes(FForm), TextForm) << "discarded: the file is as it was";
  EXPECT_TRUE(form.CanClose(answer(CloseAnswer::Save)));
  EXPECT_NE(vcl::ReadFileBytes(FForm).find("Lumetra2"), std::string::npos);
  EXPECT_EQ(asked, 3);
}

TEST_F(Designer, InspectorShowsTheRegisteredEditorsAndTheirAttributes) {
  PackageModule package(LUMETRA_VEKD4);
  ASSERT_TRUE(package.Registered());
  FormDocument form(FForm);
  vcl::TComponent* lumetra = form.Component("Lumetra1");
  std::vector<designer::InspectorRow> rows = form.Inspect(lumetra);
  auto row = [&](const std::string& Name) {
    auto it = std::find_if(rows.begin(), rows.end(), [&](const designer::InspectorRow& r) { return r.Name == Name; });
    return it == rows.end() ? designer::InspectorRow{"(missing) " + Name, "", false, false} : *it;
  };
  EXPECT_EQ(row("Translations").Value, "(Dialog Editor)");
  EXPECT_TRUE(row("Translations").ReadOnly && row("Translations").Dialog);
  EXPECT_EQ(row("About").Value, "(About...)");
  EXPECT_TRUE(row("About").ReadOnly && row("About").Dialog);
  EXPECT_FALSE(row("FileName").ReadOnly);
  EXPECT_TRUE(row("FileName").Dialog);
  form.SetValue(lumetra, "FileName", "Form1.txt");
  EXPECT_EQ(row("FileName").Value, "");  // the rows read before
  EXPECT_EQ(form.Inspect(lumetra).size(), rows.size());
  EXPECT_TRUE(form.IsModified());
  EXPECT_THROW(form.SetValue(lumetra, "Translations", "x"), vcl::Exception);
  EXPECT_EQ(form.Verbs(lumetra).size(), 3u);
  EXPECT_TRUE(form.Verbs(form.Component("OpenDialog1")).empty()) << "no editor registered for dialogs";
}

std::vector<std::string> Items(vcl::TListBox* List) {
  std::vector<std::string> v;
  for (int i = 0; i < List->Items()->Count(); ++i) v.push_back(List->Items()->Strings(i));
  return v;
}

TEST_F(Designer, WindowShowsTheFormsComponentsAndTheInspector) {
  designer::DesignerWindow window(LUMETRA_VEKD4, FForm);
  EXPECT_EQ(window.Form()->Caption(), "lumetra-designer - " + FForm);
  EXPECT_EQ(Items(window.ListComponents), (std::vector<std::string>{"OpenDialog1: TOpenDialog", "Lumetra1: TLumetra"}));
  EXPECT_EQ(Items(window.ListInspector),
            (std::vector<std::string>{"Ctl3D = True", "HelpContext = 0", "DefaultExt = ", "FileName = ", "Filter = ",
                                      "FilterIndex = 1", "InitialDir = ", "Options = [ofNoChangeDir]", "OptionsEx = []",
                                      "Title = "}))
      << "the open dialog's published properties";
  window.Select("Lumetra1");
  EXPECT_EQ(window.ListComponents->ItemIndex(), 1);
  EXPECT_THROW_MSG(window.Select("Nothing1"), vcl::Exception, FForm + ": the form has no component Nothing1");
  window.ListComponents->SetItemIndex(1);
  window.ComponentSelected();
  const std::vector<std::string> rows = Items(window.ListInspector);
  EXPECT_NE(std::find(rows.begin(), rows.end(), "Locale = 0"), rows.end()) << ::testing::PrintToString(rows);
  // Typing a value into the inspector marks the form modified, in the title too.
  const auto locale = std::find(rows.begin(), rows.end(), "Locale = 0") - rows.begin();
  window.ListInspector->SetItemIndex(static_cast<int>(locale));
  window.PropertySelected();
  EXPECT_TRUE(window.EdtValue->Enabled());
  window.EdtValue->SetText("1053");
  window.ValueEntered();
  EXPECT_EQ(window.ListInspector->Items()->Strings(static_cast<int>(locale)), "Locale = 1053");
  EXPECT_EQ(window.Form()->Caption(), "lumetra-designer - " + FForm + " *");
  ASSERT_TRUE(window.Package()->Registered());
  EXPECT_EQ(window.LblPage->Caption(), "Palette: Brevane");
  EXPECT_EQ(Items(window.ListPalette), std::vector<std::string>{"TLumetra  [glyph]"});
  EXPECT_EQ(window.BtnGlyph->Caption(), "TLumetra");
  EXPECT_EQ(Items(window.ListVerbs).size(), 3u);
  window.DropClicked();
  EXPECT_EQ(Items(window.ListComponents).back(), "Lumetra2: TLumetra");
}

// The editor the package opens is the active window while it is up.
vcl::TCustomForm* ActiveForm() { return dynamic_cast<vcl::TCustomForm*>(vcl::TControl::FromHandle(GetActiveWindow())); }

// The dialog components' properties shown and typed in the inspector, saved with the form and
// read back: sets, colours and character sets by their identifiers, numbers, texts.
TEST_F(Designer, TheInspectorEditsTheDialogsPropertiesWhichTheFormKeeps) {
  vcl::ReplaceFile(FForm, "object Form1: TForm1\n  object FontDialog1: TFontDialog\n  end\n"
                          "  object ColorDialog1: TColorDialog\n  end\n  object PrintDialog1: TPrintDialog\n  end\nend\n");
  const struct {
    const char* Component;
    const char* Property;
    const char* Shown;
    const char* Typed;
    const char* ShownAfter;
  } cases[] = {
      {"FontDialog1", "Font.Name", "Tahoma", "Arial", "Arial"},
      {"FontDialog1", "Font.Charset", "DEFAULT_CHARSET", "EASTEUROPE_CHARSET", "EASTEUROPE_CHARSET"},
      {"FontDialog1", "Options", "[fdEffects]", "[fdEffects, fdLimitSize]", "[fdEffects,fdLimitSize]"},
      {"FontDialog1", "MaxFontSize", "0", "24", "24"},
      {"ColorDialog1", "Color", "clBlack", "clRed", "clRed"},
      {"PrintDialog1", "PrintRange", "prAllPages", "prPageNums", "prPageNums"},
      {"PrintDialog1", "Collate", "False", "True", "True"},
  };
  PackageModule package(LUMETRA_VEKD4);
  {
    FormDocument form(FForm);
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.Component) + "." + c.Property);
      vcl::TComponent* dialog = form.Component(c.Component);
      auto value = [&] {
        for (const designer::InspectorRow& r : form.Inspect(dialog))
          if (r.Name == c.Property) return r.Value;
        return std::string("(missing)");
      };
      EXPECT_EQ(value(), c.Shown);
      form.SetValue(dialog, c.Property, c.Typed);
      EXPECT_EQ(value(), c.ShownAfter);
    }
    EXPECT_THROW_MSG(form.SetValue(form.Component("ColorDialog1"), "Options", "[cdNoSuch]"), vcl::EConvertError,
                     "'cdNoSuch' is not an element of property Options");
    form.Save();
  }
  EXPECT_EQ(vcl::ReadFileBytes(FForm),
            "object Form1: TForm1\n  object FontDialog1: TFontDialog\n    Font.Charset = EASTEUROPE_CHARSET\n"
            "    Font.Name = 'Arial'\n    MaxFontSize = 24\n    Options = [fdEffects, fdLimitSize]\n  end\n"
            "  object ColorDialog1: TColorDialog\n    Color = clRed\n  end\n"
            "  object PrintDialog1: TPrintDialog\n    Collate = True\n    PrintRange = prPageNums\n  end\nend\n");
  FormDocument again(FForm);
  EXPECT_EQ(static_cast<vcl::TColorDialog*>(again.Component("ColorDialog1"))->Color(), 0x0000FF);
  EXPECT_EQ(static_cast<vcl::TFontDialog*>(again.Component("FontDialog1"))->Font()->Charset(), 238);
}

TEST_F(Designer, TranslationsTypedInThePackagesEditorAreSavedWithTheForm) {
  {
    designer::DesignerWindow window(LUMETRA_VEKD4, FForm);
    window.Select("Lumetra1");
    const std::vector<std::string> rows = Items(window.ListInspector);
    const auto at = std::find(rows.begin(), rows.end(), "Translations = (Dialog Editor)  (read-only)");
    ASSERT_NE(at, rows.end()) << ::testing::PrintToString(rows);
    window.ListInspector->SetItemIndex(static_cast<int>(at - rows.begin()));
    window.PropertySelected();
    ASSERT_TRUE(window.BtnDialog->Enabled());
    ui_test::RunScript([&] { window.DialogButtonClicked(); },
                       {[] { ActiveForm()->Field<vcl::TMemo>("EdtTranslation")->SetFocus(); },
                        [] { ActiveForm()->Field<vcl::TMemo>("EdtTranslation")->SetText("Avbryt"); },
                        [] { ui_test::Click(ActiveForm()->Field<vcl::TButton>("BtnOK")); }});
    EXPECT_TRUE(window.Document()->IsModified());
    EXPECT_EQ(window.Form()->Caption(), "lumetra-designer - " + FForm + " *");
    window.SaveClicked();
    EXPECT_EQ(window.Form()->Caption(), "lumetra-designer - " + FForm);
  }
  EXPECT_NE(vcl::ReadFileBytes(FForm).find("'Avbryt'"), std::string::npos) << vcl::ReadFileBytes(FForm);
}

// When ./run-demo --windows runs this program (LUMETRA_HOLD set), the windows up now stay up for
// its screenshot. Thread timer ticks are dropped meanwhile: they are the script's, whose next
// step must not run inside this one.
void Hold(const std::string& Name) {
  testing_support::HoldForScreenshot(Name, [] {
#ifdef _WIN32
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_TIMER && !msg.hwnd) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
#endif
  });
}

const std::string RealForm = std::string(LUMETRA_TEST_DATA) + "/forms/maerlyn__old-delphi-codes__Notepad_Unit1.dfm";

// In the editor up now: includes the captured property Key and types Text as its translation.
void Translate(const std::string& Key, const std::string& Text) {
  vcl::TCustomForm* editor = ActiveForm();
  ASSERT_NE(editor, nullptr);
  auto* avail = editor->Field<vcl::TListBox>("ListAvail");
  const int index = avail->Items()->IndexOf(Key);
  ASSERT_GE(index, 0) << Key << " was not captured: " << ::testing::PrintToString(Items(avail));
  avail->SetSelected(index, true);
  avail->Click();
  editor->Field<vcl::TButton>("BtnIncludeProp")->Click();
  auto* props = editor->Field<vcl::TListBox>("PropList");
  const int prop = props->Items()->IndexOf(Key);
  ASSERT_GE(prop, 0) << Key << " was not included: " << ::testing::PrintToString(Items(props));
  props->SetItemIndex(prop);
  props->SetSelected(prop, true);
  props->Click();
  auto* translation = editor->Field<vcl::TMemo>("EdtTranslation");
  translation->SetFocus();
  translation->SetText(Text);
  props->SetFocus();  // leaving the box stores what was typed
}

// The About box up now: four lines, the third empty; closed once its button is enabled.
std::vector<std::string> AboutLines() {
  vcl::TCustomForm* about = ActiveForm();
  for (int i = 0; about && i < about->ComponentCount(); ++i)
    if (auto* label = dynamic_cast<vcl::TLabel*>(about->Components(i))) {
      std::vector<std::string> lines;
      const std::string text = label->Caption();
      for (std::size_t at = 0;;) {
        const std::size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end - at));
        if (end == std::string::npos) break;
        at = end + 2;
      }
      return lines;
    }
  return {};
}

TEST_F(Designer, RealFormTranslatedThroughPropertyAndVerbSavedAndReopened) {
  const std::string form = (FDir.Path() / "notepad.dfm").string();
  vcl::ReplaceFile(form, vcl::ReadFileBytes(RealForm));
  {
    designer::DesignerWindow window(LUMETRA_VEKD4, form);
    window.DropClicked();
    window.Select("Lumetra1");
    window.Form()->Show();
    Hold("designer");
    const std::vector<std::string> rows = Items(window.ListInspector);
    const auto at = std::find(rows.begin(), rows.end(), "Translations = (Dialog Editor)  (read-only)");
    ASSERT_NE(at, rows.end()) << ::testing::PrintToString(rows);
    window.ListInspector->SetItemIndex(static_cast<int>(at - rows.begin()));
    window.PropertySelected();
    ui_test::RunScript([&] { window.DialogButtonClicked(); },
                       {[] { Translate("TOpenDialog.Caption", "Datei oeffnen"); },
                        [] { Hold("designer-translations-property"); },
                        [] { ui_test::Click(ActiveForm()->Field<vcl::TButton>("BtnOK")); }});
    EXPECT_EQ(window.Form()->Caption(), "lumetra-designer - " + form + " *");
    window.SaveClicked();
    window.ListVerbs->SetItemIndex(0);
    ui_test::RunScript([&] { window.VerbClicked(); },
                       {[] { Translate("TFindDialog.Caption", "Suchen"); },
                        [] { Hold("designer-translations-verb"); },
                        [] { ui_test::Click(ActiveForm()->Field<vcl::TButton>("BtnOK")); }});
    EXPECT_EQ(window.Form()->Caption(), "lumetra-designer - " + form + " *");
    window.SaveClicked();
    EXPECT_EQ(window.Form()->Caption(), "lumetra-designer - " + form);
    // The About box, the second verb; its button is enabled 1.5 seconds after it is shown.
    std::vector<std::string> about;
    std::vector<std::function<void()>> steps = {[&] { about = AboutLines(); }, [] { Hold("designer-about"); }};
    for (int i = 0; i < 20; ++i)
      steps.push_back([] {
        auto* ok = ActiveForm()->Field<vcl::TButton>("Button");
        if (ok->Enabled() && ActiveForm()->ModalResult() == vcl::mrNone) ui_test::Click(ok);
      });
    window.ListVerbs->SetItemIndex(1);
    ui_test::RunScript([&] { window.VerbClicked(); }, std::move(steps));
    EXPECT_EQ(about, (std::vector<std::string>{"Lumetra 2.1", "Copyright (C) Brevane", "", "Internet: www.brevane.com"}));
    EXPECT_EQ(window.Form()->Caption(), "lumetra-designer - " + form) << "the About box modifies nothing";
  }
  const std::string saved = vcl::ReadFileBytes(form);
  EXPECT_NE(saved.find("'Datei oeffnen'"), std::string::npos) << saved;
  EXPECT_NE(saved.find("'Suchen'"), std::string::npos) << saved;
  // Reopened, the editor shows both translations.
  designer::DesignerWindow window(LUMETRA_VEKD4, form);
  window.Select("Lumetra1");
  window.Form()->Show();
  const std::vector<std::string> rows = Items(window.ListInspector);
  const auto at = std::find(rows.begin(), rows.end(), "Translations = (Dialog Editor)  (read-only)");
  ASSERT_NE(at, rows.end()) << ::testing::PrintToString(rows);
  window.ListInspector->SetItemIndex(static_cast<int>(at - rows.begin()));
  window.PropertySelected();
  std::vector<std::string> props;
  std::string shown;
  ui_test::RunScript([&] { window.DialogButtonClicked(); },
                     {[&] {
                        auto* list = ActiveForm()->Field<vcl::TListBox>("PropList");
                        props = Items(list);
                        const int open = list->Items()->IndexOf("TOpenDialog.Caption");
                        if (open < 0) return;
                        list->SetItemIndex(open);
                        list->SetSelected(open, true);
                        list->Click();
                        shown = ActiveForm()->Field<vcl::TMemo>("EdtTranslation")->Text();
                      },
                      [] { Hold("designer-reopened"); },
                      [] { ui_test::Click(ActiveForm()->Field<vcl::TButton>("BtnCancel")); }});
  EXPECT_EQ(props, (std::vector<std::string>{"TFindDialog.Caption", "TOpenDialog.Caption"}));
  EXPECT_EQ(shown, "Datei oeffnen");
  EXPECT_FALSE(window.Document()->IsModified());
}

const char* const FaultyForm =
    "object Form1: TForm1\n"
    "  object OpenDialog1: TOpenDialog\n"
    "  end\n"
    "  object Lumetra1: TLumetra\n"
    "    Translations.Strings = (\n"
    "      'TOpenDialog.Caption='#39'Datei '#246'ffnen'#39\n"
    "      'TOpenDialog.Caption[1090]='#39'Bitte geben Sie den &Namen der Datei ein:'#39\n"
    "      'TOpenDialog.Left[1090]=$10')\n"
    "  end\n"
    "end\n";

// The faults of the package's check are listed under the form, follow every change made in the
// package's editor (opened by a double click on a fault, with its preview) and go with the package.
TEST_F(Designer, ChecksListTheTranslatorsFaultsAndFollowTheEditor) {
  vcl::ReplaceFile(FForm, FaultyForm);
  designer::DesignerWindow window(LUMETRA_VEKD4, FForm);
  window.Form()->Show();
  std::vector<std::string> faults = Items(window.ListChecks);
  ASSERT_EQ(faults.size(), 2u) << ::testing::PrintToString(faults);
  EXPECT_EQ(faults[0].rfind("Lumetra1: TOpenDialog.Caption[1090] (entry 2): error: ", 0), 0u) << faults[0];
  EXPECT_NE(faults[0].find("control 1090 (84 x 24) has room for 84 px"), std::string::npos) << faults[0];
  EXPECT_EQ(faults[1], "Lumetra1: TOpenDialog.Left[1090] (entry 3): error: value '$10' is not a decimal integer");
  EXPECT_EQ(window.LblChecks->Caption(), "Checks: 2 errors, 0 warnings (double-click one to open its editor)");
  EXPECT_EQ(window.EdtFault->Text(), faults[0]) << "the first fault in full";
  Hold("designer-checks");
  window.ListChecks->SetItemIndex(1);
  window.FaultSelected();
  EXPECT_EQ(window.EdtFault->Text(), faults[1]);

  // The first fault opens the translator's editor at its entry, with the preview showing the
  // fault; the label is shortened there.
  window.ListChecks->SetItemIndex(0);
  std::string current, previewBefore, previewAfter;
  const auto previewFaults = [] {
    auto* preview = dynamic_cast<vcl::TCustomForm*>(ActiveForm()->FindComponent("PreviewForm"));
    return preview ? preview->Field<vcl::TMemo>("Faults")->Text() : std::string("no preview");
  };
  ui_test::RunScript([&] { window.FaultClicked(); },
                     {[&] {
                        auto* props = ActiveForm()->Field<vcl::TListBox>("PropList");
                        current = props->ItemIndex() < 0 ? "" : props->Items()->Strings(props->ItemIndex());
                        previewBefore = previewFaults();
                      },
                      [] { Hold("designer-checks-editor"); },
                      [] {
                        auto* translation = ActiveForm()->Field<vcl::TMemo>("EdtTranslation");
                        translation->SetFocus();
                        translation->SetText("Datei&nam");  // Windows reports no change for text set in code
                      },
                      [] { ui_test::Key(VK_END); },
                      [] { ui_test::Key('E'); },  // a typed key redraws the preview
                      [&] { previewAfter = previewFaults(); },
                      [] { ui_test::Click(ActiveForm()->Field<vcl::TButton>("BtnOK")); }});
  EXPECT_EQ(current, "TOpenDialog.Caption[1090]");
  EXPECT_EQ(previewBefore.rfind("TOpenDialog.Caption[1090]: error: ", 0), 0u) << previewBefore;
  EXPECT_EQ(previewAfter, "TOpenDialog.Left[1090]: error: value '$10' is not a decimal integer") << "the fault typed away is gone";
  EXPECT_EQ(window.ListComponents->ItemIndex(), 1) << "the fault's component is selected";
  EXPECT_TRUE(window.Document()->IsModified());
  EXPECT_EQ(Items(window.ListChecks),
            std::vector<std::string>{"Lumetra1: TOpenDialog.Left[1090] (entry 3): error: value '$10' is not a decimal integer"});
  EXPECT_EQ(window.LblChecks->Caption(), "Checks: 1 error, 0 warnings (double-click one to open its editor)");

  // Without the package nothing judges the form; with it again, the same fault is back.
  ASSERT_TRUE(window.Package());
  window.SaveClicked();
  ASSERT_TRUE(window.UnloadPackage());
  EXPECT_TRUE(Items(window.ListChecks).empty());
  EXPECT_EQ(window.EdtFault->Text(), "");
  EXPECT_EQ(window.LblChecks->Caption(), "Checks");
  EXPECT_TRUE(design::ComponentCheckRegistrations().empty());
  window.ReloadPackage();
  EXPECT_EQ(Items(window.ListChecks).size(), 1u);
}

// A translator inside a frame (owned by a component on the form, as lumetra check finds it) is
// listed under the frame's name, judged, and selected from its fault; a dropped one still goes
// on the form itself.
TEST_F(Designer, ATranslatorInsideAFrameIsListedCheckedAndSelected) {
  vcl::ReplaceFile(FForm,
                   "object Form1: TForm1\n"
                   "  object OpenDialog1: TOpenDialog\n"
                   "  end\n"
                   "  inline Frame11: TFrame1\n"
                   "    object Lumetra1: TLumetra\n"
                   "      Translations.Strings = (\n"
                   "        'TOpenDialog.Left[1090]=$10')\n"
                   "    end\n"
                   "  end\n"
                   "end\n");
  designer::DesignerWindow window(LUMETRA_VEKD4, FForm);
  window.Form()->Show();
  const std::vector<std::string> listed = Items(window.ListComponents);
  ASSERT_EQ(listed.size(), 3u) << ::testing::PrintToString(listed);
  EXPECT_EQ(listed[0], "OpenDialog1: TOpenDialog");
  EXPECT_EQ(listed[1].rfind("Frame11: ", 0), 0u) << listed[1];
  EXPECT_EQ(listed[2], "Frame11.Lumetra1: TLumetra");
  EXPECT_EQ(Items(window.ListChecks),
            std::vector<std::string>{"Frame11.Lumetra1: TOpenDialog.Left[1090] (entry 1): error: value '$10' is not a decimal integer"});
  window.Select("Frame11.Lumetra1");
  EXPECT_EQ(window.ListComponents->ItemIndex(), 2);
  EXPECT_EQ(window.Document()->Component("Frame11.Lumetra1")->Owner()->Name(), "Frame11");
  EXPECT_THROW_MSG(window.Document()->Component("Lumetra1"), vcl::Exception, FForm + ": the form has no component Lumetra1");
  EXPECT_EQ(window.Document()->Drop(vcl::GetClass("TLumetra"))->Name(), "Lumetra1") << "the frame's names are its own";
}

TEST_F(Designer, WindowUnloadsAndReloadsThePackageWithTheForm) {
  designer::DesignerWindow window(LUMETRA_VEKD3, FForm);
  ASSERT_TRUE(window.UnloadPackage());
  EXPECT_EQ(window.Document(), nullptr);
  EXPECT_EQ(window.Package(), nullptr);
  EXPECT_EQ(vcl::GetClass("TLumetra"), nullptr);
  EXPECT_TRUE(Items(window.ListComponents).empty());
  window.ReloadPackage();
  ASSERT_NE(window.Document(), nullptr);
  EXPECT_EQ(Items(window.ListComponents).size(), 2u);
}

TEST_F(Designer, PackageLoadedAndUnloadedAHundredTimesLeavesNoHookBehind) {
  const vcl::TClass openDialog = vcl::TOpenDialog::StaticClass();
  const vcl::TCodePointer ownEntry = openDialog->Entry(vcl::TCommonDialog::MessageHookSlot());
  const vcl::TProcedure exitBefore = vcl::ExitProc;
  const char* const packages[] = {LUMETRA_VEKD4, LUMETRA_VEKD3, LUMETRA_VEKC3};
  for (int cycle = 0; cycle < 100; ++cycle) {
    SCOPED_TRACE("cycle " + std::to_string(cycle));
    {
      PackageModule package(packages[cycle % 3]);
      FormDocument form(FForm);
      auto* dialog = static_cast<vcl::TCommonDialog*>(form.Component("OpenDialog1"));
      ASSERT_EQ(ShownTitle(dialog), Translated);
    }
    ASSERT_EQ(openDialog->Entry(vcl::TCommonDialog::MessageHookSlot()), ownEntry);
    ASSERT_EQ(vcl::ExitProc, exitBefore);
    ASSERT_EQ(vcl::GetClass("TLumetra"), nullptr);
    ASSERT_TRUE(design::PaletteEntries().empty());
    ASSERT_TRUE(design::PropertyEditorRegistrations().empty());
    ASSERT_TRUE(design::ComponentEditorRegistrations().empty());
    ASSERT_TRUE(design::ComponentCheckRegistrations().empty());
  }
  // A dialog shown without the package is not translated.
  vcl::TOpenDialog plain(nullptr);
  plain.SetOptions(plain.Options() | vcl::ofNoChangeDir);
  EXPECT_NE(ShownTitle(&plain), Translated);
}

}  // namespace
