#pragma once
// the version information of executables of the utility module (a facet of TdmUtils).

namespace vt::utils {

struct VersionInfo {
};

} // namespace vt::utils
