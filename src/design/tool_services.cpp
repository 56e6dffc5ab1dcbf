// The IDE host's tool services, set by the host integration.
#include "design/ToolIntf.hpp"

namespace design {

TIToolServices* ToolServices = nullptr;

}  // namespace design
