// Controls keep their state without a window, hand it to the window and take it back; list
// boxes, memos, radio groups and notebooks on both window systems.
#include <memory>
#include <string>
#include <vector>

#include "test_support.hpp"
#include "vcl/ExtCtrls.hpp"
#include "vcl/Forms.hpp"
#include "vcl/StdCtrls.hpp"
#include "vcl/TabNotBk.hpp"
#include "win/recorded_fonts.h"

using namespace vcl;

namespace {

class Controls : public ::testing::Test {
protected:
  void TearDown() override { EXPECT_FALSE(EventExceptionPending()); }
  std::unique_ptr<TForm> FForm = std::make_unique<TForm>(Application);
  template <class T>
  T* Make(int Left = 8, int Top = 8) {
    auto* c = new T(FForm.get());
    c->SetParent(FForm.get());
    c->SetLeft(Left);
    c->SetTop(Top);
    return c;
  }
};

TObject* Obj(int N) { return reinterpret_cast<TObject*>(static_cast<std::uintptr_t>(0x1000 + N)); }

}  // namespace

TEST_F(Controls, EveryKindHandsItsStateToTheWindowAndTakesItBack) {
  auto* edit = Make<TEdit>();
  edit->SetText("abc");
  auto* check = Make<TCheckBox>();
  check->SetChecked(true);
  auto* memo = Make<TMemo>();
  memo->Lines()->Add("one");
  memo->Lines()->Add("two");
  auto* list = Make<TListBox>();
  list->SetMultiSelect(true);
  for (int i = 0; i < 4; ++i) list->Items()->AddObject("item" + IntToStr(i), Obj(i));
  list->SetSelected(1, true);
  list->SetSelected(3, true);
  list->SetItemIndex(3);
  auto* label = Make<TLabel>();
  label->SetCaption("&Name");

  FForm->Handle();
  ASSERT_TRUE(edit->HandleAllocated());
  EXPECT_EQ(SendMessageA(check->WindowHandle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageA(list->WindowHandle(), LB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageA(list->WindowHandle(), LB_GETITEMDATA, 2, 0), reinterpret_cast<LRESULT>(Obj(2)));
  EXPECT_EQ(SendMessageA(list->WindowHandle(), LB_GETSELCOUNT, 0, 0), 2);
  EXPECT_EQ(list->ItemIndex(), 3);
  char text[64] = {};
  GetWindowTextA(memo->WindowHandle(), text, sizeof text);
  EXPECT_STREQ(text, "one\r\ntwo") << "lines are joined by CR LF";

  // The user changes the windows; the objects read the changes back when the windows go.
  SetWindowTextA(edit->WindowHandle(), "typed");
  SendMessageA(check->WindowHandle(), BM_SETCHECK, BST_UNCHECKED, 0);
  SetWindowTextA(memo->WindowHandle(), "a\r\nb\r\nc");
  SendMessageA(list->WindowHandle(), LB_SETSEL, TRUE, 0);
  SendMessageA(list->WindowHandle(), LB_SETSEL, FALSE, 3);
  DestroyWindow(FForm->Handle());
  ASSERT_FALSE(edit->HandleAllocated());
  EXPECT_EQ(edit->Text(), "typed");
  EXPECT_FALSE(check->Checked());
  EXPECT_EQ(testing_support::LinesOf(*memo->Lines()), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_TRUE(list->Selected(0));
  EXPECT_TRUE(list->Selected(1));
  EXPECT_FALSE(list->Selected(3));
  EXPECT_EQ(list->SelCount(), 2);
  EXPECT_EQ(list->Items()->Objects(2), Obj(2));
  EXPECT_EQ(label->Caption(), "&Name");

  // Shown again, the new windows have what the objects kept.
  FForm->Handle();
  EXPECT_EQ(SendMessageA(list->WindowHandle(), LB_GETSELCOUNT, 0, 0), 2);
  EXPECT_EQ(edit->Text(), "typed");
  EXPECT_EQ(memo->Lines()->Count(), 3);
}

TEST_F(Controls, AUtf16TextReachesTheWindowWholeAndOutlivesIt) {
  auto* memo = Make<TMemo>();
  memo->SetTextW(u"Открыть");
  EXPECT_EQ(memo->Text(), "???????") << "the ANSI form of characters the page lacks";
  FForm->Handle();
  EXPECT_TRUE(IsWindowUnicode(memo->WindowHandle()));
  EXPECT_EQ(memo->TextW(), u"Открыть");
  memo->SetAlignment(taRightJustify);  // a window made again
  EXPECT_EQ(memo->TextW(), u"Открыть");
  memo->SetTextW(u"Сохранить");
  DestroyWindow(FForm->Handle());
  ASSERT_FALSE(memo->HandleAllocated());
  EXPECT_EQ(memo->TextW(), u"Сохранить") << "read back without a window";
  memo->SetText("Datei \xF6" "ffnen");
  EXPECT_EQ(memo->TextW(), u"Datei öffnen") << "an ANSI text is the page's characters";
  FForm->Handle();
  EXPECT_EQ(memo->TextW(), u"Datei öffnen");
  EXPECT_EQ(memo->Text(), "Datei \xF6" "ffnen");
}

TEST_F(Controls, OnKeyPressSeesTheAnsiByteOfAUtf16Character) {
  auto* edit = Make<TEdit>();
  std::vector<char> seen;
  edit->SetOnKeyPress(TKeyPressEvent([&](TObject*, char& C) {
    seen.push_back(C);
    if (C == 'x') C = '\xE9';  // changed: the window gets the character of the byte
    if (C == '#') C = 0;       // taken: the window gets nothing
  }));
  FForm->Handle();
  for (const char16_t c : std::u16string(u"aЖ\u00FCx#"))
    SendMessageW(edit->WindowHandle(), WM_CHAR, c, 1);
  EXPECT_EQ(seen, (std::vector<char>{'a', '?', '\xFC', 'x', '#'}));
#ifdef _WIN32
  // The simulation's edit takes only the characters of the ANSI code page from WM_CHAR.
  EXPECT_EQ(edit->TextW(), u"aЖüé") << "a character the ANSI page lacks goes on as it came";
#else
  EXPECT_EQ(edit->TextW(), u"aüé");
#endif
}

TEST_F(Controls, SortedListBoxOrdersWithoutCaseWithAndWithoutAWindow) {
  const char* words[] = {"delta", "Bravo", "alpha", "Charlie", "bravo"};
  for (bool window : {false, true}) {
    auto* list = Make<TListBox>();
    list->SetSorted(true);
    if (window) FForm->Handle();
    for (const char* w : words) list->Items()->Add(w);
    EXPECT_EQ(testing_support::LinesOf(*list->Items()),
              (std::vector<std::string>{"alpha", "bravo", "Bravo", "Charlie", "delta"}))
        << (window ? "with" : "without") << " a window: a new item goes before its equals";
    EXPECT_EQ(list->Items()->IndexOf("bravo"), 1);
    delete list;
  }
}

TEST_F(Controls, ListBoxSelectionRulesOfEachMode) {
  struct Case {
    bool Multi;
    bool Window;
  } cases[] = {{false, false}, {false, true}, {true, false}, {true, true}};
  for (const Case& c : cases) {
    auto* list = Make<TListBox>();
    list->SetMultiSelect(c.Multi);
    list->SetHeight(16 * 3 + 4);  // three items show: the list can scroll by one
    if (c.Window) FForm->Handle();
    list->Items()->BeginUpdate();
    for (int i = 0; i < 5; ++i) list->Items()->Add("x" + IntToStr(i));
    list->Items()->EndUpdate();
    const std::string where = std::string(c.Multi ? "multi" : "single") + (c.Window ? " with window" : "");
    list->SetItemIndex(2);
    EXPECT_EQ(list->ItemIndex(), 2) << where;
    EXPECT_EQ(list->SelCount(), c.Multi ? 0 : -1) << where << ": ItemIndex alone selects only in a single list";
    list->SetSelected(4, true);
    EXPECT_TRUE(list->Selected(4)) << where;
    EXPECT_FALSE(list->Selected(2)) << where << (c.Multi ? ": ItemIndex does not select" : ": one selected item at most");
    list->Items()->Delete(0);
    EXPECT_TRUE(list->Selected(3)) << where << ": selection moves with its item";
    EXPECT_THROW_MSG(list->Selected(4), EListError, "List index out of bounds (4)");
    list->SetTopIndex(1);
    EXPECT_EQ(list->TopIndex(), 1) << where;
    EXPECT_EQ(list->ItemAtPos(POINT{5, 16 * 2 + 3}, true), 3) << where;
    EXPECT_EQ(list->ItemAtPos(POINT{5, 16 * 3 + 3}, true), -1) << where << ": below the last item";
    EXPECT_EQ(list->ItemAtPos(POINT{5, 16 * 3 + 3}, false), 4) << where << ": the item count";
    DestroyWindow(FForm->Handle());
    delete list;
  }
}

namespace {

// What a list box window shows: items with their objects, selection, current and top item.
struct ListWindowState {
  std::vector<std::string> Items;
  std::vector<LRESULT> Data;
  std::vector<int> Selected;
  LRESULT Current, Top;
  bool operator==(const ListWindowState&) const = default;
};

ListWindowState ReadWindow(HWND H, bool Multi) {
  ListWindowState s;
  const int n = static_cast<int>(SendMessageA(H, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    std::string text(static_cast<std::size_t>(SendMessageA(H, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0)) + 1, '\0');
    SendMessageA(H, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    s.Items.push_back(text.c_str());
    s.Data.push_back(SendMessageA(H, LB_GETITEMDATA, static_cast<WPARAM>(i), 0));
    if (SendMessageA(H, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) s.Selected.push_back(i);
  }
  s.Current = SendMessageA(H, Multi ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0);
  s.Top = SendMessageA(H, LB_GETTOPINDEX, 0, 0);
  return s;
}

}  // namespace

// In a batch a sorted list box places items by their sort keys, without the window; the places
// Add answers and the order must be the window's own, which places each item it is given
// outside a batch (with lstrcmpiA under Wine), also when items are deleted and inserted between.
TEST_F(Controls, SortedListBoxPlacesAlikeInAndOutOfBatches) {
  const std::vector<std::string> words = {"delta", "Bravo", "alpha", "Charlie", "bravo", "ALPHA", "_under", "echo", "Zulu",
                                          "bravo", "a-b", "ab", "Item 10", "Item 9", ""};
  struct Run {
    std::vector<int> Places;
    std::vector<std::string> Lines;
  };
  auto run = [&](bool Window, bool Batch) {
    auto* list = Make<TListBox>();
    list->SetSorted(true);
    if (Window) FForm->Handle();
    Run r;
    if (Batch) list->Items()->BeginUpdate();
    for (std::size_t i = 0; i < words.size(); ++i) {
      r.Places.push_back(list->Items()->Add(words[i]));
      if (i == 4) list->Items()->Delete(1);                                 // the keys follow a delete
      if (i == 8) list->Items()->Insert(list->Items()->Count(), "zzz");     // ... and an insert at the end
    }
    if (Batch) list->Items()->EndUpdate();
    r.Lines = testing_support::LinesOf(*list->Items());
    if (Window) {
      EXPECT_EQ(ReadWindow(list->WindowHandle(), false).Items, r.Lines) << (Batch ? "batch" : "one by one");
    }
    delete list;
    return r;
  };
  const Run live = run(true, false);
  for (const auto& [window, batch] : {std::pair{true, true}, std::pair{false, false}, std::pair{false, true}}) {
    const Run r = run(window, batch);
    const std::string where = std::string(window ? "with" : "without") + " a window, " + (batch ? "in a batch" : "one by one");
    EXPECT_EQ(r.Places, live.Places) << where;
    EXPECT_EQ(r.Lines, live.Lines) << where;
  }
}

// A batch ends with the window changed in place (nothing to do, or a few changes one by one) or
// filled again; either way it must show what a window made afresh from the object shows.
TEST_F(Controls, ListBoxBatchLeavesTheWindowAsAFreshOne) {
  using Change = void (*)(TListBox&);
  struct Case {
    const char* Name;
    Change Batch;
  } changes[] = {
      {"cleared and filled again alike", [](TListBox& l) {
         std::vector<std::string> items;
         for (int i = 0; i < l.Items()->Count(); ++i) items.push_back(l.Items()->Get(i));
         l.Clear();
         for (int i = 0; i < static_cast<int>(items.size()); ++i) l.Items()->AddObject(items[static_cast<std::size_t>(i)], Obj(i));
       }},
      {"cleared and filled with one item changed", [](TListBox& l) {
         l.Clear();
         for (int i = 0; i < 40; ++i) l.Items()->AddObject(i == 7 ? "other" : "k" + IntToStr(100 + i), Obj(i));
       }},
      {"a few inserted and deleted", [](TListBox& l) {
         l.Items()->Delete(3);
         l.Items()->AddObject("k1005", Obj(99));
         l.Items()->InsertObject(0, "first", nullptr);
         l.Items()->Put(20, "replaced");
         l.Items()->PutObject(21, Obj(77));
         l.Items()->Delete(l.Items()->Count() - 1);
       }},
      {"selection changed only", [](TListBox& l) {
         l.SetSelected(30, true);
         l.SetItemIndex(31);
       }},
      {"most items deleted", [](TListBox& l) {
         while (l.Items()->Count() > 5) l.Items()->Delete(1);
       }},
  };
  for (bool multi : {false, true})
    for (const Case& c : changes) {
      const std::string where = std::string(multi ? "multi: " : "single: ") + c.Name;
      auto* list = Make<TListBox>();
      list->SetMultiSelect(multi);
      list->SetHeight(16 * 5 + 4);
      for (int i = 0; i < 40; ++i) list->Items()->AddObject("k" + IntToStr(100 + i), Obj(i));
      FForm->Handle();
      list->SetSelected(12, true);
      list->SetSelected(25, true);
      list->SetTopIndex(10);
      list->Items()->BeginUpdate();
      c.Batch(*list);
      list->Items()->EndUpdate();
      const ListWindowState batched = ReadWindow(list->WindowHandle(), multi);
      EXPECT_EQ(static_cast<int>(batched.Items.size()), list->Items()->Count()) << where;
      DestroyWindow(FForm->Handle());
      FForm->Handle();
      EXPECT_TRUE(batched == ReadWindow(list->WindowHandle(), multi)) << where;
      DestroyWindow(FForm->Handle());
      delete list;
    }
}

TEST_F(Controls, RadioGroupItemIndexChecksItsButtonAndClicksRunOnClick) {
  auto* group = Make<TRadioGroup>();
  int clicks = 0;
  group->SetOnClick(TNotifyEvent([&](TObject*) { ++clicks; }));
  group->Items()->Add("&Right To Left");
  group->Items()->Add("&Left to Right");
  group->SetItemIndex(1);
  EXPECT_EQ(clicks, 1);
  FForm->Handle();
  EXPECT_EQ(SendMessageA(group->Button(1)->WindowHandle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageA(group->Button(0)->WindowHandle(), BM_CLICK, 0, 0);
  EXPECT_EQ(group->ItemIndex(), 0);
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(group->Button(1)->Checked());
  // Buttons share the height below the caption line, 8 pixels in.
  EXPECT_EQ(group->Button(0)->Left(), 8);
  EXPECT_LT(group->Button(0)->Top(), group->Button(1)->Top());
}

// Measured through GetTextExtentPoint32 in the label's font: the real font under Wine, the widths
// recorded under Wine (with the same fonts) in the simulation, so both give the recorded figures.
TEST_F(Controls, AnAutoSizedLabelTakesTheSizeOfItsCaptionInItsFont) {
  auto* label = Make<TLabel>();
  const auto measured = [&](const char* Text) {
    return win::MeasureRecorded(label->Font()->Name(), label->Font()->Charset(), label->Font()->Height(), Text);
  };
  label->SetCaption("File name:");
  EXPECT_EQ(label->Width(), measured("File name:").Width);
  EXPECT_EQ(label->Height(), measured("File name:").LineHeight);
  label->SetCaption("Wide\r\nWider line\r\n");
  EXPECT_EQ(label->Width(), measured("Wider line").Width) << "the widest line";
  EXPECT_EQ(label->Height(), 3 * measured("").LineHeight) << "an empty last line is a line";
  label->Font()->SetName("Courier New");
  label->Font()->SetHeight(-22);
  label->SetCaption("iii");
  EXPECT_GT(label->Width(), win::MeasureRecorded("Courier New", label->Font()->Charset(), -11, "iii").Width) << "a larger font is wider";
  EXPECT_GT(label->Height(), win::MeasureRecorded("Courier New", label->Font()->Charset(), -11, "iii").LineHeight);
}

TEST_F(Controls, NotebookAsksBeforeChangingAndARefusalKeepsThePage) {
  auto* book = Make<TTabbedNotebook>();
  book->Pages()->Add("One");
  book->Pages()->Add("Two");
  std::vector<int> asked;
  bool allow = false;
  book->SetOnChange(TPageChangeEvent([&](TObject*, int NewTab, bool& Allow) {
    asked.push_back(NewTab);
    Allow = allow;
  }));
  FForm->Handle();
  book->SetPageIndex(1);
  EXPECT_EQ(book->PageIndex(), 0);
  EXPECT_TRUE(book->Page(0)->Visible());
  allow = true;
  book->SetPageIndex(1);
  EXPECT_EQ(book->PageIndex(), 1);
  EXPECT_FALSE(book->Page(0)->Visible());
  EXPECT_TRUE(book->Page(1)->Visible());
  EXPECT_EQ(asked, (std::vector<int>{1, 1}));
  EXPECT_EQ(SendMessageA(book->WindowHandle(), TCM_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(testing_support::LinesOf(*book->Pages()), (std::vector<std::string>{"One", "Two"}));
}

TEST_F(Controls, TabOrderMovesTheOthersAsTheClassLibraryDoes) {
  auto* a = Make<TButton>();
  auto* b = Make<TButton>();
  auto* c = Make<TButton>();
  EXPECT_EQ(c->TabOrder(), 2);
  c->SetTabOrder(0);
  EXPECT_EQ(a->TabOrder(), 1);
  EXPECT_EQ(b->TabOrder(), 2);
  a->SetTabOrder(99);
  EXPECT_EQ(a->TabOrder(), 2) << "past the end goes last";
  std::vector<TWinControl*> order;
  FForm->GetTabOrderList(order);
  EXPECT_EQ(order, (std::vector<TWinControl*>{c, b, a}));
}

TEST_F(Controls, FocusingAHiddenControlIsAnError) {
  auto* edit = Make<TEdit>();
  edit->SetName("EdtHidden");
  edit->SetVisible(false);
  EXPECT_THROW_MSG(edit->SetFocus(), EInvalidOperation, "Cannot focus a disabled or invisible window (EdtHidden)");
}

TEST_F(Controls, FormClientSizeIsTheClientAreaOfItsWindow) {
  FForm->SetBorderStyle(bsDialog);
  FForm->SetClientWidth(493);
  FForm->SetClientHeight(375);
  const int outer = FForm->Width();
  EXPECT_GT(outer, 493);
  FForm->Handle();
  RECT client;
  GetClientRect(FForm->Handle(), &client);
  EXPECT_EQ(client.right, 493);
  EXPECT_EQ(client.bottom, 375);
  EXPECT_EQ(FForm->ClientWidth(), 493);
}

TEST_F(Controls, PanelCaptionIsCentredAndClippedByItsChildren) {
  auto* panel = Make<TPanel>();
  panel->SetCaption("Panel");
  auto* child = new TRadioButton(FForm.get());
  child->SetParent(panel);
  FForm->Handle();
  const auto style = static_cast<DWORD>(GetWindowLongA(panel->WindowHandle(), GWL_STYLE));
  EXPECT_TRUE(style & WS_CLIPCHILDREN) << "a repaint of the panel alone would draw its caption over its children";
  EXPECT_EQ(style & (SS_CENTER | SS_CENTERIMAGE), static_cast<DWORD>(SS_CENTER | SS_CENTERIMAGE));
  char text[16] = {};
  GetWindowTextA(panel->WindowHandle(), text, sizeof text);
  EXPECT_STREQ(text, "Panel");
  EXPECT_EQ(GetParent(child->WindowHandle()), panel->WindowHandle());
}

namespace {

// Puts back the application's hint settings, as the editor does after changing HintPause.
struct KeepHintSettings {
  THintSettings Saved = HintSettings();
  ~KeepHintSettings() { SetHintSettings(Saved); }
};

LRESULT ToolCount() { return SendMessageA(HintWindow(), TTM_GETTOOLCOUNT, 0, 0); }
LRESULT Delay(WPARAM Which) { return SendMessageA(HintWindow(), TTM_GETDELAYTIME, Which, 0); }

}  // namespace

TEST_F(Controls, HintedControlsAreToolsOfOneTooltipWithTheApplicationsDelays) {
  const KeepHintSettings keep;
  Application->SetHintPause(800);
  Application->SetHintHidePause(4000);
  Application->SetHintShortPause(70);
  auto* hinted = Make<TButton>();
  hinted->SetHint("Saves the file");
  hinted->SetShowHint(true);
  auto* plain = Make<TButton>(8, 40);
  plain->SetHint("Not shown: ShowHint is off");
  FForm->Handle();

  const HWND tip = HintWindow();
  ASSERT_NE(tip, nullptr) << "a control with ShowHint and a Hint makes the hint window";
  EXPECT_TRUE(GetWindowLongA(tip, GWL_STYLE) & TTS_ALWAYSTIP) << "hints show on inactive forms too";
  EXPECT_EQ(ToolCount(), 1);
  EXPECT_EQ(Delay(TTDT_INITIAL), 800);
  EXPECT_EQ(Delay(TTDT_AUTOPOP), 4000);
  EXPECT_EQ(Delay(TTDT_RESHOW), 70);
  Application->SetHintPause(300);
  EXPECT_EQ(Delay(TTDT_INITIAL), 300) << "a new pause reaches the hint window at once";
  EXPECT_EQ(Application->HintPause(), 300);

  plain->SetShowHint(true);
  EXPECT_EQ(ToolCount(), 2);
  hinted->SetHint("");
  EXPECT_EQ(ToolCount(), 1) << "an empty hint shows nothing";
  DestroyWindow(FForm->Handle());
  EXPECT_EQ(ToolCount(), 0) << "a window that goes is no tool any more";
  FForm->Handle();
  EXPECT_EQ(ToolCount(), 1) << "a window made again is a tool again";
  EXPECT_EQ(plain->Hint(), "Not shown: ShowHint is off");
}

#ifndef _WIN32
// The simulated tooltip has no clock: the control the mouse rests on is the one whose hint
// would show once HintPause passed.
TEST_F(Controls, TheHintOfTheControlUnderTheMouseWouldShowUntilCancelled) {
  const KeepHintSettings keep;
  auto* hinted = Make<TButton>();
  hinted->SetHint("Saves the file");
  hinted->SetShowHint(true);
  auto* plain = Make<TButton>(8, 40);
  FForm->Handle();
  const auto move = [](TControl* Over) { SendMessageA(Over->WindowHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3)); };

  EXPECT_EQ(HintControl(), nullptr);
  move(hinted);
  EXPECT_EQ(HintControl(), hinted);
  move(plain);
  EXPECT_EQ(HintControl(), nullptr) << "a control without a hint shows none";
  move(hinted);
  Application->CancelHint();
  EXPECT_EQ(HintControl(), nullptr);
  move(hinted);
  SendMessageA(hinted->WindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
  EXPECT_EQ(HintControl(), nullptr) << "a click takes the hint down";
  Application->SetShowHint(false);
  move(hinted);
  EXPECT_EQ(HintControl(), nullptr) << "Application->ShowHint off shows no hint";
  Application->SetShowHint(true);
  move(hinted);
  EXPECT_EQ(HintControl(), hinted);
}
#endif

TEST_F(Controls, ScreenCursorShowsTheStockCursorUntilSetBack) {
  const struct {
    TCursor Cursor;
    LPCSTR Stock;
  } cases[] = {
      {crHourGlass, IDC_WAIT}, {crIBeam, IDC_IBEAM}, {crHandPoint, IDC_HAND}, {crSizeWE, IDC_SIZEWE},
      {crNo, IDC_NO},          {crArrow, IDC_ARROW}, {crDefault, IDC_ARROW},
  };
  auto* button = Make<TButton>();
  FForm->Handle();
  for (const auto& c : cases) {
    Screen->SetCursor(c.Cursor);
    EXPECT_EQ(Screen->Cursor(), c.Cursor);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, c.Stock)) << "cursor " << c.Cursor;
  }
  Screen->SetCursor(crHourGlass);
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_TRUE(SendMessageA(button->WindowHandle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(button->WindowHandle()),
                           MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT)) << "a window under the mouse keeps the screen's cursor";
  Screen->SetCursor(crDefault);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
}

// A form's colours, character sets, font sizes and tab orders come back as the form wrote them
// (numbers or identifiers, a tab order among controls the host does not know), and each one
// changed is written anew; the controls take the values in.
TEST(ControlProperties, ComeBackAsTheFormWroteThemUntilChanged) {
  (void)Application->ExeName();  // registers the control classes
  const auto binary = [](const std::string& Text) {
    TMemoryStream in, out;
    in.WriteBuffer(Text.data(), static_cast<std::int64_t>(Text.size()));
    in.SetPosition(0);
    ObjectTextToBinary(in, out);
    return std::string(out.Bytes().begin(), out.Bytes().end());
  };
  const std::string form =
      "object F: TForm1\r\n  object P: TPanel\r\n"
      "    object Combo1: TComboBox\r\n      TabOrder = 0\r\n    end\r\n"
      "    object B: TButton\r\n      Color = 255\r\n      Font.Charset = ANSI_CHARSET\r\n      Font.Color = 16711680\r\n"
      "      Font.Size = 10\r\n      TabOrder = 1\r\n    end\r\n"
      "    object E: TEdit\r\n      Color = clWindow\r\n      Font.Charset = DEFAULT_CHARSET\r\n      TabOrder = 2\r\n    end\r\n"
      "    object N: TTabbedNotebook\r\n      TabFont.Charset = ANSI_CHARSET\r\n      TabFont.Color = clRed\r\n    end\r\n"
      "  end\r\nend\r\n";
  const std::string stream = binary(form);
  TMemoryStream in;
  in.WriteBuffer(stream.data(), static_cast<std::int64_t>(stream.size()));
  in.SetPosition(0);
  auto root = std::make_unique<TUnknownComponent>(nullptr);
  root->SetDesigning(true);
  TReader(in).ReadRootComponent(root.get());
  TComponent* panel = root->FindComponent("P");
  auto* button = static_cast<TButton*>(panel->FindComponent("B"));
  auto* edit = static_cast<TEdit*>(panel->FindComponent("E"));
  auto* notebook = static_cast<TTabbedNotebook*>(panel->FindComponent("N"));
  EXPECT_EQ(button->Color(), 0x0000FF);
  EXPECT_EQ(button->Font()->Charset(), ANSI_CHARSET);
  EXPECT_EQ(button->Font()->Color(), 0xFF0000);
  EXPECT_EQ(button->Font()->Height(), -13);
  EXPECT_EQ(edit->TabOrder(), 1) << "the second of the controls the host knows";
  EXPECT_EQ(notebook->TabFont()->Color(), 0x0000FF);
  EXPECT_EQ(notebook->TabFont()->Charset(), ANSI_CHARSET);
  const auto written = [&] {
    TMemoryStream out;
    TWriter(out).WriteRootComponent(root.get());
    return std::string(out.Bytes().begin(), out.Bytes().end());
  };
  EXPECT_EQ(written(), stream);

  button->Font()->SetHeight(-16);  // Font.Size goes with it
  edit->SetTabOrder(0);            // and the button's moves up
  notebook->TabFont()->SetColor(0xFF0000);
  EXPECT_EQ(written(), binary(
      "object F: TForm1\r\n  object P: TPanel\r\n"
      "    object Combo1: TComboBox\r\n      TabOrder = 0\r\n    end\r\n"
      "    object B: TButton\r\n      Color = 255\r\n      Font.Charset = ANSI_CHARSET\r\n      Font.Color = 16711680\r\n"
      "      Font.Height = -16\r\n      TabOrder = 1\r\n    end\r\n"
      "    object E: TEdit\r\n      Color = clWindow\r\n      Font.Charset = DEFAULT_CHARSET\r\n      TabOrder = 0\r\n    end\r\n"
      "    object N: TTabbedNotebook\r\n      TabFont.Charset = ANSI_CHARSET\r\n      TabFont.Color = clBlue\r\n    end\r\n"
      "  end\r\nend\r\n"));
}

// A form a design host opens may hold controls of classes it does not know: a label's
// FocusControl naming one is kept by name and written back; a running form gets an error.
TEST(LabelFocusControl, NamingNoWindowedControlIsKeptInDesignAndAnErrorElsewhere) {
  (void)Application->ExeName();  // registers the control classes
  const std::string text = "object F: TForm1\r\n  object L: TLabel\r\n    FocusControl = Combo1\r\n  end\r\n"
                           "  object Combo1: TComboBox\r\n  end\r\nend\r\n";
  TMemoryStream in, binary;
  in.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
  in.SetPosition(0);
  ObjectTextToBinary(in, binary);
  const auto read = [&](bool Designing) {
    binary.SetPosition(0);
    auto root = std::make_unique<TUnknownComponent>(nullptr);
    root->SetDesigning(Designing);
    TReader reader(binary);
    reader.ReadRootComponent(root.get());
    return root;
  };
  const auto designed = read(true);
  auto* label = dynamic_cast<TLabel*>(designed->FindComponent("L"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->FocusControl(), nullptr);
  TMemoryStream out;
  TWriter(out).WriteRootComponent(designed.get());
  EXPECT_EQ(out.Bytes(), binary.Bytes());
  EXPECT_THROW_MSG(read(false), EReadError, "FocusControl Combo1 of L is not a windowed control of its form");
}
