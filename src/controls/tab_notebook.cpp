// TTabbedNotebook: a tab control window whose pages are container windows on it.
//
// Notes:
// - A page change by the user is asked of OnChange after the tab control made it
//   (TCN_SELCHANGE), since at TCN_SELCHANGING the new tab is not known; a refused change puts
//   the old tab back with TCM_SETCURSEL, which notifies nobody.
// - Pages keep the bounds their form file gives; a page made in code fills the display area.
#include <algorithm>

#include "control_support.hpp"
#include "vcl/TabNotBk.hpp"

namespace vcl {

// ---- TTabPage ------------------------------------------------------------------------------

VCL_IMPLEMENT_CLASS(TTabPage, TWinControl)

TTabPage::TTabPage(TComponent* AOwner) : TWinControl(AOwner) {
  if (AOwner && AOwner->Is<TTabbedNotebook>()) static_cast<TTabbedNotebook*>(AOwner)->AddPage(this);
}

TTabPage::~TTabPage() {
  if (HandleAllocated()) DestroyHandle();
  if (FNotebook) FNotebook->RemovePage(this);
}

void TTabPage::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.ClassName = ContainerWindowClass();
  Params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TTabPage::SetCaption(std::string Value) {
  TWinControl::SetCaption(std::move(Value));
  if (FNotebook) FNotebook->UpdateTabs();
}

// ---- TTabbedNotebook -----------------------------------------------------------------------

class TTabbedNotebook::TPageStrings : public TStrings {
public:
  explicit TPageStrings(TTabbedNotebook& Notebook) : FNotebook(Notebook) {}
  int Count() const override { return FNotebook.PageCount(); }
  const std::string& Get(int Index) const override {
    Check(Index);
    FCache = FNotebook.Page(Index)->Caption();
    return FCache;
  }
  void Put(int Index, std::string S) override {
    Check(Index);
    FNotebook.Page(Index)->SetCaption(std::move(S));
  }
  TObject* GetObject(int Index) const override {
    Check(Index);
    return FNotebook.Page(Index);
  }
  void PutObject(int, TObject*) override {}
  void InsertObject(int Index, std::string S, TObject*) override {
    if (Index < 0 || Index > Count()) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    auto* page = new TTabPage(&FNotebook);  // appended; moved to its place below
    auto& pages = FNotebook.FPages;
    pages.erase(pages.end() - 1);
    pages.insert(pages.begin() + Index, page);
    page->SetCaption(std::move(S));
    FNotebook.ShowPage(FNotebook.FPageIndex);
  }
  void Delete(int Index) override {
    Check(Index);
    delete FNotebook.Page(Index);
  }
  void Clear() override {
    while (Count() > 0) Delete(Count() - 1);
  }

private:
  void Check(int Index) const {
    if (Index < 0 || Index >= Count()) throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
  }
  TTabbedNotebook& FNotebook;
  mutable std::string FCache;
};

VCL_IMPLEMENT_CLASS(TTabbedNotebook, TWinControl, [](TMetaClass& c) {
  c.Publish<TTabbedNotebook>()
      .Integer("Width", &TTabbedNotebook::Width, &TTabbedNotebook::SetWidth).Default(300)
      .Integer("Height", &TTabbedNotebook::Height, &TTabbedNotebook::SetHeight).Default(250)
      .String("Caption", &TTabbedNotebook::Caption, &TTabbedNotebook::SetCaption).Stored(false)
      .Integer("PageIndex", &TTabbedNotebook::PageIndex, &TTabbedNotebook::SetPageIndex).Default(0)
      .Integer("TabFont.Charset", &TTabbedNotebook::TabFontCharset, &TTabbedNotebook::SetTabFontCharset)
      .Idents(CharsetIdents()).Default(DEFAULT_CHARSET)
      // The tab control draws its text in the system's button text colour; the value is kept.
      .Integer("TabFont.Color", &TTabbedNotebook::TabFontColor, &TTabbedNotebook::SetTabFontColor)
      .Idents(ColorIdents()).Default(clWindowText)
      .Integer("TabFont.Height", &TTabbedNotebook::TabFontHeight, &TTabbedNotebook::SetTabFontHeight)
      .Stored(&TTabbedNotebook::StoreTabFont)
      .String("TabFont.Name", &TTabbedNotebook::TabFontName, &TTabbedNotebook::SetTabFontName)
      .Stored(&TTabbedNotebook::StoreTabFont)
      .Set("TabFont.Style", &TTabbedNotebook::TabFontStyle, &TTabbedNotebook::SetTabFontStyle,
           {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"})
      .Stored(&TTabbedNotebook::StoreTabFont)
      .Boolean("TabStop", &TTabbedNotebook::TabStop, &TTabbedNotebook::SetTabStop).Default(true)
      .Event("OnChange", &TTabbedNotebook::OnChange, &TTabbedNotebook::SetOnChange);
})

TTabbedNotebook::TTabbedNotebook(TComponent* AOwner)
    : TWinControl(AOwner), FPageStrings(std::make_unique<TPageStrings>(*this)), FTabFont(std::make_unique<TFont>()) {
  SetBounds(0, 0, 300, 250);
  SetTabStop(true);
  FTabFont->OnChange = [this] {
    if (HandleAllocated()) SendMessageA(WindowHandle(), WM_SETFONT, reinterpret_cast<WPARAM>(FTabFont->Handle()), TRUE);
  };
  AddEvent(FOnChange);
}

TTabbedNotebook::~TTabbedNotebook() {
  if (HandleAllocated()) DestroyHandle();
  for (TTabPage* p : FPages) p->FNotebook = nullptr;
}

TStrings* TTabbedNotebook::Pages() const { return FPageStrings.get(); }

void TTabbedNotebook::CreateParams(TCreateParams& Params) {
#ifdef _WIN32
  static const bool initialised = [] {
    INITCOMMONCONTROLSEX icc{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES};
    return InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)initialised;
#endif
  TWinControl::CreateParams(Params);
  Params.ClassName = WC_TABCONTROLA;
  Params.Style |= WS_CLIPCHILDREN | (TabStop() ? WS_TABSTOP : 0);
}

void TTabbedNotebook::WriteState() {
  SendMessageA(WindowHandle(), WM_SETFONT, reinterpret_cast<WPARAM>(FTabFont->Handle()), FALSE);
  UpdateTabs();
}

void TTabbedNotebook::AddPage(TTabPage* Page) {
  Page->FNotebook = this;
  FPages.push_back(Page);
  if (!(ComponentState() & csLoading)) {
    // A page made in code fills the display area.
    RECT r{0, 0, Width(), Height()};
    if (HandleAllocated()) SendMessageA(WindowHandle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    else r = RECT{4, 24, Width() - 4, Height() - 4};
    Page->SetParent(this);
    Page->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
  }
  Page->SetVisible(static_cast<int>(FPages.size()) - 1 == FPageIndex);
  UpdateTabs();
}

void TTabbedNotebook::RemovePage(TTabPage* Page) {
  FPages.erase(std::remove(FPages.begin(), FPages.end(), Page), FPages.end());
  Page->FNotebook = nullptr;
  if (FPageIndex >= PageCount()) FPageIndex = std::max(PageCount() - 1, 0);
  UpdateTabs();
  ShowPage(FPageIndex);
}

void TTabbedNotebook::UpdateTabs() {
  if (!HandleAllocated()) return;
  const HWND h = WindowHandle();
  SendMessageA(h, TCM_DELETEALLITEMS, 0, 0);
  for (int i = 0; i < PageCount(); ++i) {
    std::string caption = FPages[static_cast<std::size_t>(i)]->Caption();
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    SendMessageA(h, TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
  }
  if (FPageIndex < PageCount()) SendMessageA(h, TCM_SETCURSEL, static_cast<WPARAM>(FPageIndex), 0);
}

void TTabbedNotebook::ShowPage(int Index) {
  FPageIndex = Index;
  // The new page shows before the old one hides, so that the focus can stay on the notebook.
  if (Index >= 0 && Index < PageCount()) FPages[static_cast<std::size_t>(Index)]->SetVisible(true);
  for (int i = 0; i < PageCount(); ++i)
    if (i != Index) FPages[static_cast<std::size_t>(i)]->SetVisible(false);
  if (HandleAllocated() && Index < PageCount()) SendMessageA(WindowHandle(), TCM_SETCURSEL, static_cast<WPARAM>(Index), 0);
}

void TTabbedNotebook::SetPageIndex(int Value) {
  if (ComponentState() & csLoading) {
    FPageIndex = Value;
    return;
  }
  if (Value == FPageIndex || Value < 0 || Value >= PageCount()) return;
  bool allow = true;
  FOnChange(this, Value, allow);
  if (allow) ShowPage(Value);
}

void TTabbedNotebook::SelectNextPage(bool Forward) {
  const int n = PageCount();
  if (n < 2) return;
  const int before = FPageIndex;
  SetPageIndex((FPageIndex + (Forward ? 1 : n - 1)) % n);
  // The focus was on the page that went (or already on the notebook): the notebook keeps it.
  if (FPageIndex != before && HandleAllocated()) SetFocus();
}

void TTabbedNotebook::Loaded() {
  TWinControl::Loaded();
  if (FPageIndex >= PageCount()) FPageIndex = 0;
  ShowPage(FPageIndex);
}

LRESULT TTabbedNotebook::CNNotify(NMHDR& Header) {
  if (Header.code != TCN_SELCHANGE) return 0;
  const int chosen = static_cast<int>(SendMessageA(WindowHandle(), TCM_GETCURSEL, 0, 0));
  if (chosen == FPageIndex) return 0;
  bool allow = true;
  FOnChange(this, chosen, allow);
  if (allow) ShowPage(chosen);
  else if (HandleAllocated()) SendMessageA(WindowHandle(), TCM_SETCURSEL, static_cast<WPARAM>(FPageIndex), 0);
  return 0;
}

}  // namespace vcl
