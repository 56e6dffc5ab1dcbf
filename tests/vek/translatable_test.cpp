// Which captured values are for translators: content of edit, combo and list boxes judged on the
// recorded dialogs, texts of digits only, and dialog classes of a form's own or registered.
#include <gtest/gtest.h>

#include "Vek.hpp"
#include "dialog_support.hpp"

using testing_support::TMyOpenDialog;

TEST(ForTranslation, ContentAndDigitsAreNotTexts) {
  const struct {
    const char* Line;
    bool ForTranslation;
  } cases[] = {
      {"TColorDialog.Caption[703]='Hue'", false},         // an edit box, whatever it holds
      {"TOpenDialog.Caption[1137]=' (C:)'", false},       // the folder combo box
      {"TFindDialog.Caption[-2]='x'", false},             // the edit box by its place
      {"TFindDialog.Caption[-1]='Fi&nd What:'", true},    // the label before it
      {"TOpenDialog.Caption[1090]='12'", false},          // a label of digits only
      {"TOpenDialog.Caption[1090]='1:'", true},
      {"TOpenDialog.Caption[4711]='x'", true},            // no such control recorded
      {"TColorDialog.Width[703]=30", true},               // sizes are no content
      {"TColorDialog.Caption[703]='x'#", true},           // no valid literal: the checks say so
  };
  for (const auto& c : cases) EXPECT_EQ(Vek::IsForTranslation(c.Line), c.ForTranslation) << c.Line;
}

TEST(ForTranslation, DescendantsAreJudgedOnTheirAncestorsDialog) {
  const std::string folder = "TMyOpenDialog.Caption[1137]=' (C:)'";
  EXPECT_EQ(Vek::RecordedKindOf("TOpenDialog"), "open");
  EXPECT_EQ(Vek::RecordedKindOf("TMyOpenDialog"), "") << "the standard classes only";
  EXPECT_EQ(Vek::DialogKindOf("TMyOpenDialog"), "") << "neither on a form nor registered";
  EXPECT_TRUE(Vek::IsForTranslation(folder));

  vcl::TComponent form(nullptr);
  new TMyOpenDialog(&form);
  EXPECT_EQ(Vek::DialogKindOf("TMyOpenDialog", &form), "open");
  EXPECT_FALSE(Vek::IsForTranslation(folder, &form));

  vcl::RegisterClass(TMyOpenDialog::StaticClass());
  EXPECT_EQ(Vek::DialogKindOf("TMyOpenDialog"), "open");
  EXPECT_FALSE(Vek::IsForTranslation(folder));
  vcl::UnRegisterClass(TMyOpenDialog::StaticClass());
}
