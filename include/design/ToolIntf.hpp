// What the IDE host tells the design-time code: the project being designed.
#pragma once

#include <string>

namespace design {

/// The IDE host's tool services.
class TIToolServices {
public:
  virtual ~TIToolServices() = default;
  /// The full file name of the current project; empty when no project is open.
  virtual std::string GetProjectName() = 0;
};

/// The tool services of the IDE host that loaded us, or nullptr outside an IDE host. The host
/// integration sets it when it loads the design-time code and clears it when it unloads.
extern TIToolServices* ToolServices;

}  // namespace design
