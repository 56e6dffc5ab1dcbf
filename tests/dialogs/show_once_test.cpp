// Showing a dialog component for an instant: the action sees it up, once, and it is cancelled
// afterwards; what the action raises comes out once the dialog is closed.
#include <memory>

#include "test_support.hpp"
#include "vcl/Dialogs.hpp"

using namespace vcl;

namespace {

template <class T>
std::unique_ptr<TCommonDialog> Make() {
  return std::make_unique<T>(nullptr);
}

const struct {
  const char* Name;
  std::unique_ptr<TCommonDialog> (*Make)();
} Kinds[] = {
    {"open", &Make<TOpenDialog>},  {"save", &Make<TSaveDialog>}, {"font", &Make<TFontDialog>},
    {"colour", &Make<TColorDialog>}, {"find", &Make<TFindDialog>}, {"replace", &Make<TReplaceDialog>},
};

TEST(ShowDialogOnce, ActsOnceOnTheShownDialogAndCancelsIt) {
  for (const auto& k : Kinds) {
    SCOPED_TRACE(k.Name);
    const std::unique_ptr<TCommonDialog> dialog = k.Make();
    int acted = 0;
    HWND seen = nullptr;
    bool visible = false;
    EXPECT_TRUE(ShowDialogOnce(*dialog, [&](HWND Shown) {
      ++acted;
      seen = Shown;
      visible = IsWindowVisible(Shown) != 0;
      EXPECT_EQ(Shown, dialog->Handle());
    }));
    EXPECT_EQ(acted, 1);
    EXPECT_NE(seen, nullptr);
    EXPECT_TRUE(visible);
    EXPECT_EQ(dialog->Handle(), nullptr) << "closed";
    EXPECT_FALSE(IsWindow(seen));
    EXPECT_TRUE(IsWindowEnabled(Application->Handle()));
  }
}

TEST(ShowDialogOnce, ShowsAFileDialogWithoutChangingTheFolderAndKeepsItsOptions) {
  TOpenDialog dialog(nullptr);
  const TOpenOptions options = ofHideReadOnly;
  dialog.SetOptions(options);
  TOpenOptions during = 0;
  EXPECT_TRUE(ShowDialogOnce(dialog, [&](HWND) { during = dialog.Options(); }));
  EXPECT_EQ(during, options | ofNoChangeDir);
  EXPECT_EQ(dialog.Options(), options);
}

TEST(ShowDialogOnce, RaisesWhatTheActionRaisedOnceTheDialogIsClosed) {
  for (const auto& k : Kinds) {
    SCOPED_TRACE(k.Name);
    const std::unique_ptr<TCommonDialog> dialog = k.Make();
    HWND seen = nullptr;
    EXPECT_THROW_MSG(ShowDialogOnce(*dialog,
                                    [&](HWND Shown) {
                                      seen = Shown;
                                      throw EConvertError("cannot read " + dialog->ClassName());
                                    }),
                     EConvertError, "cannot read " + dialog->ClassName());
    EXPECT_NE(seen, nullptr);
    EXPECT_FALSE(IsWindow(seen)) << "closed before the error went on";
    EXPECT_EQ(dialog->Handle(), nullptr);
    EXPECT_EQ(Application->TakeHookException(), nullptr);
  }
}

}  // namespace
