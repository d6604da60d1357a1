#pragma once
// The printers of the machine: the list the platform keeps, the user's
// default printer and the platform's own profile (the "windows" section of
// win.ini) where the oldest way of choosing a default lives.
//
// Windows asks the print spooler. POSIX asks CUPS, the nearest real
// counterpart: its destinations (queues, and instances as "queue/instance")
// in CUPS's order, and the user's default destination (lpoptions, as
// `lpoptions -d` sets it; the variables LPDEST and PRINTER still override it
// for the user, as CUPS wants). A CUPS queue on another server, written by
// CUPS as "queue@host", is listed in the Windows form of a network printer,
// "\\host\queue", and found again by that name. The platform's profile is
// C:\Windows\win.ini of the mapped drive.
//
// Failures are the platform's errors (OsError): the spooler's code on
// Windows; on POSIX ENODEV for a printer that is not listed and the CUPS
// message for a refused change.
#include <string>
#include <string_view>
#include <vector>

#include "platform/os_error.h"

namespace vt::platform {

// The platform's error for a printer it does not list (Windows
// ERROR_INVALID_PRINTER_NAME, POSIX ENODEV).
OsError printerNotListedError();

// The names of the printers, in the platform's order (Windows: the local
// printers and the network printer connections).
std::vector<std::string> printerNames();

// What the profile's "device" entry names: the printer, its driver and its
// port (POSIX: the queue's make and model and its device URI).
struct PrinterDevice {
  std::string device;
  std::string driver;
  std::string port;
};
PrinterDevice printerDevice(std::string_view name);

// Makes the printer the user's default. Windows: SetDefaultPrinterW taken
// from winspool.drv on NT 5 and later, the printer's "default" attribute at
// level 2 on older systems. An empty name is refused (the spooler would pick
// a default of its own for it).
void setDefaultPrinter(std::string_view name);

// The user's default printer; empty when there is none.
std::string defaultPrinter();

// The platform's own profile (Windows: WriteProfileString, the "win.ini" the
// system maps to the registry). False when the write is refused.
bool writePlatformProfile(std::string_view section, std::string_view key, std::string_view value);
std::string readPlatformProfile(std::string_view section, std::string_view key);

#ifdef _WIN32
// The older systems' way, kept callable on its own: open the printer, read its
// level-2 information, add the "default" attribute and write it back.
void setDefaultPrinterByAttribute(std::string_view name);
#endif

} // namespace vt::platform
