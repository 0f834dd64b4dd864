// Drawing of a nine-slice box (framework/nine_slice.h).
#include "framework/nine_slice.h"

#include "toolkit/tk.h"

namespace zui {

void draw_nine_slice(const NineSliceImages& pieces, int32_t W, int32_t H, int32_t s,
                     bool captioned) {
  for (const NineSlicePart& part : nine_slice_parts(W, H, s, captioned)) {
    const int32_t image = pieces[static_cast<size_t>(part.piece)];
    if (!part.drawn || image == 0) continue;
    if (part.stretched)
      tk_draw_image(tk_image_handle(image), part.x, part.y, part.w, part.h);
    else
      tk_draw_image(tk_image_handle(image), part.x, part.y);
  }
}

}  // namespace zui
