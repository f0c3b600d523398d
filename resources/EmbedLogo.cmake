# Writes the logo's source file: the PNG bytes of LOGO as one line of standard Base64 (RFC 4648,
# "=" padding) put into TEMPLATE, written to OUTPUT. Run by the build whenever the picture
# changes: cmake -DLOGO=... -DTEMPLATE=... -DOUTPUT=... -P EmbedLogo.cmake
cmake_minimum_required(VERSION 3.25)

set(alphabet "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")

# The four characters of the 24 bits that the hexadecimal digits give, padded on the right with
# zero digits to six.
function(encode_group digits out)
  string(LENGTH "${digits}" count)
  math(EXPR bits "0x${digits} << (4 * (6 - ${count}))")
  set(characters "")
  foreach(shift 18 12 6 0)
    math(EXPR index "(${bits} >> ${shift}) & 63")
    string(SUBSTRING "${alphabet}" ${index} 1 character)
    string(APPEND characters "${character}")
  endforeach()
  set(${out} "${characters}" PARENT_SCOPE)
endfunction()

file(READ "${LOGO}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR whole "${digits} / 6 * 6")

# Every three bytes become four characters.
set(LOGO_BASE64 "")
set(piece "")
set(at 0)
while(at LESS whole)
  string(SUBSTRING "${hex}" ${at} 6 group)
  encode_group(${group} characters)
  string(APPEND piece "${characters}")
  # Gathering a short piece first keeps the long text from being copied at every group.
  string(LENGTH "${piece}" size)
  if(size GREATER_EQUAL 4096)
    string(APPEND LOGO_BASE64 "${piece}")
    set(piece "")
  endif()
  math(EXPR at "${at} + 6")
endwhile()
string(APPEND LOGO_BASE64 "${piece}")

# One byte left over makes two characters and "==", two bytes three characters and "=".
if(digits GREATER whole)
  string(SUBSTRING "${hex}" ${whole} -1 rest)
  encode_group(${rest} characters)
  string(LENGTH "${rest}" left)
  if(left EQUAL 2)
    string(SUBSTRING "${characters}" 0 2 characters)
    string(APPEND LOGO_BASE64 "${characters}==")
  else()
    string(SUBSTRING "${characters}" 0 3 characters)
    string(APPEND LOGO_BASE64 "${characters}=")
  endif()
endif()

configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)
