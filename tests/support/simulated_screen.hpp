// A simulated screen of another DPI for the span of a test.
#pragma once

#include "win/api.h"

namespace testing_support {

#ifndef _WIN32
/// The simulated screen at Dpi pixels per inch while the object lives, at 96 afterwards.
class SimulatedScreenAt {
public:
  explicit SimulatedScreenAt(int Dpi) { SetScreenPixelsPerInch(Dpi); }
  ~SimulatedScreenAt() { SetScreenPixelsPerInch(96); }
  SimulatedScreenAt(const SimulatedScreenAt&) = delete;
  SimulatedScreenAt& operator=(const SimulatedScreenAt&) = delete;
};
#endif


}  // namespace testing_support
