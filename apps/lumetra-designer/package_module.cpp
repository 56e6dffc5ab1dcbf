// Loading and unloading packages in the design host.
#include "package_module.hpp"

#include "vcl/SysUtils.hpp"
#include "win/api.h"

#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace designer {

PackageModule::PackageModule(std::string FileName) : FFileName(std::move(FileName)) {
#ifdef _WIN32
  FHandle = LoadLibraryA(FFileName.c_str());
  if (!FHandle) throw vcl::Exception(FFileName + ": cannot load the package (error " + std::to_string(GetLastError()) + ")");
#else
  FHandle = dlopen(FFileName.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!FHandle) {
    const char* why = dlerror();
    throw vcl::Exception(FFileName + ": cannot load the package: " + (why ? why : "unknown error"));
  }
#endif
  auto initialize = reinterpret_cast<design::TPackageProc>(Export("Initialize"));
  FFinalize = reinterpret_cast<design::TPackageProc>(Export("Finalize"));
  if (!initialize || !FFinalize) {
    Unload();
    throw vcl::Exception(FFileName + ": not a package: it exports no Initialize and Finalize");
  }
  initialize();
  if (auto registerProc = reinterpret_cast<design::TPackageProc>(Export("Register"))) {
    try {
      design::TCurrentModule current(FHandle);
      registerProc();
      FRegistered = true;
    } catch (...) {
      design::DropModuleRegistrations(FHandle);
      FFinalize();
      Unload();
      throw;
    }
  }
}

PackageModule::~PackageModule() {
  design::DropModuleRegistrations(FHandle);
  FFinalize();
  Unload();
}

void* PackageModule::Export(const char* Name) const {
#ifdef _WIN32
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(FHandle), Name));
#else
  return dlsym(FHandle, Name);
#endif
}

void PackageModule::Unload() {
#ifdef _WIN32
  FreeLibrary(static_cast<HMODULE>(FHandle));
#else
  dlclose(FHandle);
#endif
  FHandle = nullptr;
}

std::string PackageModule::Resource(const char* Type, const char* Name) const {
  auto find = reinterpret_cast<design::TFindPackageResource>(Export("FindPackageResource"));
  std::size_t size = 0;
  const void* data = find ? find(Type, Name, nullptr, &size) : nullptr;
  return data ? std::string(static_cast<const char*>(data), size) : std::string();
}

}  // namespace designer
