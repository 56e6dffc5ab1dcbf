// The folder a benchmark writes its files into: made once per run, under the system's temporary
// folder, with a name of its own; the benchmark's main removes it at the end.
#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace bench {

inline const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path folder = [] {
    std::filesystem::path p = std::filesystem::temp_directory_path() / ("lumetra-bench-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(p);
    return p;
  }();
  return folder;
}

}  // namespace bench
