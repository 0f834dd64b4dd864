#pragma once
// Small helpers shared by the skinned controls and the dispatcher.
#include <cstdint>

#include "controls/control_records.h"
#include "framework/framework.h"
#include "framework/ui.h"
#include "toolkit/tk.h"

namespace zui {


// Shows a composed image in an image gadget.
inline void show_in_gadget(int32_t gadget, int32_t image) {
  if (gadget != 0 && tk_gadget_exists(gadget) && tk_image_exists(image))
    tk_set_gadget_state(gadget, tk_image_handle(image));
}

// Text drawn into skinned images: no background, the font of the object's
// window if set.
inline void use_skin_text_settings(Ui& ui, const NamedObject& o) {
  tk_drawing_mode(TK_DRAW_TRANSPARENT);
  tk_drawing_font(window_font_handle(ui, o));  // -1, the default, when none is set
}

// Cuts a rectangle of a source image into a new image; 0 when it fails.
inline int32_t cut_image(int32_t source, int32_t x, int32_t y, int32_t w, int32_t h) {
  if (w <= 0 || h <= 0) return 0;
  return tk_grab_image_region(source, -1, x, y, w, h);
}

inline void free_image_if_valid(int32_t image) {
  if (image != 0 && tk_image_exists(image)) tk_free_image(image);
}

// The hooks each kind registers (button.cpp, tab_bar.cpp, splitter.cpp,
// scroll_bar.cpp); register_control_kinds puts them together.
void add_button_hooks(KindBehaviour& button);
void add_tab_bar_hooks(KindBehaviour& tabBar);
KindBehaviour splitter_behaviour();
KindBehaviour scroll_bar_behaviour();

// Screen-reader descriptions and keys of the skinned kinds (accessible.cpp).
void add_control_descriptions(KindBehaviour& button, KindBehaviour& picture,
                              KindBehaviour& tabBar, KindBehaviour& frame);

}  // namespace zui
