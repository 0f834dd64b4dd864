// Not yet built: placeholder bodies so that every layer links.
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include "grid/grid.h"

int32_t move_object(Ui& ui, const std::string& name, int16_t x, int16_t y, int8_t apply) { return {}; }
int32_t resize_object(Ui& ui, const std::string& name, int16_t width, int16_t height, int8_t apply) { return {}; }
void create_grid_scroll_bar(Ui& ui, const std::string& grid, int8_t vertical) {}
void update_grid_scroll_bars(Ui& ui, int32_t endX, int32_t endY, int32_t columnCounter, int32_t shownRows) {}
