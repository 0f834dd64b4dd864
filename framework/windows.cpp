// Not yet built: placeholder bodies so that every layer links.
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include "framework/framework.h"

int32_t activate_window(Ui& ui, const std::string& windowName) { return {}; }
int32_t move_window(Ui& ui, const std::string& windowName, int16_t x, int16_t y) { return {}; }
int32_t resize_window(Ui& ui, const std::string& windowName, int16_t width, int16_t height) { return {}; }
int32_t get_window_number(Ui& ui, const std::string& windowName) { return {}; }
int32_t set_live_update(Ui& ui, const std::string& windowName, int8_t flag) { return {}; }
int32_t refresh_window(Ui& ui, const std::string& windowName) { return {}; }
int32_t close_window(Ui& ui, const std::string& windowName) { return {}; }
int32_t set_user_data(Ui& ui, const std::string& name, int32_t value) { return {}; }
int32_t set_absolute_position(Ui& ui, const std::string& name, int16_t absX, int16_t absY) { return {}; }
int32_t update_child_positions(Ui& ui, const std::string& name, int16_t absX, int16_t absY) { return {}; }
int32_t is_descendant(Ui& ui, const std::string& ancestor) { return {}; }
