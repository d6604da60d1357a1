#pragma once
// the version information of executables of the utility module (a facet of TdmUtils).
#include <string>
#include <string_view>

namespace vt::utils {

struct VersionInfo {
  // "V" + major + "." + minor, release and build of at least two digits
  // ("V1.02.03.45"); empty when the file has no readable version.
  static std::string GetExeVersion(std::string_view AExePath);
  // major.minor.release.build written plainly ("1.2.3.45"); empty when the
  // file has no readable version.
  static std::string getFileVersion(std::string_view AFilePath);
  // The running program's file version ("%d.%d.%d.%d"); raises the
  // platform's error (vt::platform::OsError) when it cannot be read.
  static std::string getAppVersionStr();
  // One version string of the running program chosen by AInfo (1
  // CompanyName ... 12 SpecialBuild); empty for AInfo outside 1 to 12 or a
  // key the resource lacks. Raises the platform's error when the resource or
  // its translation table cannot be read.
  static std::string getAppVersionInfoStr(int AInfo);
};

} // namespace vt::utils
