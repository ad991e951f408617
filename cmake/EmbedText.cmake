# Writes OUTPUT, a C++ file defining `std::string_view FUNCTION()` in
# NAMESPACE that returns the bytes of INPUT, declared in HEADER.
#   cmake -DINPUT=... -DOUTPUT=... -DHEADER=... -DNAMESPACE=... -DFUNCTION=... -P EmbedText.cmake
file(READ ${INPUT} hex HEX)
# As byte values, since text would need escaping and a file may hold any byte.
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT}.new "// Generated from ${INPUT} by cmake/EmbedText.cmake.
#include \"${HEADER}\"

namespace {
const unsigned char kBytes[] = {
${bytes}0};
} // namespace

std::string_view ${NAMESPACE}::${FUNCTION}()
{
    return {reinterpret_cast<const char*>(kBytes), sizeof kBytes - 1};
}
")
file(RENAME ${OUTPUT}.new ${OUTPUT})
