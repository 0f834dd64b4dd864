// Not yet built: placeholder bodies so that every layer links.
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include "framework/framework.h"

int32_t create_window(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, int16_t height, const std::string& title, int32_t flags) { return {}; }
int32_t create_text(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, int16_t height, const std::string& text, int32_t flags, const std::string& parent) { return {}; }
int32_t create_button(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, int16_t height, const std::string& text, int32_t flags, const std::string& parent) { return {}; }
int32_t create_image_button(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, int16_t height, int32_t image, const std::string& parent) { return {}; }
int32_t create_input(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, int16_t height, const std::string& text, int32_t flags, const std::string& parent) { return {}; }
int32_t create_combo(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, int16_t height, const std::string& text, int32_t flags, const std::string& parent) { return {}; }
int32_t create_list(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, int16_t height, const std::string& text, int32_t flags, const std::string& parent) { return {}; }
int32_t create_date(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, int16_t height, const std::string& mask, int32_t date, const std::string& parent) { return {}; }
int32_t create_check_box(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, int16_t height, int8_t state, const std::string& text, int32_t flags, const std::string& parent) { return {}; }
int32_t create_tree(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, int16_t height, const std::string& text, int32_t flags, const std::string& parent) { return {}; }
int32_t create_editor(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, int16_t height, const std::string& text, int32_t flags, const std::string& parent) { return {}; }
int32_t create_container(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, int16_t height, int32_t flags, const std::string& parent) { return {}; }
int32_t create_scroll_area(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, int16_t height, int32_t innerWidth, int32_t innerHeight, int32_t flags, const std::string& parent) { return {}; }
int32_t create_scroll_bar(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, int16_t height, int32_t minimum, int32_t maximum, int32_t pageLength, int32_t flags, const std::string& parent) { return {}; }
int32_t create_splitter(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, int16_t height, const std::string& firstChild, const std::string& secondChild, int16_t position, int8_t vertical, const std::string& parent) { return {}; }
int32_t create_picture(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, int16_t height, int32_t image, const std::string& parent) { return {}; }
int32_t create_image_button_skinned(Ui& ui, const std::string& name, int16_t x, int16_t y, int32_t image, const std::string& parent) { return {}; }
int32_t create_stretch_button(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, const std::string& caption, int32_t image, int8_t edgeWidth, int8_t toggleMode, const std::string& parent) { return {}; }
int32_t create_picture_container(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, int16_t height, int32_t image, const std::string& parent) { return {}; }
int32_t create_tab_bar(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, int32_t image, int8_t pieceWidth, int8_t equalWidths, const std::string& parent) { return {}; }
int32_t create_frame(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, int16_t height, int32_t image, int8_t pieceSize, const std::string& caption, const std::string& parent) { return {}; }
int32_t create_grid(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, int16_t height, int32_t image, int8_t pieceSize, const std::string& parent) { return {}; }
int32_t add_tab(Ui& ui, const std::string& barName, const std::string& key, const std::string& caption, const std::string& pageName, int16_t width) { return {}; }
