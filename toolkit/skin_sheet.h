#pragma once
// The skin sheets: the bytes of the committed PNGs, embedded at build time.
// The 2x sheet has the same layout with twice the pixels in each direction.
#include <cstddef>

extern const unsigned char zui_skin_sheet_png[];
extern const std::size_t zui_skin_sheet_png_size;
extern const unsigned char zui_skin_2x_sheet_png[];
extern const std::size_t zui_skin_2x_sheet_png_size;
