// What a host finds in a loaded package by export name: the unit table, the counted
// initialization and finalization, and (where the module format has no resources) the lookup
// of the package's resources.
#pragma once

#include <cstddef>

namespace design {

/// The initialization and finalization routine of one unit of a package.
struct TPackageUnitEntry {
  void (*Init)();
  void (*FInit)();
};

/// The package's unit table as GetPackageInfoTable answers it, in initialization order.
struct TPackageInfoTable {
  int UnitCount;
  const TPackageUnitEntry* UnitInfo;
};

/// "Initialize" and "Finalize": run every unit's part, in table order and in reverse order.
/// Each unit counts the calls: only the first Initialize runs its initialization, and only the
/// Finalize that brings the count back to zero runs its finalization.
using TPackageProc = void (*)();
/// "GetPackageInfoTable" (VekD4 and VekD3 only).
using TGetPackageInfoTable = const TPackageInfoTable* (*)();
/// "FindPackageResource": the resource of that type and name as FindResourceA takes them
/// ("#10" for raw data, "#2" a bitmap, "#14" an icon group, "#3" an icon, "#16" the version
/// block; "#1" a numeric name), its bytes as LoadResource gives them; Language and Size receive
/// its language and length. nullptr when the package has no such resource.
using TFindPackageResource = const void* (*)(const char* Type, const char* Name, unsigned* Language, std::size_t* Size);

}  // namespace design
