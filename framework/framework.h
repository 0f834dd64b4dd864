#pragma once
// The widget framework: registry, creation, operations by name, window
// operations and hierarchy, item lists.
//
// Sections: registry · list helpers · creation · operations by name ·
// keyword attributes · moving and resizing · window operations and
// hierarchy · item lists.
//
// Every operation takes the context first and the object's name next, looks
// the object up (leaving it current) and returns its documented failure value
// for an unknown name, changing nothing.
// The few that take a NamedObject& instead work on that object and leave
// the current object where it was.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/codes.h"
#include "framework/kinds.h"
#include "framework/records.h"
#include "framework/ui.h"

// ---- registry --------------------------------------------------------------
WindowRecord* new_window_record(Ui& ui, const std::string& name, int16_t x, int16_t y,
                                int16_t width, int16_t height, const std::string& title,
                                int32_t flags);
int8_t register_object(Ui& ui, const std::string& name, int8_t kind, int16_t x, int16_t y,
                       int16_t width, int16_t height, const std::string& parentName);
void finish_creation(Ui& ui);
int8_t find_object(Ui& ui, const std::string& name, int8_t mode);
int8_t find_object_by_gadget(Ui& ui, int32_t gadget, int8_t mode);
int8_t find_object_by_number(Ui& ui, int32_t number, int8_t mode);
void rewind_to_window(Ui& ui);
void position_before(Ui& ui, NamedObject* object);
int8_t select_window(Ui& ui, const std::string& name);
int8_t select_window_by_handle(Ui& ui, int32_t handle);
// True when an object called `name` placed under `parent` would become its
// own ancestor: an object on the parent chain from `parent` up carries that
// name (a generated UNTITLED name may repeat one) or still names it as its
// parent (its parent of that name was removed).
bool closes_parent_cycle(Ui& ui, const NamedObject* parent, const std::string& name);
int8_t remove_object(Ui& ui, const std::string& name, int8_t recursive);
void free_object(Ui& ui, const std::string& name);
int8_t remove_window_objects(Ui& ui, const std::string& windowName);

// ---- list helpers ----------------------------------------------------------
// The current object, nullptr when positioned before the first.
NamedObject* current_object(Ui& ui);
// Steps to the next object and makes it current; at the end returns nullptr
// and leaves the last object current.
NamedObject* next_object(Ui& ui);
// Makes the given object current (restoring a remembered position).
void make_current(Ui& ui, NamedObject* object);
// The object find_object(ui, name, 0) would find, without moving the current
// object; nullptr when there is none.
NamedObject* lookup_object(Ui& ui, const std::string& name);
// The first object of the current window's range, where a walk over the
// window starts (the implicit record is made when there is none, as
// rewind_to_window does); nullptr when the registry is empty.
NamedObject* window_walk_start(Ui& ui);
// The current window record, nullptr when none.
WindowRecord* current_window(Ui& ui);
// The font handle for text drawn into skinned images: the current window
// record's font, or -1 (the system font) when none is set.
int32_t window_font_handle(Ui& ui);

// ---- creation (returns the gadget number, 0 when nothing was created) -----
// The common sequence the kinds' layers follow too: begin_object registers
// the object (nullptr when its name exists in the lookup range or its
// container-kind parent cannot hold its gadget); the caller
// attaches its records and creates the gadget; end_object finishes the
// creation and leaves the object current.
NamedObject* begin_object(Ui& ui, const std::string& name, int8_t kind, int16_t x, int16_t y,
                          int16_t width, int16_t height, const std::string& parent);
int32_t end_object(Ui& ui, NamedObject& o);
/// Lets screen readers read the object and, for a kind with a key hook, the keyboard reach it (end_object does it).
void describe_object(Ui& ui, NamedObject& o);
/// Marks the object as opening and closing something (0 closed, 1 open, -1 nothing) and announces a change; 0, or -1 for an unknown name.
int32_t set_expanded(Ui& ui, const std::string& name, int8_t expanded);
// An image gadget showing `image` (a gadget number, 0 when it fails).
int32_t create_image_gadget_of(int16_t x, int16_t y, int16_t width, int16_t height,
                               int32_t image);
// A canvas record over the caller's image with a composed image of the
// object's size.
std::unique_ptr<CanvasRecord> new_canvas_record(int32_t source, int16_t width, int16_t height);
// A button record over the caller's strip.
std::unique_ptr<ButtonRecord> new_button_record(int32_t strip);

int32_t create_window(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                      int16_t height, const std::string& title, int32_t flags);
int32_t create_text(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                    int16_t height, const std::string& text, int32_t flags,
                    const std::string& parent);
int32_t create_button(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                      int16_t height, const std::string& text, int32_t flags,
                      const std::string& parent);
int32_t create_input(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                     int16_t height, const std::string& text, int32_t flags,
                     const std::string& parent);
int32_t create_combo(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                     int16_t height, const std::string& text, int32_t flags,
                     const std::string& parent);
int32_t create_list(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                    int16_t height, const std::string& text, int32_t flags,
                    const std::string& parent);
int32_t create_date(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                    int16_t height, const std::string& mask, int32_t date,
                    const std::string& parent);
int32_t create_check_box(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                         int16_t height, int8_t state, const std::string& text, int32_t flags,
                         const std::string& parent);
int32_t create_tree(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                    int16_t height, const std::string& text, int32_t flags,
                    const std::string& parent);
int32_t create_editor(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                      int16_t height, const std::string& text, int32_t flags,
                      const std::string& parent);
int32_t create_container(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                         int16_t height, int32_t flags, const std::string& parent);
int32_t create_scroll_area(Ui& ui, const std::string& name, int16_t x, int16_t y,
                           int16_t width, int16_t height, int32_t innerWidth,
                           int32_t innerHeight, int32_t flags, const std::string& parent);
int32_t create_scroll_bar(Ui& ui, const std::string& name, int16_t x, int16_t y,
                          int16_t width, int16_t height, int32_t minimum, int32_t maximum,
                          int32_t pageLength, int32_t flags, const std::string& parent);
int32_t create_splitter(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                        int16_t height, const std::string& firstChild,
                        const std::string& secondChild, int16_t position, int8_t vertical,
                        const std::string& parent);
int32_t create_picture_container(Ui& ui, const std::string& name, int16_t x, int16_t y,
                                 int16_t width, int16_t height, int32_t image,
                                 const std::string& parent);
// The lines an editor receives for its text, each with its terminator: a
// carriage return and a line feed each end a line of their own.
std::vector<std::string> split_editor_lines(const std::string& text);

// ---- operations by name ----------------------------------------------------
int32_t get_gadget(Ui& ui, const std::string& name);
int32_t get_number(Ui& ui, const std::string& name);
std::string name_of_number(Ui& ui, int32_t number);
std::string name_of_gadget(Ui& ui, int32_t gadget);
std::string get_text(Ui& ui, const std::string& name);
int32_t set_text(Ui& ui, const std::string& name, const std::string& text, int8_t force);
int32_t select_item(Ui& ui, const std::string& name, const std::string& key, int8_t force);
int32_t show_object(Ui& ui, const std::string& name, int8_t visible, int8_t force);
int32_t disable_object(Ui& ui, const std::string& name, int8_t disable);
int32_t pin_object(Ui& ui, const std::string& name);
int32_t set_color(Ui& ui, const std::string& name, int32_t colorType, int32_t color);
int32_t set_window_font(Ui& ui, const std::string& fontName, int16_t size, int32_t flags);
int32_t set_label(Ui& ui, const std::string& name, const std::string& text, int16_t labelWidth,
                  int32_t backColor, int32_t frontColor);

// ---- keyword attributes ----------------------------------------------------
// Keyword number parsing: blanks, one sign, digits up to the first other
// character; no digits is 0.
int64_t parse_keyword_number(const std::string& value);
// Keywords compare in upper case: a..z and the bytes 224..255 shift by 32.
std::string upper_keyword(const std::string& keyword);
std::string get_attribute(Ui& ui, const std::string& name, const std::string& keyword);
int32_t set_attribute(Ui& ui, const std::string& name, const std::string& keyword,
                      const std::string& value, int8_t redraw);

// ---- moving and resizing ---------------------------------------------------
int32_t move_object(Ui& ui, const std::string& name, int16_t x, int16_t y, int8_t apply);
int32_t resize_object(Ui& ui, const std::string& name, int16_t width, int16_t height,
                      int8_t apply);

// ---- window operations and hierarchy ---------------------------------------
int32_t activate_window(Ui& ui, const std::string& windowName);
int32_t move_window(Ui& ui, const std::string& windowName, int16_t x, int16_t y);
int32_t resize_window(Ui& ui, const std::string& windowName, int16_t width, int16_t height);
int32_t get_window_number(Ui& ui, const std::string& windowName);
int32_t set_live_update(Ui& ui, const std::string& windowName, int8_t flag);
int32_t refresh_window(Ui& ui, const std::string& windowName);
int32_t close_window(Ui& ui, const std::string& windowName);
int32_t set_user_data(Ui& ui, const std::string& name, int32_t value);
int32_t set_absolute_position(Ui& ui, const std::string& name, int16_t absX, int16_t absY);
int32_t update_child_positions(Ui& ui, const std::string& name, int16_t absX, int16_t absY);
// The same for a given object: it takes the absolute position (-1 keeps a
// coordinate), or only its children are placed below the given position.
// The current object does not move; the object's window record becomes the
// current one.
void place_absolute(Ui& ui, NamedObject& o, int16_t absX, int16_t absY);
void place_children(Ui& ui, NamedObject& o, int16_t absX, int16_t absY);
// 1 when the current object lies below the object called `ancestor`, else 0.
int32_t is_descendant(Ui& ui, const std::string& ancestor);
// The same for a given object; the current object does not move.
int32_t is_descendant_of(Ui& ui, const NamedObject& o, const std::string& ancestor);
// Marks the object and its subtree; mode 0 plain, 1 also over tab-hidden
// objects, 2 over everything. The current object is unchanged.
void propagate_visibility(Ui& ui, const std::string& name, int8_t value, int8_t mode);

// ---- item lists ------------------------------------------------------------
int32_t add_item(Ui& ui, const std::string& name, const std::string& key,
                 const std::string& display, int32_t image, int8_t level, int32_t position);
int32_t remove_item(Ui& ui, const std::string& name, int32_t position);
int32_t clear_items(Ui& ui, const std::string& name);
std::string selected_key(Ui& ui, const std::string& name);
