#pragma once
// The MySQL client library the suites load, as the installation carries it:
// a file named libmySQL.dll. On Linux it is MariaDB Connector/C's shared
// library; on Windows (under Wine) the Connector/C DLL that
// scripts/client-library builds from Debian's source package, which the
// build copies beside every test program.
#include <filesystem>
#include <string>

namespace vt::test {

// The folder of the running test program (host path).
std::filesystem::path testProgramFolder();

// The client library itself (host path).
std::filesystem::path clientLibraryFile();

// The client library placed at a Windows path (normally
// "C:\Quorvelin\libmySQL.dll"): a link on Linux, a copy on Windows.
void placeClientLibrary(const std::string& windowsPath);

} // namespace vt::test
