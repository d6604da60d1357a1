#pragma once
// The five entry points of Zendral, the maker's credentials library: the
// connection parameters of the primary online database server.
//
// Calling convention (one for all five, C linkage): the function writes its
// text as UTF-16 into `out`, at most `capacity` units, followed by a
// terminating zero when there is room, and returns the text's full length in
// UTF-16 units (without the zero). A buffer that was too small is filled as far
// as it goes; the caller calls again with at least the returned length + 1.
// `out` may be null when `capacity` is 0, to ask for the length alone.
#include <cstddef>

#if defined(_WIN32)
#  if defined(ZENDRAL_BUILDING)
#    define ZENDRAL_API __declspec(dllexport)
#  else
#    define ZENDRAL_API __declspec(dllimport)
#  endif
#else
#  define ZENDRAL_API __attribute__((visibility("default")))
#endif

extern "C" {
ZENDRAL_API std::size_t nameDB(char16_t* out, std::size_t capacity);     // "Database"
ZENDRAL_API std::size_t userNameDB(char16_t* out, std::size_t capacity); // "User_Name"
ZENDRAL_API std::size_t passDB(char16_t* out, std::size_t capacity);     // "Password"
ZENDRAL_API std::size_t serverDB(char16_t* out, std::size_t capacity);   // "Server"
ZENDRAL_API std::size_t portDB(char16_t* out, std::size_t capacity);     // "Port", as text
}

namespace vt::zendral {
// The type of each of the five entry points, for callers that bind them at
// run time.
using TextFunction = std::size_t (*)(char16_t* out, std::size_t capacity);
} // namespace vt::zendral
