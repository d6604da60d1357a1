#pragma once
// The credentials answered by the Zendral library.
//
// The library is bound when this object is made: the program makes it at
// start, with the path of Zendral.dll beside the launcher, and a missing
// library or entry point stops the start there (CredentialsError), before any
// module runs. It is loaded by path rather than imported at link time so that
// the same binding serves the launcher, the tests (a copy built with the test
// server's values) and both platforms. The library stays loaded for the life
// of the process.
#include <stdexcept>
#include <string>
#include <string_view>

#include "credentials/zendral.h"
#include "online/credentials.h"
#include "platform/dynamic_library.h"

namespace vt {

class CredentialsError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class ZendralCredentials : public Credentials {
public:
  // Loads the library at `libraryPath` (a Windows path) and binds its five
  // entry points; CredentialsError when the library or one of them is missing.
  explicit ZendralCredentials(std::string_view libraryPath);

  std::string nameDB() override { return call(nameDB_); }
  std::string userNameDB() override { return call(userNameDB_); }
  std::string passDB() override { return call(passDB_); }
  std::string serverDB() override { return call(serverDB_); }
  std::string portDB() override { return call(portDB_); }

private:
  // The UTF-16 text of one entry point, as UTF-8.
  static std::string call(zendral::TextFunction function);

  platform::DynamicLibrary library_;
  zendral::TextFunction nameDB_ = nullptr;
  zendral::TextFunction userNameDB_ = nullptr;
  zendral::TextFunction passDB_ = nullptr;
  zendral::TextFunction serverDB_ = nullptr;
  zendral::TextFunction portDB_ = nullptr;
};

// UTF-16 text as UTF-8 (an unpaired surrogate becomes U+FFFD).
std::string utf16ToUtf8(std::u16string_view text);

} // namespace vt
