// Not yet built: placeholder bodies so that every layer links.
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include "grid/grid.h"

int32_t grid_mouse(Ui& ui, int32_t mouseX, int32_t mouseY, int32_t eventType) { return {}; }
int8_t grid_key(Ui& ui, int32_t shortcutId) { return {}; }
void move_cursor(Ui& ui, int8_t mode, int16_t dc, int16_t dr) {}
void install_grid_shortcuts(Ui& ui) {}
void remove_grid_shortcuts(Ui& ui, int8_t keepEscape) {}
void step_expanders(Ui& ui) {}
