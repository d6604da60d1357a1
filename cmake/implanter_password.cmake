# The implanter password of the terminal's first-run registration. The build
# keeps only a salted SHA-256 digest of it: the salt is random, made once per
# build folder, and the generated header holds the salt and the digest, never
# the password. The program digests salt + the typed text in lower case.
set(VANTORIM_IMPLANTER_PASSWORD "implantador-quorvelin" CACHE STRING
    "The implanter password (lower case) asked for at a terminal's first-run registration")
if(NOT DEFINED CACHE{VANTORIM_IMPLANTER_SALT})
  string(RANDOM LENGTH 32 ALPHABET 0123456789abcdef salt)
  set(VANTORIM_IMPLANTER_SALT "${salt}" CACHE INTERNAL "Salt of the implanter password's digest, one per build folder")
endif()
string(TOLOWER "${VANTORIM_IMPLANTER_PASSWORD}" vt_implanter_lower)
string(SHA256 VT_IMPLANTER_DIGEST "${VANTORIM_IMPLANTER_SALT}${vt_implanter_lower}")
unset(vt_implanter_lower)

set(VT_IMPLANTER_INCLUDE_DIR ${CMAKE_BINARY_DIR}/generated/implanter)
configure_file(${CMAKE_CURRENT_LIST_DIR}/implanter_password_digest.h.in
               ${VT_IMPLANTER_INCLUDE_DIR}/implanter_password_digest.h @ONLY)
