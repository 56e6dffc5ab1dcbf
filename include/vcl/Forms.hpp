// The application object, the screen, forms, data modules and the exit-procedure chain.
#pragma once

#include <string>

#include "vcl/Classes.hpp"

namespace vcl {

/// A mouse cursor; negative values are the stock cursors.
using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crHourGlass = -11;

/// The screen: holds the cursor the application shows.
class TScreen : public TComponent {
  VCL_DECLARE_CLASS
public:
  using TComponent::TComponent;
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value) { FCursor = Value; }

private:
  TCursor FCursor = crDefault;
};

/// The application object: owns the forms and data modules (its Components).
class TApplication : public TComponent {
  VCL_DECLARE_CLASS
public:
  using TComponent::TComponent;
  /// The full file name of the running executable.
  std::string ExeName() const;
  /// Overrides ExeName, for hosts whose program is not the application (tests, the IDE).
  void SetExeName(std::string Value) { FExeName = std::move(Value); }

private:
  std::string FExeName;
};

/// The global application and screen objects; they live for the whole process.
extern TApplication* const Application;
extern TScreen* const Screen;

/// A form: a window that owns the components placed on it.
class TForm : public TComponent {
  VCL_DECLARE_CLASS
public:
  using TComponent::TComponent;
};

/// A data module: a windowless container of components.
class TDataModule : public TComponent {
  VCL_DECLARE_CLASS
public:
  using TComponent::TComponent;
};

/// A procedure of the exit chain.
using TProcedure = void (*)();

/// The exit procedure to run at program end (or library unload); nullptr when none. A unit
/// that installs one keeps the previous value and puts it back when its procedure runs.
extern TProcedure ExitProc;

/// Runs the exit chain once: while ExitProc is set, clears it and calls what it held. Runs by
/// itself at program end; a library that can be unloaded calls it from its unload code.
void RunExitProcs();

}  // namespace vcl
