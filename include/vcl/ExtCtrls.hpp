// Bevels, panels and radio groups.
#pragma once

#include <memory>
#include <vector>

#include "vcl/StdCtrls.hpp"

namespace vcl {

enum TBevelShape : std::uint8_t { bsBox = 0, bsFrame = 1, bsTopLine = 2, bsBottomLine = 3, bsLeftLine = 4, bsRightLine = 5, bsSpacer = 6 };
enum TBevelStyle : std::uint8_t { bsLowered = 0, bsRaised = 1 };

/// A frame or line drawn on its parent (an etched static window, below its siblings).
class TBevel : public TGraphicControl {
  VCL_DECLARE_CLASS
public:
  explicit TBevel(TComponent* AOwner);
  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape Value) { FShape = Value; }
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle Value) { FStyle = Value; }

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateHandle() override;

private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

/// A raised area that holds other controls, with its caption in the middle.
class TPanel : public TWinControl {
  VCL_DECLARE_CLASS
public:
  explicit TPanel(TComponent* AOwner);

protected:
  void CreateParams(TCreateParams& Params) override;
};

/// A group box of radio buttons made from Items; ItemIndex is the checked one (-1: none).
/// OnClick runs when ItemIndex changes, by the user or by code.
class TRadioGroup : public TGroupBox {
  VCL_DECLARE_CLASS
public:
  explicit TRadioGroup(TComponent* AOwner);
  ~TRadioGroup() override;
  TStrings* Items() const;
  void SetItems(TStrings* Value);
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  int Columns() const { return FColumns; }
  void SetColumns(int Value);
  /// The radio button of item Index (for tests and layout checks).
  TRadioButton* Button(int Index) const { return FButtons.at(static_cast<std::size_t>(Index)); }
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

private:
  class TRadioStrings;
  void UpdateButtons();
  void ArrangeButtons();
  void ButtonClicked(int Index);
  std::unique_ptr<TRadioStrings> FItems;
  std::vector<TRadioButton*> FButtons;  // not owned components: they are not streamed
  int FItemIndex = -1;
  int FColumns = 1;
  bool FUpdating = false;
};

}  // namespace vcl
