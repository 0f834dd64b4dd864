// Not yet built: placeholder bodies so that every layer links.
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include "framework/framework.h"

int32_t get_gadget(Ui& ui, const std::string& name) { return {}; }
int32_t get_number(Ui& ui, const std::string& name) { return {}; }
std::string name_of_number(Ui& ui, int32_t number) { return {}; }
std::string name_of_gadget(Ui& ui, int32_t gadget) { return {}; }
std::string get_text(Ui& ui, const std::string& name) { return {}; }
int32_t set_text(Ui& ui, const std::string& name, const std::string& text, int8_t force) { return {}; }
int32_t show_object(Ui& ui, const std::string& name, int8_t visible, int8_t force) { return {}; }
int32_t disable_object(Ui& ui, const std::string& name, int8_t disable) { return {}; }
int32_t pin_object(Ui& ui, const std::string& name) { return {}; }
int32_t set_color(Ui& ui, const std::string& name, int32_t colorType, int32_t color) { return {}; }
int32_t set_window_font(Ui& ui, const std::string& fontName, int16_t size, int32_t flags) { return {}; }
int32_t set_label(Ui& ui, const std::string& name, const std::string& text, int16_t labelWidth, int32_t backColor, int32_t frontColor) { return {}; }
int32_t set_button_strip(Ui& ui, const std::string& name, int16_t frameWidth, int32_t stripImage) { return {}; }
int32_t set_animation_strip(Ui& ui, const std::string& name, int16_t frameWidth, int32_t stripImage, int16_t firstFrame, int16_t lastFrame, int16_t startOffset) { return {}; }
int32_t show_animation_frame(Ui& ui, const std::string& name, int16_t n) { return {}; }
int32_t start_animation(Ui& ui, const std::string& name, int8_t mode, int16_t delay, int8_t keepFrame) { return {}; }
int32_t stop_animation(Ui& ui, const std::string& name) { return {}; }
int32_t select_tab(Ui& ui, const std::string& barName, int8_t index, int8_t redraw) { return {}; }
