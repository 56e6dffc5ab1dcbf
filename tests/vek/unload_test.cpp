// Unloading the module that holds unit Vek before the program ends: every class it registered
// gets its own entry back, and the exit chain no longer leads into the module.
#include <memory>

#include "design/DsgnIntf.hpp"
#include "test_support.hpp"
#include "vcl/Dialogs.hpp"

#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace {

// The module, loaded for the life of the object (or until Unload).
class Module {
public:
  Module() {
#ifdef _WIN32
    FHandle = LoadLibraryA(LUMETRA_VEK_MODULE);
#else
    FHandle = dlopen(LUMETRA_VEK_MODULE, RTLD_NOW | RTLD_LOCAL);
#endif
  }
  ~Module() { Unload(); }
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  bool Loaded() const { return FHandle != nullptr; }
  design::TModuleHandle Handle() const { return FHandle; }
  template <class F>
  F Function(const char* Name) const {
#ifdef _WIN32
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(FHandle), Name)));
#else
    return reinterpret_cast<F>(dlsym(FHandle, Name));
#endif
  }
  void Unload() {
    if (!FHandle) return;
#ifdef _WIN32
    FreeLibrary(static_cast<HMODULE>(FHandle));
#else
    dlclose(FHandle);
#endif
    FHandle = nullptr;
  }

private:
  void* FHandle = nullptr;
};

vcl::TCodePointer HookEntryOf(vcl::TClass AClass) { return AClass->Entry(vcl::TCommonDialog::MessageHookSlot()); }

}  // namespace

TEST(Unload, RegisteredClassesGetTheirEntriesBackWhenTheModuleGoesAway) {
  const vcl::TClass classes[] = {vcl::TOpenDialog::StaticClass(), vcl::TFindDialog::StaticClass()};
  const vcl::TCodePointer own[] = {HookEntryOf(classes[0]), HookEntryOf(classes[1])};
  const vcl::TProcedure exitBefore = vcl::ExitProc;

  for (int load = 0; load < 2; ++load) {  // loading again starts the unit again
    Module module;
    ASSERT_TRUE(module.Loaded()) << LUMETRA_VEK_MODULE;
    auto registerClass = module.Function<bool (*)(vcl::TClass)>("LumetraRegisterDialogClass");
    auto exitProcedure = module.Function<vcl::TProcedure (*)()>("LumetraExitProcedure");
    ASSERT_TRUE(registerClass && exitProcedure);
    EXPECT_EQ(vcl::ExitProc, exitProcedure()) << "the unit chained its exit procedure";
    EXPECT_NE(vcl::GetClass("TLumetra"), nullptr) << "forms can construct the translator";
    for (vcl::TClass c : classes) ASSERT_TRUE(registerClass(c));
    EXPECT_NE(HookEntryOf(classes[0]), own[0]);
    EXPECT_NE(HookEntryOf(classes[1]), own[1]);

    module.Unload();
    EXPECT_EQ(HookEntryOf(classes[0]), own[0]);
    EXPECT_EQ(HookEntryOf(classes[1]), own[1]);
    EXPECT_EQ(vcl::ExitProc, exitBefore);
    EXPECT_EQ(vcl::GetClass("TLumetra"), nullptr) << "no constructor left pointing into the module";
  }

  // The dialogs' message hooks lead into the class library again.
  vcl::TOpenDialog dialog(nullptr);
  vcl::TMessage message{WM_NULL, 0, 0, 0};
  EXPECT_FALSE(dialog.MessageHook(message));
}

TEST(Unload, RegistrationsGoWithTheModule) {
  for (bool hostDrops : {true, false}) {
    SCOPED_TRACE(hostDrops ? "the host drops them before unloading" : "the host forgets to");
    Module module;
    ASSERT_TRUE(module.Loaded()) << LUMETRA_VEK_MODULE;
    auto registerPackage = module.Function<void (*)()>("LumetraRegister");
    ASSERT_TRUE(registerPackage);
    {
      design::TCurrentModule current(module.Handle());
      registerPackage();
    }
    const vcl::TClass lumetra = vcl::GetClass("TLumetra");
    ASSERT_NE(lumetra, nullptr);
    EXPECT_EQ(design::PaletteClasses("Brevane"), std::vector<vcl::TClass>{lumetra});
    EXPECT_EQ(design::GetPropertyEditorClass(lumetra, *lumetra->FindProperty("FileName")).Name, "TLmtFileNameProperty");
    {
      std::unique_ptr<vcl::TComponent> translator(lumetra->Create(nullptr));
      EXPECT_EQ(design::GetComponentEditor(translator.get(), nullptr)->GetVerbCount(), 3);
    }
    if (hostDrops) design::DropModuleRegistrations(module.Handle());
    module.Unload();
    EXPECT_TRUE(design::PropertyEditorRegistrations().empty());
    EXPECT_TRUE(design::ComponentEditorRegistrations().empty());
    EXPECT_TRUE(design::PalettePages().empty());
  }
}
