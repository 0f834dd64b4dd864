# Turns INPUT into a C++ source defining the bytes as a constant array.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hexlen)
math(EXPR size "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){16})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUTPUT}
"// Generated at build time from assets/skin.png; do not edit.\n"
"#include \"toolkit/skin_sheet.h\"\n"
"const unsigned char zui_skin_sheet_png[] = {\n${bytes}\n};\n"
"const std::size_t zui_skin_sheet_png_size = ${size};\n")
