// Not yet built: placeholder bodies so that every layer links.
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include "controls/controls.h"

int32_t draw_button_frame(Ui& ui, int16_t frame) { return {}; }
void button_hover(Ui& ui) {}
void button_leave(Ui& ui, int8_t force) {}
void button_press(Ui& ui) {}
void set_hovered_button(Ui& ui) {}
