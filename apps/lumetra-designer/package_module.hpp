// A package loaded into the design host: mapped, started (Initialize, then Register with the
// module named for its registrations) and, when it goes, stopped in the reverse order.
#pragma once

#include <string>

#include "design/DsgnIntf.hpp"
#include "design/Packages.hpp"

namespace designer {

class PackageModule {
public:
  /// Loads the package FileName, runs its Initialize and its Register (when it exports one).
  /// Raises vcl::Exception naming the file when it cannot be loaded or lacks Initialize or
  /// Finalize; nothing stays loaded then.
  explicit PackageModule(std::string FileName);
  /// Drops the module's registrations, runs its Finalize and unloads it. The host frees the
  /// editors and components it made from the package before.
  ~PackageModule();
  PackageModule(const PackageModule&) = delete;
  PackageModule& operator=(const PackageModule&) = delete;

  const std::string& FileName() const { return FFileName; }
  design::TModuleHandle Handle() const { return FHandle; }
  /// Whether the package exported a Register that ran.
  bool Registered() const { return FRegistered; }
  /// The bytes of the package's resource (types and names as FindPackageResource takes them),
  /// or an empty string when it has none.
  std::string Resource(const char* Type, const char* Name) const;

private:
  void* Export(const char* Name) const;
  void Unload();

  std::string FFileName;
  void* FHandle = nullptr;
  design::TPackageProc FFinalize = nullptr;
  bool FRegistered = false;
};

}  // namespace designer
