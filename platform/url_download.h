#pragma once
// The platform's synchronous download of an address to a file: 0 on success,
// otherwise the platform's error code (an HRESULT on Windows: the POSIX port
// answers with the same codes for the same cases).
#include <string_view>

namespace vt::platform {

constexpr long kInetResourceNotFound = static_cast<long>(0x800C0005L); // INET_E_RESOURCE_NOT_FOUND
constexpr long kInetDownloadFailure = static_cast<long>(0x800C0008L);  // INET_E_DOWNLOAD_FAILURE
constexpr long kInetCannotConnect = static_cast<long>(0x800C0004L);    // INET_E_CANNOT_CONNECT

long urlDownloadToFile(std::string_view url, std::string_view destination);

} // namespace vt::platform
