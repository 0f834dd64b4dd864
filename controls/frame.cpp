// Skinned frames: a box of corners, edges and centre fill cut from a strip
// of square pieces, with an optional caption centred in its header band.
#include <array>

#include "controls/controls.h"
#include "controls/controls_internal.h"
#include "controls/frame_geometry.h"
#include "framework/framework.h"
#include "toolkit/tk.h"
#include "toolkit/tk_image_owner.h"

namespace zui {

int32_t draw_frame(Ui& ui, NamedObject& o) {
  if (!o.canvas || drawing_owed(ui, o)) return 0;
  CanvasRecord& c = *o.canvas;
  if (!tk_image_exists(c.sourceImage) || !tk_image_exists(c.canvasImage)) return 0;
  const int32_t W = o.width, H = o.height, s = c.iconSize;
  // Nothing sensible can be composed without a size or a piece size.
  if (W <= 0 || H <= 0 || s <= 0) return 0;

  tk_resize_image(c.canvasImage, W, H);
  tk_start_drawing(tk_image_output(c.canvasImage));
  use_skin_text_settings(ui, o);

  const bool captioned = !o.caption.empty();
  // The pieces live only while the box is drawn.
  std::array<TkImage, NinePiece::Count> owned;
  NineSliceImages pieces{};
  for (const FramePart& part : frame_parts(W, H, s, captioned)) {
    if (!part.drawn) continue;
    owned[part.piece].reset(cut_image(c.sourceImage, part.piece * s, 0, s, s));
    pieces[part.piece] = owned[part.piece].get();
  }
  draw_nine_slice(pieces, W, H, s, captioned);
  if (captioned) {
    const int32_t tw = tk_text_width(o.caption);
    const int32_t th = tk_text_height(o.caption);
    tk_draw_text((W - tw) / 2, (s - th) / 2, o.caption, 0xFFFFFF);
  }

  tk_stop_drawing();
  show_in_gadget(o.gadget, c.canvasImage);
  return 0;
}

}  // namespace zui
