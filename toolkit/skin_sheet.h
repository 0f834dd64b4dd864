#pragma once
// The skin sheet: the bytes of the committed PNG, embedded at build time.
#include <cstddef>

extern const unsigned char zui_skin_sheet_png[];
extern const std::size_t zui_skin_sheet_png_size;
