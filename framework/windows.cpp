// Window operations by name and the object hierarchy.
//
// Sections: window geometry · live update and refresh · closing ·
// user data · absolute positions · descendant test · visibility.
//
// The hierarchy is not stored as links: an object's children are the
// objects whose parentName equals its name.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/framework.h"
#include "framework/kinds.h"
#include "toolkit/tk.h"

namespace zui {

// ---- window geometry -------------------------------------------------------

int32_t activate_window(Ui& ui, const std::string& windowName) {
  if (select_window(ui, windowName) != 1) return 0;
  tk_activate_window(current_window(ui)->windowNumber);
  return 1;
}

namespace {

// A value that did not change is passed on as "keep", so the toolkit leaves
// what the user may have changed since.
int32_t changed_value(int16_t& stored, int16_t wanted) {
  if (wanted == stored) return TK_KEEP;
  stored = wanted;
  return wanted;
}

}  // namespace

int32_t move_window(Ui& ui, const std::string& windowName, int16_t x, int16_t y) {
  if (select_window(ui, windowName) != 1) return 0;
  WindowRecord* w = current_window(ui);
  const int32_t nx = changed_value(w->x, x);
  const int32_t ny = changed_value(w->y, y);
  tk_resize_window(w->windowNumber, nx, ny, TK_KEEP, TK_KEEP);
  return 0;
}

int32_t resize_window(Ui& ui, const std::string& windowName, int16_t width, int16_t height) {
  if (select_window(ui, windowName) != 1) return 0;
  WindowRecord* w = current_window(ui);
  const int32_t nw = changed_value(w->width, width);
  const int32_t nh = changed_value(w->height, height);
  tk_resize_window(w->windowNumber, TK_KEEP, TK_KEEP, nw, nh);
  return 0;
}

int32_t get_window_number(Ui& ui, const std::string& windowName) {
  if (select_window(ui, windowName) != 1) return 0;
  return current_window(ui)->windowNumber;
}

// ---- live update and refresh -----------------------------------------------
namespace {

// Value kinds whose gadget shows the value as its text. Scroll bars and
// splitters hold a position, and the custom-drawn kinds an image: their
// value lives in the record only.
bool shows_text(int8_t kind) {
  return kind == Kind::Input || kind == Kind::Combo || kind == Kind::List ||
         kind == Kind::Tree || kind == Kind::Date;
}

// The gadget's height as created: a combo's gadget includes its drop-down
// list, while its record keeps the closed box's height for hit tests.
int32_t gadget_height(const NamedObject& o) {
  return o.kind == Kind::Combo && o.dropHeight > 0 ? o.dropHeight : o.height;
}

// Pages the window's objects keep hidden (a tab bar's unselected tabs): the
// objects decide which page shows, so a refresh keeps these hidden.
std::vector<std::string> unselected_pages(Ui& ui, int32_t handle) {
  std::vector<std::string> pages;
  for (const NamedObject* o = window_walk_start(ui); o && o->window == handle; o = o->next)
    if (auto hidden = kind_behaviour(ui, o->kind).hiddenPages) hidden(*o, pages);
  return pages;
}

bool is_listed(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

int32_t set_live_update(Ui& ui, const std::string& windowName, int8_t flag) {
  if (select_window(ui, windowName) != 1) return 0;
  current_window(ui)->liveUpdate = flag;
  if (flag == 1) refresh_window(ui, windowName);
  return 0;
}

int32_t refresh_window(Ui& ui, const std::string& windowName) {
  if (select_window(ui, windowName) != 1) return 0;
  const int32_t handle = current_window(ui)->handle;
  const std::vector<std::string> tabHidden = unselected_pages(ui, handle);
  for (NamedObject* o = window_walk_start(ui); o && o->window == handle; o = o->next) {
    const int32_t g = o->gadget;
    if (tk_gadget_exists(g)) {
      const int32_t height = gadget_height(*o);
      if (tk_gadget_x(g) != o->x || tk_gadget_y(g) != o->y || tk_gadget_width(g) != o->width ||
          tk_gadget_height(g) != height)
        tk_resize_gadget(g, o->x, o->y, o->width, height);
      // Never set (-1) counts as shown.
      tk_hide_gadget(g, o->hidden == HiddenFlag::ByName || is_listed(tabHidden, o->name) ? 1 : 0);
      if (o->kind == Kind::CheckBox) {
        // A check box's value is its check state, not its caption.
        const int32_t state = std::atoi(o->text.c_str());
        if (tk_get_gadget_state(g) != state) tk_set_gadget_state(g, state);
      } else if (shows_text(o->kind) && tk_get_gadget_text(g) != o->text) {
        tk_set_gadget_text(g, o->text);
      }
    }
    draw_object(ui, *o);
  }
  return 0;
}

// ---- closing ---------------------------------------------------------------

int32_t close_window(Ui& ui, const std::string& windowName) {
  if (select_window(ui, windowName) != 1) return 0;
  WindowRecord* w = current_window(ui);
  const int32_t handle = w->handle;
  rewind_to_window(ui);
  while (NamedObject* o = next_object(ui)) {
    if (o->window != handle) break;
    // free_object leaves the object before it current, so the scan goes on
    // with the one that followed.
    free_object(ui, o->name);
  }
  tk_close_window(w->windowNumber);

  if (w->prev) w->prev->next = w->next; else ui.firstWindow = w->next;
  if (w->next) w->next->prev = w->prev;
  ui.currentWindow = w->prev;  // none when it was the first record
  delete w;
  return 0;
}

// ---- user data -------------------------------------------------------------

int32_t set_user_data(Ui& ui, const std::string& name, int32_t value) {
  if (find_object(ui, name, 0) != 1) return 0;
  current_object(ui)->userData = value;
  return 0;
}

// ---- absolute positions ----------------------------------------------------
namespace {

// A parent chain longer than the registry is a cycle (an object renamed to
// its own ancestor's name); the depth bound ends it.
void update_children(Ui& ui, NamedObject* object, int16_t absX, int16_t absY, int32_t depth) {
  if (depth > ui.count) return;
  // What the kind lays over the object (a grid's open editor) moves with it.
  if (auto placed = kind_behaviour(ui, object->kind).placed) placed(ui, *object);
  const auto* list = children_of(ui, object->name);
  if (!list) return;
  // A copy: a kind's placement may change the registry.
  const std::vector<NamedObject*> children = *list;
  // Only the children in the object's own window group move with it.
  for (NamedObject* o : children) {
    if (o == object || o->window != object->window) continue;
    o->absX = static_cast<int16_t>(absX + o->x);
    o->absY = static_cast<int16_t>(absY + o->y);
    update_children(ui, o, o->absX, o->absY, depth + 1);
  }
}

// Walks the parent names up as find_object would find them, without moving
// the current object. An object naming itself as its parent has no ancestor.
int32_t descends(Ui& ui, const NamedObject& o, const std::string& ancestor, int32_t depth) {
  if (o.parentName.empty() || depth > ui.count) return 0;
  if (o.parentName == ancestor) return 1;
  if (o.parentName == o.name) return 0;
  const NamedObject* parent = nullptr;
  for (const NamedObject* p = window_walk_start(ui); p && !parent; p = p->next)
    if (p->name == o.parentName) parent = p;
  return parent && parent != &o ? descends(ui, *parent, ancestor, depth + 1) : 0;
}

}  // namespace

void place_absolute(Ui& ui, NamedObject& o, int16_t absX, int16_t absY) {
  if (absX > -1) o.absX = absX;
  if (absY > -1) o.absY = absY;
  update_children(ui, &o, o.absX, o.absY, 0);
}

void place_children(Ui& ui, NamedObject& o, int16_t absX, int16_t absY) {
  update_children(ui, &o, absX, absY, 0);
}

int32_t set_absolute_position(Ui& ui, const std::string& name, int16_t absX, int16_t absY) {
  if (find_object(ui, name, 0) != 1) return 0;
  place_absolute(ui, *current_object(ui), absX, absY);
  return 0;
}

int32_t update_child_positions(Ui& ui, const std::string& name, int16_t absX, int16_t absY) {
  if (find_object(ui, name, 0) != 1) return 0;
  place_children(ui, *current_object(ui), absX, absY);
  return 0;
}

// ---- descendant test -------------------------------------------------------

int32_t is_descendant(Ui& ui, const std::string& ancestor) {
  const NamedObject* o = current_object(ui);
  return o ? descends(ui, *o, ancestor, 0) : 0;
}

int32_t is_descendant_of(Ui& ui, const NamedObject& o, const std::string& ancestor) {
  return descends(ui, o, ancestor, 0);
}

// ---- visibility ------------------------------------------------------------

static void apply_visibility(Ui& ui, NamedObject& o, int8_t value, int8_t mode) {
  if (o.visible >= Visibility::Hidden || (o.visible == Visibility::TabHidden && mode >= 1) ||
      mode == 2)
    o.visible = value;
  // What the kind lays over the object (a grid's open editor) goes with it.
  if (auto placed = kind_behaviour(ui, o.kind).placed) placed(ui, o);
}

// True when `o` lies at or after `start` in the registry.
static bool follows(const NamedObject* start, const NamedObject* o) {
  for (const NamedObject* at = start; at; at = at->next)
    if (at == o) return true;
  return false;
}

// Depth first in registry order. `depth` bounds the recursion should names
// ever form a cycle (a removed parent's name reused by a descendant).
static void propagate_below(Ui& ui, const NamedObject& parent, int8_t value, int8_t mode,
                            int32_t depth) {
  if (depth > ui.count) return;
  const auto* list = children_of(ui, parent.name);
  if (!list) return;
  const std::vector<NamedObject*> children = *list;
  // The walk covers the current window's group and the groups after it.
  const NamedObject* start = window_walk_start(ui);
  const bool whole = start == ui.first;
  for (NamedObject* o : children) {
    if (!whole && !follows(start, o)) continue;
    apply_visibility(ui, *o, value, mode);
    propagate_below(ui, *o, value, mode, depth + 1);
  }
}

void propagate_visibility(Ui& ui, const std::string& name, int8_t value, int8_t mode) {
  NamedObject* top = lookup_object(ui, name);
  if (!top) return;
  apply_visibility(ui, *top, value, mode);
  propagate_below(ui, *top, value, mode, 0);
  draw_owed(ui);
}

}  // namespace zui
