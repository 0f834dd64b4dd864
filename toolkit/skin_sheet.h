#pragma once
// The skin sheets: the bytes of the committed PNGs, embedded at build time.
// The 2x sheet has the same layout with twice the pixels in each direction.
#include <cstddef>

/// The PNG bytes of the embedded skin sheet.
extern const unsigned char zui_skin_sheet_png[];
/// Their length.
extern const std::size_t zui_skin_sheet_png_size;
/// The PNG bytes of the embedded 2x skin sheet: the same layout and art
/// with twice the pixels each way.
extern const unsigned char zui_skin_2x_sheet_png[];
/// Their length.
extern const std::size_t zui_skin_2x_sheet_png_size;
