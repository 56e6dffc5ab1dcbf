// The dialog components' published properties: real forms read into them and written back byte
// for byte, new ones storing what differs from the defaults, and Execute taking them in and
// handing the dialog's answer back, on both window systems.
#include "vcl/Dialogs.hpp"

#include "dialog_support.hpp"
#include "test_support.hpp"

using namespace vcl;
using testing_support::EntryGuard;

namespace {

std::string Bytes(const TMemoryStream& Stream) { return std::string(Stream.Bytes().begin(), Stream.Bytes().end()); }

void Fill(TMemoryStream& Stream, std::string_view Data) {
  Stream.WriteBuffer(Data.data(), static_cast<std::int64_t>(Data.size()));
  Stream.SetPosition(0);
}

std::string Converted(void (*Conversion)(TStream&, TStream&), std::string_view Input) {
  TMemoryStream in, out;
  Fill(in, Input);
  Conversion(in, out);
  return Bytes(out);
}

// Reads a form as a design host does: into a root in design state.
std::unique_ptr<TComponent> Read(std::string_view Binary) {
  TMemoryStream in;
  Fill(in, Binary);
  auto root = std::make_unique<TUnknownComponent>(nullptr);
  root->SetDesigning(true);
  TReader reader(in);
  reader.ReadRootComponent(root.get());
  return root;
}

std::string Written(TComponent* Root) {
  TMemoryStream out;
  TWriter writer(out);
  writer.WriteRootComponent(Root);
  return Bytes(out);
}

// The binary form stream of a real form file, text or binary.
std::string FormStream(const std::string& File) {
  const std::string bytes = testing_support::ReadFile(std::string(LUMETRA_TEST_DATA) + "/forms/" + File);
  return static_cast<unsigned char>(bytes[0]) == 0xFF || bytes.starts_with("TPF0") ? bytes
                                                                                   : Converted(ObjectTextToBinary, bytes);
}

TComponent* Child(TComponent* Root, const std::string& Name) {
  TComponent* c = Root->FindComponent(Name);
  EXPECT_NE(c, nullptr) << Name;
  return c;
}

// The value of Component's published property as its editor would show it: texts as they
// stand, sets as "[a,b]", enumerations and integers with an identifier as the identifier;
// the lines of a list joined by "|".
std::string Value(TComponent* Component, const std::string& Property) {
  const TPropInfo* p = Component->ClassType()->FindProperty(Property);
  if (!p) return "<not published>";
  switch (p->Kind()) {
    case TPropKind::pkString: return p->GetStr(Component);
    case TPropKind::pkStrings: {
      std::string s;
      for (int i = 0; i < p->GetStrings(Component)->Count(); ++i) s += (i ? "|" : "") + p->GetStrings(Component)->Get(i);
      return s;
    }
    case TPropKind::pkBoolean: return p->GetOrd(Component) ? "True" : "False";
    case TPropKind::pkEnumeration: return p->Identifiers()[static_cast<std::size_t>(p->GetOrd(Component))];
    case TPropKind::pkSet: {
      std::string s = "[";
      for (std::size_t i = 0; i < p->Identifiers().size(); ++i)
        if (p->GetOrd(Component) >> i & 1) s += (s.size() > 1 ? "," : "") + p->Identifiers()[i];
      return s + "]";
    }
    case TPropKind::pkInteger: {
      std::string ident;
      return IntToIdent(p->GetOrd(Component), ident, p->IntegerIdents()) ? ident : IntToStr(p->GetOrd(Component));
    }
    case TPropKind::pkMethod: break;
  }
  return "<method>";
}

// The text form of a new component of class T on a form, after Change.
template <class T>
std::string TextOfNew(const std::function<void(T&)>& Change) {
  TComponent form(nullptr);
  form.SetName("Form1");
  auto* dialog = new T(&form);
  dialog->SetName("D");
  Change(*dialog);
  const std::string text = Converted(ObjectBinaryToText, Written(&form));
  const std::size_t from = text.find("  object D");
  return text.substr(from, text.rfind("  end") + 7 - from);
}

// While it lives, the control classes are not registered: the real forms' controls become
// placeholders that keep all they hold, so that a test of the dialogs sees only the dialogs.
class WithoutControlClasses {
public:
  WithoutControlClasses() {
    (void)Application->ExeName();  // which registers the classes of both layers
    for (const char* name : {"TLabel", "TButton", "TCheckBox", "TRadioButton", "TGroupBox", "TEdit", "TMemo", "TListBox",
                             "TBevel", "TPanel", "TRadioGroup", "TTabbedNotebook", "TTabPage"})
      if (const TClass c = GetClass(name)) {
        UnRegisterClass(c);
        FClasses.push_back(c);
      }
  }
  ~WithoutControlClasses() {
    for (TClass c : FClasses) RegisterClass(c);
  }

private:
  std::vector<TClass> FClasses;
};

}  // namespace

TEST(DialogProperties, RealFormsFillThemAndGetTheirBytesBack) {
  const WithoutControlClasses onlyDialogs;
  const struct {
    const char* File;
    const char* Component;
    std::vector<std::pair<const char*, const char*>> Values;
  } cases[] = {
      {"DELMadang__DelphiForFUN__01._Puzzle_Projects_Advanced_JPG_Clock_Source_U_JPGClock2.dfm", "OpenDialog1",
       {{"Filter", "Images (*,bmp, *.jpg)|*.bmp;*.jpg"},
        {"Options", "[ofHideReadOnly,ofPathMustExist,ofFileMustExist,ofEnableSizing]"}}},
      {"DELMadang__DelphiForFUN__01._Puzzle_Projects_Advanced_JPG_Clock_Source_U_JPGClock2.dfm", "SaveDialog1",
       {{"DefaultExt", "clk"}, {"Title", "Select or enter a Clock definition"}, {"Options", "[ofHideReadOnly,ofEnableSizing]"}}},
      {"SynchronetBBS__sbbs__src_sbbs3_ctrl_PropertiesDlgUnit.dfm", "OpenDialog",
       {{"Options", "[ofHideReadOnly,ofNoChangeDir,ofEnableSizing,ofDontAddToRecent]"}, {"FilterIndex", "1"}}},
      {"SynchronetBBS__sbbs__src_sbbs3_ctrl_PropertiesDlgUnit.dfm", "FontDialog1",
       {{"Font.Name", "Microsoft Sans Serif"}, {"Font.Height", "-13"}, {"Font.Charset", "DEFAULT_CHARSET"},
        {"Font.Color", "clWindowText"}, {"Font.Style", "[]"}, {"MinFontSize", "0"}, {"Options", "[fdEffects]"}}},
      {"SynchronetBBS__sbbs__src_sbbs3_ctrl_PropertiesDlgUnit.dfm", "ColorDialog1", {{"Ctl3D", "True"}, {"Color", "clBlack"}}},
      {"HeidiSQL__HeidiSQL__components_synedit_Source_SynEditOptionsDialog.dfm", "FontDialog",
       {{"Options", "[fdEffects,fdFixedPitchOnly]"}, {"Device", "fdScreen"}}},
      {"doublecmd__doublecmd__src_frames_foptionstreeviewmenucolor.lfm", "optColorDialog",
       {{"Color", "clBlack"},
        {"CustomColors",
         "ColorA=000000|ColorB=000080|ColorC=008000|ColorD=008080|ColorE=800000|ColorF=800080|ColorG=808000|"
         "ColorH=808080|ColorI=C0C0C0|ColorJ=0000FF|ColorK=00FF00|ColorL=00FFFF|ColorM=FF0000|ColorN=FF00FF|"
         "ColorO=FFFF00|ColorP=FFFFFF|ColorQ=C0DCC0|ColorR=F0CAA6|ColorS=F0FBFF|ColorT=A4A0A0"},
        {"Options", "[]"}}},
      {"doublecmd__doublecmd__src_frames_foptionstreeviewmenucolor.lfm", "dlgFnt", {{"Options", "[fdNoStyleSel]"}}},
      {"coderserdar__DelphiComponents__Torry_s_Delphi_Pages_DB_Aware_Direct_DB_Access_FBDataSet_fbcustomdatasetsqleditorl.lfm",
       "FontDialog1", {{"Font.Name", "MS Sans Serif"}, {"Font.Height", "-11"}}},
      {"maerlyn__old-delphi-codes___KOMPONENSEK_tporpheus_4_06_examples_Delphi_TxtEdit1.dfm", "OpenDialog1",
       {{"Options", "[ofHideReadOnly,ofPathMustExist,ofFileMustExist]"},
        {"Filter", "Text Files (*.txt)|*.txt|Batch Files (*.bat)|*.bat|Ini Files (*.ini)|*.ini|All Files (*.*)|*.*"}}},
      {"maerlyn__old-delphi-codes___KOMPONENSEK_tporpheus_4_06_examples_Delphi_TxtEdit1.dfm", "SaveDialog1",
       {{"DefaultExt", "*.*"}, {"Options", "[ofOverwritePrompt,ofHideReadOnly,ofPathMustExist]"}}},
      {"maerlyn__old-delphi-codes___KOMPONENSEK_tporpheus_4_06_examples_Delphi_TxtEdit1.dfm", "FontDialog1",
       {{"Font.Name", "System"}, {"Font.Height", "-13"}, {"MaxFontSize", "0"}}},
      {"maerlyn__old-delphi-codes___KOMPONENSEK_tporpheus_4_06_examples_Delphi_TxtEdit1.dfm", "FindDialog1", {{"Options", "[frDown]"}}},
      {"DELMadang__DelphiForFUN__01._Puzzle_Projects_Advanced_Logic_Problem_Solver_Source_U_PrintTables.dfm", "PrintDialog1",
       {{"Copies", "0"}, {"PrintRange", "prAllPages"}, {"Collate", "False"}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.File) + " " + c.Component);
    const std::string stream = FormStream(c.File);
    const auto root = Read(stream);
    TComponent* dialog = Child(root.get(), c.Component);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->Is<TCommonDialog>());
    for (const auto& [property, value] : c.Values) EXPECT_EQ(Value(dialog, property), value) << property;
    // What the class does not know is only where the designer put the component, and the
    // title the dialogs of another class library have.
    for (const TStreamedInfo::TProperty& p : dialog->StreamedInfo()->Properties)
      EXPECT_TRUE(p.Known || p.Name == "Left" || p.Name == "Top" || p.Name == "left" || p.Name == "top" ||
                  (p.Name == "Title" && std::string_view(c.File).ends_with(".lfm")))
          << p.Name;
    EXPECT_EQ(Written(root.get()), stream);
  }
}

TEST(DialogProperties, ANewDialogStoresWhatDiffersFromItsDefaults) {
  RegisterCommonDialogClasses();
  EXPECT_EQ(TextOfNew<TOpenDialog>([](TOpenDialog&) {}), "  object D: TOpenDialog\r\n  end\r\n");
  EXPECT_EQ(TextOfNew<TOpenDialog>([](TOpenDialog& d) {
              d.SetOptions(d.Options() | ofFileMustExist);
              d.SetFilterIndex(2);
              d.SetCtl3D(false);
              d.SetHelpContext(7);
            }),
            "  object D: TOpenDialog\r\n    Ctl3D = False\r\n    HelpContext = 7\r\n    FilterIndex = 2\r\n"
            "    Options = [ofHideReadOnly, ofFileMustExist, ofEnableSizing]\r\n  end\r\n");
  EXPECT_EQ(TextOfNew<TFontDialog>([](TFontDialog&) {}), "  object D: TFontDialog\r\n  end\r\n");
  EXPECT_EQ(TextOfNew<TFontDialog>([](TFontDialog& d) {
              d.Font()->SetCharset(238);
              d.Font()->SetColor(0x123456);  // a colour without an identifier: its number
              d.Font()->SetStyle(fsBold | fsItalic);
              d.Font()->SetHeight(-16);
              d.Font()->SetName("Arial");
              d.SetDevice(fdBoth);
              d.SetMaxFontSize(72);
              d.SetOptions(0);
            }),
            "  object D: TFontDialog\r\n    Font.Charset = EASTEUROPE_CHARSET\r\n    Font.Color = 1193046\r\n"
            "    Font.Height = -16\r\n    Font.Name = 'Arial'\r\n    Font.Style = [fsBold, fsItalic]\r\n    Device = fdBoth\r\n"
            "    MaxFontSize = 72\r\n    Options = []\r\n  end\r\n");
  EXPECT_EQ(TextOfNew<TColorDialog>([](TColorDialog& d) {
              d.SetColor(0x0000FF);
              d.CustomColors()->Add("ColorA=808022");
              d.SetOptions(cdFullOpen);
            }),
            "  object D: TColorDialog\r\n    Color = clRed\r\n    CustomColors.Strings = (\r\n      'ColorA=808022')\r\n"
            "    Options = [cdFullOpen]\r\n  end\r\n");
  EXPECT_EQ(TextOfNew<TPrintDialog>([](TPrintDialog& d) {
              d.SetCopies(2);
              d.SetCollate(true);
              d.SetPrintRange(prPageNums);
              d.SetOptions(poPageNums | poWarning);
              d.SetMaxPage(9);
            }),
            "  object D: TPrintDialog\r\n    Collate = True\r\n    Copies = 2\r\n    MaxPage = 9\r\n"
            "    Options = [poPageNums, poWarning]\r\n    PrintRange = prPageNums\r\n  end\r\n");
  EXPECT_EQ(TextOfNew<TReplaceDialog>([](TReplaceDialog& d) {
              d.SetFindText("old");
              d.SetReplaceText("new");
              d.SetOptions(frDown | frMatchCase | frHideWholeWord);
            }),
            "  object D: TReplaceDialog\r\n    FindText = 'old'\r\n"
            "    Options = [frDown, frHideWholeWord, frMatchCase]\r\n    ReplaceText = 'new'\r\n  end\r\n");
}

TEST(DialogProperties, ValuesTheClassesCannotHoldAreErrorsNamingThem) {
  RegisterCommonDialogClasses();
  const struct {
    const char* Line;
    const char* Error;
  } cases[] = {
      {"Options = [ofHideReadOnly, ofViewDetail]", "Error reading D.Options: Invalid set element ofViewDetail at offset 36"},
      {"Color = clSomething", "Error reading D.Color: Invalid property value clSomething at offset 35"},
      {"PrintRange = prEverything", "Error reading D.PrintRange: Invalid property value prEverything at offset 40"},
  };
  const char* classes[] = {"TOpenDialog", "TColorDialog", "TPrintDialog"};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].Line);
    const std::string text = std::string("object F: TForm1\r\n  object D: ") + classes[i] + "\r\n    " + cases[i].Line +
                             "\r\n  end\r\nend\r\n";
    EXPECT_THROW_MSG(Read(Converted(ObjectTextToBinary, text)), EReadError, cases[i].Error);
  }
}

// ---- Execute -------------------------------------------------------------------------------

namespace {
// Confirms the dialog as soon as it is up.
bool ConfirmWhenIdle(TCommonDialog* Self, TMessage& Msg) {
  if (Msg.Msg == WM_ENTERIDLE && Self->Handle()) PostMessageA(Self->Handle(), WM_COMMAND, IDOK, 0);
  return TCommonDialog::MessageHookEntry(Self, Msg);
}
}  // namespace

TEST(DialogProperties, TheColourDialogTakesItsColoursAndHandsThemBack) {
  EntryGuard guard(TColorDialog::StaticClass(), &ConfirmWhenIdle);
  TColorDialog dialog(nullptr);
  dialog.SetColor(0x0000FF);
  dialog.CustomColors()->SetText("ColorB=00FF00\r\nColorQ=123456\r\nColorC=nothex\r\n");
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.Color(), 0x0000FF);
  std::vector<std::string> expected;
  for (char c = 'A'; c <= 'P'; ++c) expected.push_back(std::string("Color") + c + (c == 'B' ? "=00FF00" : "=FFFFFF"));
  EXPECT_EQ(testing_support::LinesOf(*dialog.CustomColors()), expected) << "all sixteen, one a line";
}

TEST(DialogProperties, TheFindDialogStartsWithItsOptionsAndReportsThemBack) {
  auto dialog = std::make_unique<TReplaceDialog>(nullptr);
  dialog->SetFindText("needle");
  dialog->SetOptions(frDown | frMatchCase | frHideWholeWord | frReplace);  // a report from before
  int found = 0;
  dialog->OnFind = [&](TObject*) { ++found; };
  ASSERT_TRUE(dialog->Execute());
  SendMessageA(dialog->Handle(), WM_COMMAND, IDOK, 0);  // Find Next
  Application->ProcessMessages();
  EXPECT_EQ(found, 1);
  EXPECT_EQ(dialog->Options(), frDown | frMatchCase | frHideWholeWord | frFindNext);
  dialog->CloseDialog();
  Application->ProcessMessages();
}
