// A local printer for the print and printer-setup dialogs, which under Wine stay hidden behind
// a "no printer" message box while the system has none.
#pragma once

#include <string>

namespace win {

/// While it lives, the system has a default printer: when there is none, the constructor adds
/// a local PostScript printer on port FILE: (Wine's wineps.drv with generic.ppd) and makes it
/// the default; the destructor removes what the constructor added. Error() tells why a printer
/// could not be added (empty when one is there). The simulation needs none: it does nothing.
class LocalPrinter {
public:
  LocalPrinter();
  ~LocalPrinter();
  LocalPrinter(const LocalPrinter&) = delete;
  LocalPrinter& operator=(const LocalPrinter&) = delete;

  const std::string& Error() const { return FError; }

private:
#ifdef _WIN32
  void* FPrinter = nullptr;
  bool FDriverAdded = false;
#endif
  std::string FError;
};

/// Whether the system has a default printer. The simulation's print dialogs need none: true.
bool HasDefaultPrinter();

#ifndef _WIN32
inline LocalPrinter::LocalPrinter() = default;
inline LocalPrinter::~LocalPrinter() = default;
inline bool HasDefaultPrinter() { return true; }
#endif

}  // namespace win
