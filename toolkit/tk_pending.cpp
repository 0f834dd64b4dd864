// Not yet built: placeholder bodies so that every layer links.
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include "toolkit/tk.h"


void tk_close_all_windows() {}
int32_t tk_open_window(int32_t number, int32_t x, int32_t y, int32_t innerWidth, int32_t innerHeight, const std::string& title, int32_t flags) { return {}; }
int32_t tk_hide_window(int32_t window, int32_t state) { return {}; }
int32_t tk_resize_window(int32_t window, int32_t x, int32_t y, int32_t innerWidth, int32_t innerHeight) { return {}; }
int32_t tk_window_inner_width(int32_t window) { return {}; }
int32_t tk_window_inner_height(int32_t window) { return {}; }
int32_t tk_window_x(int32_t window) { return {}; }
int32_t tk_window_y(int32_t window) { return {}; }
int32_t tk_window_handle(int32_t window) { return {}; }
int32_t tk_window_mouse_x(int32_t window) { return {}; }
int32_t tk_window_mouse_y(int32_t window) { return {}; }
int32_t tk_activate_window(int32_t window) { return {}; }
int32_t tk_active_window() { return {}; }
int32_t tk_close_window(int32_t window) { return {}; }
int32_t tk_create_text_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h, const std::string& text, int32_t flags) { return {}; }
int32_t tk_create_string_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h, const std::string& text, int32_t flags) { return {}; }
int32_t tk_create_combo_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h, int32_t flags) { return {}; }
int32_t tk_create_list_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h, int32_t flags) { return {}; }
int32_t tk_create_container_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h, int32_t flags) { return {}; }
int32_t tk_create_splitter_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h, int32_t firstGadget, int32_t secondGadget, int32_t flags) { return {}; }
int32_t tk_create_image_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h, int32_t bitmapHandle) { return {}; }
int32_t tk_create_button_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h, const std::string& text, int32_t flags) { return {}; }
int32_t tk_create_check_box_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h, const std::string& text, int32_t flags) { return {}; }
int32_t tk_create_date_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h, const std::string& mask, int32_t date, int32_t flags) { return {}; }
int32_t tk_create_tree_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h, int32_t flags) { return {}; }
int32_t tk_create_editor_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h, int32_t flags) { return {}; }
int32_t tk_create_scroll_area_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h, int32_t innerWidth, int32_t innerHeight, int32_t step, int32_t flags) { return {}; }
int32_t tk_create_scroll_bar_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h, int32_t minimum, int32_t maximum, int32_t pageLength, int32_t flags) { return {}; }
int32_t tk_gadget_exists(int32_t gadget) { return {}; }
int32_t tk_gadget_handle(int32_t gadget) { return {}; }
int32_t tk_set_gadget_state(int32_t gadget, int32_t value) { return {}; }
int32_t tk_get_gadget_state(int32_t gadget) { return {}; }
int32_t tk_set_gadget_text(int32_t gadget, const std::string& text) { return {}; }
std::string tk_get_gadget_text(int32_t gadget) { return {}; }
int32_t tk_add_gadget_item(int32_t gadget, int32_t position, const std::string& text, int32_t bitmapHandle, int32_t flags) { return {}; }
int32_t tk_remove_gadget_item(int32_t gadget, int32_t position) { return {}; }
int32_t tk_set_gadget_attribute(int32_t gadget, int32_t attribute, int32_t value) { return {}; }
int32_t tk_get_gadget_attribute(int32_t gadget, int32_t attribute) { return {}; }
int32_t tk_set_gadget_colour(int32_t gadget, int32_t kind, int32_t colour) { return {}; }
int32_t tk_hide_gadget(int32_t gadget, int32_t state) { return {}; }
int32_t tk_disable_gadget(int32_t gadget, int32_t state) { return {}; }
int32_t tk_resize_gadget(int32_t gadget, int32_t x, int32_t y, int32_t w, int32_t h) { return {}; }
int32_t tk_gadget_x(int32_t gadget) { return {}; }
int32_t tk_gadget_y(int32_t gadget) { return {}; }
int32_t tk_gadget_width(int32_t gadget) { return {}; }
int32_t tk_gadget_height(int32_t gadget) { return {}; }
int32_t tk_focus_gadget(int32_t gadget) { return {}; }
int32_t tk_focused_gadget() { return {}; }
int32_t tk_free_gadget(int32_t gadget) { return {}; }
int32_t tk_use_window_as_parent(int32_t windowHandle) { return {}; }
int32_t tk_open_gadget_list(int32_t gadget) { return {}; }
int32_t tk_close_gadget_list() { return {}; }
int32_t tk_create_menu_bar(int32_t number, int32_t windowHandle) { return {}; }
int32_t tk_add_menu_title(const std::string& text) { return {}; }
int32_t tk_add_menu_item(int32_t id, const std::string& text) { return {}; }
int32_t tk_add_shortcut(int32_t window, int32_t key, int32_t id) { return {}; }
int32_t tk_remove_shortcut(int32_t window, int32_t key) { return {}; }
int32_t tk_save_window_screenshot(int32_t window, const std::string& path) { return {}; }
int32_t tk_gadget_pixel(int32_t gadget, int32_t x, int32_t y) { return {}; }
#include "toolkit/tk_native.h"
QWidget* tk_native_widget(int32_t handle) { return nullptr; }
QWidget* tk_gadget_widget(int32_t gadget) { return nullptr; }
QWidget* tk_window_client(int32_t window) { return nullptr; }
QWidget* tk_window_widget(int32_t window) { return nullptr; }
