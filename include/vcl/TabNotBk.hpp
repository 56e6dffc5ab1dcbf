// The tabbed notebook: pages of controls under a row of tabs (the tab control window).
#pragma once

#include <memory>
#include <vector>

#include "vcl/Controls.hpp"

namespace vcl {

class TTabbedNotebook;

/// One page of a TTabbedNotebook; its Caption is its tab's text.
class TTabPage : public TWinControl {
  VCL_DECLARE_CLASS
public:
  /// A page made with a notebook as owner (as a form file makes it) is the notebook's last page.
  explicit TTabPage(TComponent* AOwner);
  ~TTabPage() override;
  void SetCaption(std::string Value) override;

protected:
  void CreateParams(TCreateParams& Params) override;

private:
  friend class TTabbedNotebook;
  TTabbedNotebook* FNotebook = nullptr;
};

/// Called before the notebook shows page NewTab; setting AllowChange to false keeps the page.
using TPageChangeEvent = TEvent<TObject*, int, bool&>;

class TTabbedNotebook : public TWinControl {
  VCL_DECLARE_CLASS
public:
  explicit TTabbedNotebook(TComponent* AOwner);
  ~TTabbedNotebook() override;
  /// The pages' captions, in tab order, with the TTabPage objects; adding a line adds a page.
  TStrings* Pages() const;
  int PageCount() const { return static_cast<int>(FPages.size()); }
  TTabPage* Page(int Index) const { return FPages.at(static_cast<std::size_t>(Index)); }
  /// The page shown. Setting it asks OnChange first (after loading); a refused or out-of-range
  /// index leaves the page as it is.
  int PageIndex() const { return FPageIndex; }
  void SetPageIndex(int Value);
  /// The next page (the previous when not Forward), round the end, asking OnChange first; the
  /// notebook takes the focus from the page it leaves.
  void SelectNextPage(bool Forward);
  TFont* TabFont() const { return FTabFont.get(); }
  const TPageChangeEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TPageChangeEvent Value) { FOnChange = std::move(Value); }
  void Loaded() override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void WriteState() override;
  LRESULT CNNotify(NMHDR& Header) override;

private:
  friend class TTabPage;
  class TPageStrings;
  void AddPage(TTabPage* Page);
  void RemovePage(TTabPage* Page);
  void UpdateTabs();
  void ShowPage(int Index);
  bool StoreTabFont() const { return !(*FTabFont == TFont()); }
  std::uint8_t TabFontCharset() const { return FTabFont->Charset(); }
  void SetTabFontCharset(std::uint8_t V) { FTabFont->SetCharset(V); }
  TColor TabFontColor() const { return FTabFont->Color(); }
  void SetTabFontColor(TColor V) { FTabFont->SetColor(V); }
  int TabFontHeight() const { return FTabFont->Height(); }
  void SetTabFontHeight(int V) { FTabFont->SetHeight(V); }
  std::string TabFontName() const { return FTabFont->Name(); }
  void SetTabFontName(std::string V) { FTabFont->SetName(V); }
  TFontStyles TabFontStyle() const { return FTabFont->Style(); }
  void SetTabFontStyle(TFontStyles V) { FTabFont->SetStyle(V); }

  std::vector<TTabPage*> FPages;
  std::unique_ptr<TPageStrings> FPageStrings;
  std::unique_ptr<TFont> FTabFont;
  int FPageIndex = 0;
  TPageChangeEvent FOnChange;
};

}  // namespace vcl
