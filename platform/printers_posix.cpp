#include "platform/printers.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include <cups/cups.h>

#include "platform/os_error.h"
#include "platform/profile.h"

namespace vt::platform {
namespace {

constexpr std::string_view kPlatformProfile = "C:\\Windows\\win.ini";

OsError systemError(long code, const std::string& message) {
  return OsError(code, "System Error.  Code: " + std::to_string(code) + ".\n" + message);
}

// The destinations CUPS lists for this user (the server's queues and the
// instances of lpoptions), freed with the list.
class Destinations {
public:
  Destinations() : count_(cupsGetDests2(CUPS_HTTP_DEFAULT, &dests_)) {}
  ~Destinations() { cupsFreeDests(count_, dests_); }
  Destinations(const Destinations&) = delete;
  Destinations& operator=(const Destinations&) = delete;

  cups_dest_t* begin() const { return dests_; }
  cups_dest_t* end() const { return dests_ + count_; }
  int count() const { return count_; }
  cups_dest_t* data() const { return dests_; }

private:
  cups_dest_t* dests_ = nullptr;
  int count_;
};

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// "queue@host" is CUPS's name of a queue on another server; Windows writes a
// network printer "\\host\queue".
std::string listedName(const cups_dest_t& dest) {
  std::string name = dest.name;
  const size_t at = name.find('@');
  if (at != std::string::npos && at > 0 && at + 1 < name.size())
    name = "\\\\" + name.substr(at + 1) + "\\" + name.substr(0, at);
  if (dest.instance) name += std::string("/") + dest.instance;
  return name;
}

cups_dest_t* findListed(const Destinations& dests, std::string_view name) {
  if (name.empty()) return nullptr;
  for (cups_dest_t& dest : dests)
    if (sameName(listedName(dest), name)) return &dest;
  return nullptr;
}

std::string option(const cups_dest_t& dest, const char* name) {
  const char* value = cupsGetOption(name, dest.num_options, dest.options);
  return value ? value : "";
}

} // namespace

OsError printerNotListedError() { return systemError(ENODEV, std::strerror(ENODEV)); }

std::vector<std::string> printerNames() {
  Destinations dests;
  std::vector<std::string> names;
  for (const cups_dest_t& dest : dests) names.push_back(listedName(dest));
  return names;
}

PrinterDevice printerDevice(std::string_view name) {
  Destinations dests;
  const cups_dest_t* dest = findListed(dests, name);
  if (!dest) throw printerNotListedError();
  return {listedName(*dest), option(*dest, "printer-make-and-model"), option(*dest, "device-uri")};
}

void setDefaultPrinter(std::string_view name) {
  Destinations dests;
  cups_dest_t* chosen = findListed(dests, name);
  if (!chosen) throw printerNotListedError();
  for (cups_dest_t& dest : dests) dest.is_default = 0;
  chosen->is_default = 1;
  errno = 0;
  if (cupsSetDests2(CUPS_HTTP_DEFAULT, dests.count(), dests.data()) != 0) {
    const long code = errno ? errno : EIO;
    throw systemError(code, cupsLastErrorString());
  }
}

std::string defaultPrinter() {
  std::unique_ptr<cups_dest_t, void (*)(cups_dest_t*)> dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr),
                                                            [](cups_dest_t* d) { cupsFreeDests(1, d); });
  return dest ? listedName(*dest) : std::string();
}

bool writePlatformProfile(std::string_view section, std::string_view key, std::string_view value) {
  return profileWrite(section, key, value, kPlatformProfile);
}

std::string readPlatformProfile(std::string_view section, std::string_view key) {
  return profileRead(section, key, kPlatformProfile);
}

} // namespace vt::platform
