// The resources of a package as data, for the systems whose modules carry no resources: the
// table that lumetra-pkgres generates per package.
#pragma once

#include <cstddef>

struct PackageResource {
  const char* Type;  // as FindResourceA takes it: "#10" raw data, "#2" bitmap, ...
  const char* Name;
  unsigned Language;
  const unsigned char* Data;
  std::size_t Size;
};

extern const PackageResource PackageResources[] __attribute__((visibility("hidden")));
extern const std::size_t PackageResourceCount __attribute__((visibility("hidden")));
