# vt_byte_array(<file> <bytes variable> <size variable>)
# The bytes of a file as the initializer of a C++ unsigned char array
# ("0x4d,0x5a,...", sixteen a line) and how many there are. For scripts that
# write a file's bytes into a C++ source.
function(vt_byte_array file bytes_var size_var)
  file(READ "${file}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  # CMake's expressions have no counted repetition: sixteen items written out.
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n"
         bytes "${bytes}")
  set(${bytes_var} "${bytes}" PARENT_SCOPE)
  set(${size_var} ${size} PARENT_SCOPE)
endfunction()
