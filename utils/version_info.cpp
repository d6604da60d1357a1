#include "utils/version_info.h"

#include <array>
#include <cstdio>
#include <optional>

#include "platform/version_resource.h"

namespace vt::utils {
namespace {

std::optional<platform::FileVersion> fileVersionOf(std::string_view path) {
  auto resource = platform::VersionResource::tryRead(path);
  return resource ? resource->fileVersion() : std::nullopt;
}

std::string atLeastTwoDigits(unsigned n) { return (n < 10 ? "0" : "") + std::to_string(n); }

std::string plain(const platform::FileVersion& v) {
  char text[32];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", v.major, v.minor, v.release, v.build);
  return text;
}

} // namespace

std::string VersionInfo::GetExeVersion(std::string_view AExePath) {
  auto v = fileVersionOf(AExePath);
  if (!v) return {};
  return "V" + std::to_string(v->major) + "." + atLeastTwoDigits(v->minor) + "." + atLeastTwoDigits(v->release) + "." +
         atLeastTwoDigits(v->build);
}

std::string VersionInfo::getFileVersion(std::string_view AFilePath) {
  auto v = fileVersionOf(AFilePath);
  return v ? plain(*v) : std::string();
}

// The program's own file is read from the platform's record of the running
// executable (not looked up by its bare name), so a file of the same name in
// the current folder can never answer in its place.
std::string VersionInfo::getAppVersionStr() {
  platform::VersionResource resource = platform::VersionResource::readOwn();
  auto v = resource.fileVersion();
  if (!v) throw platform::VersionResource::missingEntryError();
  return plain(*v);
}

std::string VersionInfo::getAppVersionInfoStr(int AInfo) {
  static constexpr std::array<const char*, 12> kKeys = {
      "\\CompanyName",   "\\FileDescription",  "\\FileVersion",      "\\InternalName",
      "\\LegalCopyright", "\\LegalTrademarks", "\\OriginalFileName", "\\ProductName",
      "\\ProductVersion", "\\Comments",        "\\PrivateBuild",     "\\SpecialBuild"};

  platform::VersionResource resource = platform::VersionResource::readOwn();
  auto translation = resource.firstTranslation();
  if (!translation) throw platform::VersionResource::missingEntryError();
  if (AInfo < 1 || AInfo > static_cast<int>(kKeys.size())) return {};
  std::string query = "\\StringFileInfo\\" + platform::translationKey(*translation) + kKeys[AInfo - 1];
  return resource.stringValue(query).value_or(std::string());
}

} // namespace vt::utils
