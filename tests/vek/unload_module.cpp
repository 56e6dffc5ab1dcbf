// A module holding unit Vek on top of the shared class library, for the test that unloads it
// while dialog classes are registered.
#include "Vek.hpp"

#ifdef _WIN32
#define LUMETRA_EXPORT extern "C" __declspec(dllexport)
#else
#define LUMETRA_EXPORT extern "C" __attribute__((visibility("default")))
#endif

LUMETRA_EXPORT bool LumetraRegisterDialogClass(vcl::TClass AClass) { return Vek::RegisterDialogClass(AClass); }
LUMETRA_EXPORT vcl::TProcedure LumetraExitProcedure() { return &Vek::RestoreDialogClasses; }
LUMETRA_EXPORT void LumetraRegister() { Vek::Register(); }
