// Not yet built: placeholder bodies so that every layer links.
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include "framework/framework.h"

#include "grid/grid_records.h"
#include "toolkit/tk.h"

WindowRecord* new_window_record(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width, int16_t height, const std::string& title, int32_t flags) { return {}; }

NamedObject::NamedObject() = default;
NamedObject::~NamedObject() = default;
Ui::~Ui() {}
int32_t ui_now(const Ui& ui) { return ui.clock ? ui.clock() : tk_elapsed_ms(); }

int8_t register_object(Ui& ui, const std::string& name, int8_t kind, int16_t x, int16_t y, int16_t width, int16_t height, const std::string& parentName) { return {}; }
void finish_creation(Ui& ui) {}
int8_t find_object(Ui& ui, const std::string& name, int8_t mode) { return {}; }
int8_t find_object_by_gadget(Ui& ui, int32_t gadget, int8_t mode) { return {}; }
int8_t find_object_by_number(Ui& ui, int32_t number, int8_t mode) { return {}; }
void rewind_to_window(Ui& ui) {}
void position_before(Ui& ui, NamedObject* object) {}
int8_t select_window(Ui& ui, const std::string& name) { return {}; }
int8_t select_window_by_handle(Ui& ui, int32_t handle) { return {}; }
int8_t remove_object(Ui& ui, const std::string& name, int8_t recursive) { return {}; }
void free_object(Ui& ui, const std::string& name) {}
int8_t remove_window_objects(Ui& ui, const std::string& windowName) { return {}; }
NamedObject* current_object(Ui& ui) { return {}; }
NamedObject* next_object(Ui& ui) { return {}; }
void make_current(Ui& ui, NamedObject* object) {}
WindowRecord* current_window(Ui& ui) { return {}; }
int32_t window_font_handle(Ui& ui) { return {}; }
