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
// the current object where it was; each by-name operation that the library
// itself needs on another object has such a core, and the by-name function
// only looks its object up and calls it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/codes.h"
#include "framework/kinds.h"
#include "framework/records.h"
#include "framework/ui.h"

namespace zui {

// ---- registry --------------------------------------------------------------
/// Adds a window record under `name` (the window itself is opened by
/// create_window) and makes it the current one.
WindowRecord* new_window_record(Ui& ui, const std::string& name, int16_t x, int16_t y,
                                int16_t width, int16_t height, const std::string& title,
                                int32_t flags);
/// Registers an object in the current window, inside `parentName` when that
/// exists (positions relative to it); an empty name gets a generated one.
/// 1 when registered, 0 when the name exists or would make the object its
/// own ancestor.
int8_t register_object(Ui& ui, const std::string& name, int8_t kind, int16_t x, int16_t y,
                       int16_t width, int16_t height, const std::string& parentName);
/// Ends a creation: closes the parent's gadget list and leaves the new
/// object current.
void finish_creation(Ui& ui);
/// The same for the given object, which is current afterwards.
void finish_creation(Ui& ui, NamedObject& o);
/// Finds an object by name and makes it current: 1 found, -1 not. Mode 0
/// searches the current window's objects, 1 the whole registry.
int8_t find_object(Ui& ui, const std::string& name, int8_t mode);
/// The same by toolkit gadget number.
int8_t find_object_by_gadget(Ui& ui, int32_t gadget, int8_t mode);
/// The same by object number.
int8_t find_object_by_number(Ui& ui, int32_t number, int8_t mode);
/// Positions before the current window's first object, where a walk starts.
void rewind_to_window(Ui& ui);
/// Positions just before `object`, so that next_object yields it.
void position_before(Ui& ui, NamedObject* object);
/// Makes the named window record the current one: 1, or -1 for none.
int8_t select_window(Ui& ui, const std::string& name);
/// The same by native window handle.
int8_t select_window_by_handle(Ui& ui, int32_t handle);
// True when an object called `name` placed under `parent` would become its
// own ancestor: an object on the parent chain from `parent` up carries that
// name (a generated UNTITLED name may repeat one) or still names it as its
// parent (its parent of that name was removed).
bool closes_parent_cycle(Ui& ui, const NamedObject* parent, const std::string& name);
/// Removes the named object (with its subtree when recursive is 1), freeing
/// its gadget and records; 1 when it existed, else 0.
int8_t remove_object(Ui& ui, const std::string& name, int8_t recursive);
/// Removes the named object alone.
void free_object(Ui& ui, const std::string& name);
/// Removes every object of the named window; 1 when there were any.
int8_t remove_window_objects(Ui& ui, const std::string& windowName);

// ---- list helpers ----------------------------------------------------------
// The current object, nullptr when positioned before the first.
NamedObject* current_object(Ui& ui);
// Steps to the next object and makes it current; at the end returns nullptr
// and leaves the last object current.
NamedObject* next_object(Ui& ui);
// Makes the given object current (restoring a remembered position).
void make_current(Ui& ui, NamedObject* object);
/// Enters the object in Ui::byName under its name: after registering or
/// renaming it.
void index_name(Ui& ui, NamedObject* object);
/// Takes the object out of Ui::byName: before renaming or deleting it.
void unindex_name(Ui& ui, const NamedObject* object);
/// Enters the object in Ui::byParent under its parent's name, at its
/// registry place: after registering it.
void index_child(Ui& ui, NamedObject* object);
/// Takes the object out of Ui::byParent: before deleting it.
void unindex_child(Ui& ui, const NamedObject* object);
/// The objects naming `parent` as their parent, in registry order; nullptr
/// when none does.
const std::vector<NamedObject*>* children_of(const Ui& ui, const std::string& parent);
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
// The window record the object lives in (the one with its window handle),
// found without selecting it; the current record when none has that handle.
WindowRecord* window_of(Ui& ui, const NamedObject& o);
// The font for the object's skinned texts: its window's font, or -1.
int32_t window_font_handle(Ui& ui, const NamedObject& o);

// ---- creation (returns the gadget number, 0 when nothing was created) -----
// The common sequence the kinds' layers follow too: begin_object registers
// the object (nullptr when its name exists in the lookup range or its
// container-kind parent cannot hold its gadget); the caller
// attaches its records and creates the gadget; end_object finishes the
// creation and leaves the object current.
NamedObject* begin_object(Ui& ui, const std::string& name, int8_t kind, int16_t x, int16_t y,
                          int16_t width, int16_t height, const std::string& parent);
/// Finishes a creation begun with begin_object; the object's gadget number.
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

/// Opens a window (flags as tk_open_window) and registers it under `name`;
/// its objects are created after it. The window number, 0 on failure.
int32_t create_window(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                      int16_t height, const std::string& title, int32_t flags);
/// A text label. Like every creation below: `name` must be new in the
/// window, `parent` names a container or is empty for the window, x and y
/// are relative to the parent; the gadget number, 0 when nothing was made.
int32_t create_text(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                    int16_t height, const std::string& text, int32_t flags,
                    const std::string& parent);
/// A push button.
int32_t create_button(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                      int16_t height, const std::string& text, int32_t flags,
                      const std::string& parent);
/// A one-line text input (flags as tk_create_string_gadget).
int32_t create_input(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                     int16_t height, const std::string& text, int32_t flags,
                     const std::string& parent);
/// A drop-down list; `text` is the key of the item to select once items are added.
int32_t create_combo(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                     int16_t height, const std::string& text, int32_t flags,
                     const std::string& parent);
/// A list box.
int32_t create_list(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                    int16_t height, const std::string& text, int32_t flags,
                    const std::string& parent);
/// A date input.
int32_t create_date(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                    int16_t height, const std::string& mask, int32_t date,
                    const std::string& parent);
/// A check box, ticked when `state` is 1.
int32_t create_check_box(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                         int16_t height, int8_t state, const std::string& text, int32_t flags,
                         const std::string& parent);
/// A tree view.
int32_t create_tree(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                    int16_t height, const std::string& text, int32_t flags,
                    const std::string& parent);
/// A multi-line text editor.
int32_t create_editor(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                      int16_t height, const std::string& text, int32_t flags,
                      const std::string& parent);
/// A container that later objects name as their parent.
int32_t create_container(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                         int16_t height, int32_t flags, const std::string& parent);
/// A scroll area over an inner area of innerWidth x innerHeight.
int32_t create_scroll_area(Ui& ui, const std::string& name, int16_t x, int16_t y,
                           int16_t width, int16_t height, int32_t innerWidth,
                           int32_t innerHeight, int32_t flags, const std::string& parent);
/// A scroll bar (flags 1: vertical) with its range and page length.
int32_t create_scroll_bar(Ui& ui, const std::string& name, int16_t x, int16_t y,
                          int16_t width, int16_t height, int32_t minimum, int32_t maximum,
                          int32_t pageLength, int32_t flags, const std::string& parent);
/// A container showing `image` as its background.
int32_t create_picture_container(Ui& ui, const std::string& name, int16_t x, int16_t y,
                                 int16_t width, int16_t height, int32_t image,
                                 const std::string& parent);
// The lines an editor receives for its text, each with its terminator: a
// carriage return and a line feed each end a line of their own.
std::vector<std::string> split_editor_lines(const std::string& text);

// ---- operations by name ----------------------------------------------------
/// The object's toolkit gadget number, 0 for an unknown name.
int32_t get_gadget(Ui& ui, const std::string& name);
/// The object's number, 0 for an unknown name.
int32_t get_number(Ui& ui, const std::string& name);
/// The name of the object with that number, empty for none.
std::string name_of_number(Ui& ui, int32_t number);
/// The name of the object with that gadget, empty for none.
std::string name_of_gadget(Ui& ui, int32_t gadget);
/// The object's value as text.
std::string get_text(Ui& ui, const std::string& name);
/// Sets the value of an input-kind object (64 and above: inputs, lists,
/// skinned kinds); shown at once while live update is on or force is 1.
/// Text labels take their text through set_label.
int32_t set_text(Ui& ui, const std::string& name, const std::string& text, int8_t force);
/// The same for a given object.
int32_t set_text(Ui& ui, NamedObject& o, const std::string& text, int8_t force);
/// Selects the entry with `key` in a list-type object.
int32_t select_item(Ui& ui, const std::string& name, const std::string& key, int8_t force);
/// Shows (visible 1) or hides the object and marks its subtree.
int32_t show_object(Ui& ui, const std::string& name, int8_t visible, int8_t force);
/// Disables (1) or enables (0) the object.
int32_t disable_object(Ui& ui, const std::string& name, int8_t disable);
/// The same for a given object.
int32_t disable_object(Ui& ui, NamedObject& o, int8_t disable);
/// Keeps the object out of visibility changes of its ancestors and tab pages.
int32_t pin_object(Ui& ui, const std::string& name);
/// Sets a colour of the object in a slot of ColorSlot (framework/codes.h):
/// Text, Background (toolkit kinds), GridLines; ColorSlot::Default as the
/// colour restores the default.
int32_t set_color(Ui& ui, const std::string& name, int32_t colorType, int32_t color);
/// Loads a font for the current window's skinned texts; 1 on success.
int32_t set_window_font(Ui& ui, const std::string& fontName, int16_t size, int32_t flags);
/// Gives the object a caption left of it, labelWidth wide; a label, push
/// button, frame or skinned button takes `text` as its own text instead.
int32_t set_label(Ui& ui, const std::string& name, const std::string& text, int16_t labelWidth,
                  int32_t backColor, int32_t frontColor);

// ---- keyword attributes ----------------------------------------------------
// Keyword number parsing: blanks, one sign, digits up to the first other
// character; no digits is 0.
int64_t parse_keyword_number(const std::string& value);
// Keywords compare in upper case: a..z and the bytes 224..255 shift by 32.
std::string upper_keyword(const std::string& keyword);
/// The object's keyword attribute as text (numbers in decimal); empty for
/// an unknown object or keyword. Keywords are matched in any case:
/// - every object: CATCHMOUSEOVER, FRONTCOLOR, HELPTEXT, CHANGED, and NAME
///   (set only: renames the object; an empty or taken name is refused);
/// - scroll area: AREAWIDTH, AREAHEIGHT, POSX, POSY;
/// - scroll bar: MIN, MAX, PAGELEN, PARENTGRID (links the grid of that name);
///   date input: MIN, MAX;
/// - image buttons: ANIMATING (get only: the button's look);
/// - grid: GRIDV, GRIDH, GRIDCOLOR, CAPTCOLHEIGHT, CAPTROWWIDTH, COLCUSTOM,
///   SHOWTREE, SELMODE, SELFRONTCOLOR, BORDERLESS, REDRAW, PERMANENTCURSOR,
///   ENABLEINPUT, SELECTORSTYLE, KEYBOARDCONTROL, SCROLLX, SCROLLY,
///   ANIMATING (get only), ROWHEIGHT (the height of every row of a grid over
///   a data source, 20 by default), SCROLLBARX and SCROLLBARY (set only, any value:
///   create the grid's horizontal or vertical scroll bar; the original
///   spellings SCOLLBARX and SCOLLBARY are accepted too).
std::string get_attribute(Ui& ui, const std::string& name, const std::string& keyword);
/// Sets a keyword attribute from text (keywords as for get_attribute);
/// redraw 1 shows the object at once, also when nothing was stored.
/// Returns 0 when the value was taken, -1 when nothing changed: an unknown
/// object, a keyword the object does not have or only reads, or a refused
/// NAME.
int32_t set_attribute(Ui& ui, const std::string& name, const std::string& keyword,
                      const std::string& value, int8_t redraw);
/// The same for a given object.
int32_t set_attribute(Ui& ui, NamedObject& o, const std::string& keyword,
                      const std::string& value, int8_t redraw);

// ---- moving and resizing ---------------------------------------------------
/// Moves the object within its parent (-1 keeps a coordinate), its subtree
/// along; apply 1 moves the gadget too.
int32_t move_object(Ui& ui, const std::string& name, int16_t x, int16_t y, int8_t apply);
/// The same for a given object.
int32_t move_object(Ui& ui, NamedObject& o, int16_t x, int16_t y, int8_t apply);
/// Resizes the object (-1 keeps a value); apply 1 resizes the gadget too.
int32_t resize_object(Ui& ui, const std::string& name, int16_t width, int16_t height,
                      int8_t apply);
/// The same for a given object.
int32_t resize_object(Ui& ui, NamedObject& o, int16_t width, int16_t height, int8_t apply);

// ---- window operations and hierarchy ---------------------------------------
/// Makes the named window the active one.
int32_t activate_window(Ui& ui, const std::string& windowName);
/// Moves the named window.
int32_t move_window(Ui& ui, const std::string& windowName, int16_t x, int16_t y);
/// Sets the named window's inner size.
int32_t resize_window(Ui& ui, const std::string& windowName, int16_t width, int16_t height);
/// The toolkit number of the named window, 0 for none.
int32_t get_window_number(Ui& ui, const std::string& windowName);
/// 1: changes by name reach the gadgets at once; 0: only the records change.
int32_t set_live_update(Ui& ui, const std::string& windowName, int8_t flag);
/// Shows every object of the named window as its records say.
int32_t refresh_window(Ui& ui, const std::string& windowName);
/// Holds back (true) or lets go (false) every object's drawing. While held,
/// an object that would be drawn owes its drawing instead; letting go draws
/// each owed object once, if it can be seen, and an object on a hidden page
/// is drawn when its page first shows. A screen built with drawings held is
/// drawn once, not at every step of its building.
void hold_drawings(Ui& ui, bool hold);
/// Removes the named window's objects and closes the window.
int32_t close_window(Ui& ui, const std::string& windowName);
/// Stores a value of the application's own with the object.
int32_t set_user_data(Ui& ui, const std::string& name, int32_t value);
/// Places the object at a position in window coordinates, its subtree along.
int32_t set_absolute_position(Ui& ui, const std::string& name, int16_t absX, int16_t absY);
/// Places the object's children below the given window position.
int32_t update_child_positions(Ui& ui, const std::string& name, int16_t absX, int16_t absY);
// The same for a given object: it takes the absolute position (-1 keeps a
// coordinate), or only its children are placed below the given position.
// The current object does not move; the object's window record becomes the
// current one.
void place_absolute(Ui& ui, NamedObject& o, int16_t absX, int16_t absY);
/// The same for a given object: its children are placed below the position.
void place_children(Ui& ui, NamedObject& o, int16_t absX, int16_t absY);
// 1 when the current object lies below the object called `ancestor`, else 0.
int32_t is_descendant(Ui& ui, const std::string& ancestor);
// The same for a given object; the current object does not move.
int32_t is_descendant_of(Ui& ui, const NamedObject& o, const std::string& ancestor);
// Marks the object and its subtree; mode 0 plain, 1 also over tab-hidden
// objects, 2 over everything. The current object is unchanged.
void propagate_visibility(Ui& ui, const std::string& name, int8_t value, int8_t mode);

// ---- item lists ------------------------------------------------------------
/// Adds an entry (key and display text) to a list-type object at
/// `position`, -1 appends.
int32_t add_item(Ui& ui, const std::string& name, const std::string& key,
                 const std::string& display, int32_t image, int8_t level, int32_t position);
/// Removes the entry at `position`.
int32_t remove_item(Ui& ui, const std::string& name, int32_t position);
/// Removes every entry.
int32_t clear_items(Ui& ui, const std::string& name);
/// The key of the selected entry, empty for none.
std::string selected_key(Ui& ui, const std::string& name);

}  // namespace zui
