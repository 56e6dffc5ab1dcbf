// The editor's tests: a designed form holding a translator, the editor on it, its platform
// dialogs answered by the test and its settings in a place of the test's own.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "VekEdit.hpp"
#include "test_support.hpp"

namespace editor_test {

/// Answers the editor's platform dialogs from queues and records what was asked, in order
/// ("MessageDlg <text>", "InputQuery <caption>", "Execute <class> <title>").
class FakeDialogs : public VekEdit::TEditorDialogs {
public:
  std::vector<std::string> Asked;
  std::deque<vcl::TModalResult> Answers;                 // MessageDlg
  std::deque<std::optional<std::string>> Inputs;         // InputQuery: nullopt cancels
  std::function<bool(vcl::TCommonDialog&)> OnExecute;    // file and font dialogs; none cancels

  bool Execute(vcl::TCommonDialog& Dialog) override;
  vcl::TModalResult MessageDlg(const std::string& Msg, vcl::TMsgDlgType DlgType, vcl::TMsgDlgButtons Buttons,
                               int HelpCtx) override;
  bool InputQuery(const std::string& ACaption, const std::string& APrompt, std::string& Value) override;
};

/// A form being designed ("Form1") with a translator, the settings of the editor in a scratch
/// place, and the fake dialogs installed.
class Editor : public ::testing::Test {
protected:
  Editor();
  ~Editor() override;

  /// Makes the editor on the translator and runs FormShow as showing it does, with the windows
  /// made but not shown (the handlers then act on the controls as the user's input would).
  VekEdit::TDlgEditor& Open();
  /// Frees the editor (as ShowEditor does after the modal loop).
  void Close();

  /// The items of a list box, in order.
  static std::vector<std::string> Items(const vcl::TListBox& List);
  /// Makes the item with text Key current and the only selected one, as a click does.
  void ClickKey(const std::string& Key);
  /// Selects exactly the ListAvail items given, as Ctrl+clicks do, and runs ListAvailClick.
  void SelectAvail(const std::vector<std::string>& Keys);
  /// Types Text into the translation box over what it held and leaves it.
  void Type(const std::string& Text);
  void Key(WORD Key);

  /// Writes a setting as a user could by hand.
  static void WriteSetting(const std::string& Ident, const std::string& Value);
  static std::string ReadSetting(const std::string& Ident);

  testing_support::ScratchDir FDir;
  FakeDialogs FDialogs;
  VekEdit::TEditorDialogs* FPrevious = nullptr;
  vcl::TForm* FForm = nullptr;
  Vek::TLumetra* FLmt = nullptr;
  std::unique_ptr<VekEdit::TDlgEditor> FEditor;
};

}  // namespace editor_test
