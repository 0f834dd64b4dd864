# Turns INPUT into a C++ source defining its bytes as the constant array
# SYMBOL and its length as SYMBOL_size.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hexlen)
math(EXPR size "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
get_filename_component(name ${INPUT} NAME)
file(WRITE ${OUTPUT}
"// Generated at build time from assets/${name}; do not edit.\n"
"#include \"toolkit/skin_sheet.h\"\n"
"const unsigned char ${SYMBOL}[] = {\n${bytes}\n};\n"
"const std::size_t ${SYMBOL}_size = ${size};\n")
