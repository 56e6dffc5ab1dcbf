// Adds and removes the local printer that the print dialogs need under Wine.
#include "win/printer.h"

#include "win/api.h"
#include <winspool.h>

namespace win {

namespace {
char DriverName[] = "Lumetra PostScript";
char PrinterName[] = "Lumetra Printer";
}  // namespace

bool HasDefaultPrinter() {
  char current[256];
  DWORD size = sizeof current;
  return GetDefaultPrinterA(current, &size) != FALSE;
}

LocalPrinter::LocalPrinter() {
  if (HasDefaultPrinter()) return;

  char driverPath[] = "wineps.drv", dataFile[] = "generic.ppd";
  DRIVER_INFO_3A driver{};
  driver.cVersion = 3;
  driver.pName = DriverName;
  driver.pDriverPath = driverPath;
  driver.pDataFile = dataFile;
  driver.pConfigFile = driverPath;
  if (!AddPrinterDriverExA(nullptr, 3, reinterpret_cast<LPBYTE>(&driver), APD_COPY_NEW_FILES)) {
    FError = "AddPrinterDriverExA failed with error " + std::to_string(GetLastError());
    return;
  }
  FDriverAdded = true;
  char port[] = "FILE:", processor[] = "WinPrint", datatype[] = "RAW";
  PRINTER_INFO_2A info{};
  info.pPrinterName = PrinterName;
  info.pPortName = port;
  info.pDriverName = DriverName;
  info.pPrintProcessor = processor;
  info.pDatatype = datatype;
  info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
  FPrinter = AddPrinterA(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
  if (!FPrinter) {
    FError = "AddPrinterA failed with error " + std::to_string(GetLastError());
    return;
  }
  if (!SetDefaultPrinterA(PrinterName)) FError = "SetDefaultPrinterA failed with error " + std::to_string(GetLastError());
}

LocalPrinter::~LocalPrinter() {
  if (FPrinter) {
    DeletePrinter(FPrinter);
    ClosePrinter(FPrinter);
  }
  if (FDriverAdded) DeletePrinterDriverA(nullptr, nullptr, DriverName);
}

}  // namespace win
