// The standard dialog classes in one table: each class, the kind of dialog it shows and how to
// make one. The kind names the recording of that dialog (data/dialogs/<kind>.json, compiled into
// the window layer), which the simulation shows and the checks judge entries on.
#pragma once

#include <span>
#include <string_view>

#include "vcl/Classes.hpp"

namespace vcl {

class TCommonDialog;

/// One standard dialog class.
struct TStandardDialog {
  TClass (*Class)();  ///< its class reference (the class's StaticClass)
  const char* Kind;   ///< the recorded kind it shows: "open" for TOpenDialog, ...
  TCommonDialog* (*Make)(TComponent* AOwner);  ///< a new component of the class, owned by AOwner

  const std::string& ClassName() const { return Class()->ClassName(); }
};

/// Every standard dialog class, in the order the tools list them (open, save, font, colour,
/// print, printer setup, find, replace).
std::span<const TStandardDialog> StandardDialogs();
/// The standard dialog class of that name, or nullptr for any other name (descendants too).
const TStandardDialog* FindStandardDialog(std::string_view ClassName);
/// The standard dialog class Class is or descends from, the nearest; nullptr when it is none.
const TStandardDialog* StandardDialogOf(TClass Class);

}  // namespace vcl
