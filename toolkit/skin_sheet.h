#pragma once
// The skin sheet: the bytes of the committed PNG, embedded at build time.
#include <cstddef>

/// The PNG bytes of the embedded skin sheet.
extern const unsigned char zui_skin_sheet_png[];
/// Their length.
extern const std::size_t zui_skin_sheet_png_size;
