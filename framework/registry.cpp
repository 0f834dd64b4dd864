// The registry of named objects and the window list.
//
// Sections: records and context · list helpers · window records ·
// registration · lookup · window selection · removal.
//
// The registry is an intrusive doubly linked list with a current position;
// `Ui::current == nullptr` means "positioned before the first object". The
// objects of one window are contiguous, starting at the window record's
// `firstObject` and running for `objectCount` objects.
#include <algorithm>
#include <cassert>
#include <iterator>
#include <string>
#include <vector>

#include "framework/framework.h"
#include "framework/kinds.h"
#include "toolkit/tk.h"
#include "toolkit/tk_accessible.h"

namespace zui {

// ---- records and context ---------------------------------------------------

NamedObject::NamedObject() = default;
// A gadget may outlive its record (a context released without its
// gadgets); screen readers must not reach the record through it then.
NamedObject::~NamedObject() {
  if (gadget != 0) tk_describe_gadget(gadget, nullptr, nullptr, nullptr);
}

Ui::~Ui() {
  for (NamedObject* o = first; o;) {
    NamedObject* next = o->next;
    delete o;
    o = next;
  }
  for (WindowRecord* w = firstWindow; w;) {
    WindowRecord* next = w->next;
    delete w;
    w = next;
  }
}

int32_t ui_now(const Ui& ui) { return ui.clock ? ui.clock() : tk_elapsed_ms(); }

// ---- list helpers ----------------------------------------------------------

NamedObject* current_object(Ui& ui) { return ui.current; }

NamedObject* next_object(Ui& ui) {
  NamedObject* next = ui.current ? ui.current->next : ui.first;
  if (next) ui.current = next;
  return next;
}

void make_current(Ui& ui, NamedObject* object) { ui.current = object; }

// ---- name index ------------------------------------------------------------

void unindex_name(Ui& ui, const NamedObject* object) {
  auto [at, end] = ui.byName.equal_range(object->name);
  for (; at != end; ++at) {
    if (at->second == object) {
      ui.byName.erase(at);
      return;
    }
  }
}

void index_name(Ui& ui, NamedObject* object) { ui.byName.emplace(object->name, object); }

void index_child(Ui& ui, NamedObject* object) {
  if (object->parentName.empty()) return;
  std::vector<NamedObject*>& siblings = ui.byParent[object->parentName];
  // A new object usually ends the registry; otherwise it goes before the
  // first sibling that follows it there.
  auto at = siblings.end();
  for (const NamedObject* o = object->next; o && at == siblings.end(); o = o->next)
    if (o->parentName == object->parentName) at = std::find(siblings.begin(), siblings.end(), o);
  siblings.insert(at, object);
}

void unindex_child(Ui& ui, const NamedObject* object) {
  const auto bucket = ui.byParent.find(object->parentName);
  if (bucket == ui.byParent.end()) return;
  std::erase(bucket->second, object);
  if (bucket->second.empty()) ui.byParent.erase(bucket);
}

const std::vector<NamedObject*>* children_of(const Ui& ui, const std::string& parent) {
  const auto bucket = ui.byParent.find(parent);
  return bucket == ui.byParent.end() ? nullptr : &bucket->second;
}

WindowRecord* current_window(Ui& ui) { return ui.currentWindow; }

int32_t window_font_handle(Ui& ui) {
  WindowRecord* w = ui.currentWindow;
  if (!w || w->font == 0) return -1;
  return tk_font_handle(w->font);
}

WindowRecord* window_of(Ui& ui, const NamedObject& o) {
  for (WindowRecord* w = ui.firstWindow; w; w = w->next)
    if (w->handle == o.window) return w;
  // Registered before any window record: the current one stands in.
  return ui.currentWindow;
}

int32_t window_font_handle(Ui& ui, const NamedObject& o) {
  const WindowRecord* w = window_of(ui, o);
  if (!w || w->font == 0) return -1;
  return tk_font_handle(w->font);
}

// ---- window records --------------------------------------------------------

WindowRecord* new_window_record(Ui& ui, const std::string& name, int16_t x, int16_t y,
                                int16_t width, int16_t height, const std::string& /*title*/,
                                int32_t flags) {
  auto* w = new WindowRecord;
  w->name = name;
  w->x = x;
  w->y = y;
  w->width = width;
  w->height = height;
  w->flags = flags;
  w->next = ui.firstWindow;
  if (ui.firstWindow) ui.firstWindow->prev = w;
  ui.firstWindow = w;
  ui.currentWindow = w;
  return w;
}

namespace {

// A window record to scan from: the current one; with records but none
// current (after the first record was closed) the first one, as select_window
// would choose; with no record at all the implicit record of the active
// window. Never returns nullptr.
WindowRecord* ensure_window(Ui& ui) {
  if (ui.currentWindow) return ui.currentWindow;
  if (ui.firstWindow) {
    ui.currentWindow = ui.firstWindow;
    return ui.currentWindow;
  }
  const int32_t active = tk_active_window();
  if (active <= 0) {
    // No window of ours is active: an empty record still gives the registry
    // a place to group objects.
    return new_window_record(ui, "AUTO", 0, 0, 0, 0, "", 0);
  }
  WindowRecord* w = new_window_record(
      ui, "AUTO", static_cast<int16_t>(tk_window_x(active)),
      static_cast<int16_t>(tk_window_y(active)),
      static_cast<int16_t>(tk_window_inner_width(active)),
      static_cast<int16_t>(tk_window_inner_height(active)), "", 0);
  w->windowNumber = active;
  w->handle = tk_window_handle(active);
  return w;
}

// The window record whose object group holds the object, nullptr when the
// object was registered while no window record existed.
WindowRecord* owning_window(Ui& ui, const NamedObject* object) {
  for (WindowRecord* w = ui.firstWindow; w; w = w->next) {
    NamedObject* o = w->firstObject;
    for (int i = 0; o && i < w->objectCount; ++i, o = o->next)
      if (o == object) return w;
  }
  return nullptr;
}

void insert_after_current(Ui& ui, NamedObject* object) {
  NamedObject* before = ui.current;
  NamedObject* after = before ? before->next : ui.first;
  object->prev = before;
  object->next = after;
  if (before) before->next = object; else ui.first = object;
  if (after) after->prev = object; else ui.last = object;
  ui.current = object;
  ++ui.count;
}

// Frees what the object owns: its gadgets, the images composed for it and
// its entries' images. The strip and source images given at creation stay:
// they are the caller's skin pieces, shown by other widgets as well.
void release_object(Ui& ui, NamedObject* o) {
  forget_owed(ui, *o);
  if (o->labelData && tk_gadget_exists(o->labelData->labelGadget))
    tk_free_gadget(o->labelData->labelGadget);
  if (o->canvas && tk_gadget_exists(o->canvas->pictureGadget))
    tk_free_gadget(o->canvas->pictureGadget);
  // The kind's own gadgets and images first: they may lie over the object.
  if (auto release = kind_behaviour(ui, o->kind).release) release(*o);
  if (tk_gadget_exists(o->gadget)) tk_free_gadget(o->gadget);
  if (CanvasRecord* c = o->canvas.get()) {
    if (c->canvasImage != c->sourceImage && tk_image_exists(c->canvasImage))
      tk_free_image(c->canvasImage);
  }
  if (ItemListRecord* items = o->itemData.get()) {
    for (ItemEntry& e : items->entries)
      if (tk_image_exists(e.image)) tk_free_image(e.image);
  }
}

// Unlinks and deletes the object. The object before it becomes current (none
// when it was the first), so a scan continues with the object that followed.
void delete_object(Ui& ui, NamedObject* o) {
  if (WindowRecord* w = owning_window(ui, o)) {
    if (w->firstObject == o) w->firstObject = (w->objectCount > 1) ? o->next : nullptr;
    --w->objectCount;
    assert(w->objectCount >= 0);
  }
  for (WindowRecord* w = ui.firstWindow; w; w = w->next) {
    if (w->hoveredObject == o) w->hoveredObject = nullptr;
    // A combo removed with its list open would leave the window waiting for
    // a choice in that list, and every later click would go unreported.
    if (o->dropOpen == 1 && w->openDropDown == o->number) w->openDropDown = 0;
  }
  unindex_name(ui, o);
  unindex_child(ui, o);
  if (o->prev) o->prev->next = o->next; else ui.first = o->next;
  if (o->next) o->next->prev = o->prev; else ui.last = o->prev;
  ui.current = o->prev;
  --ui.count;
  assert(ui.count >= 0);
  delete o;
}

// Depth-first, children before their parent; `seen` stops parent cycles.
void collect_subtree(Ui& ui, NamedObject* root, std::vector<NamedObject*>& out) {
  std::vector<NamedObject*> stack{root};
  std::vector<NamedObject*> order;
  auto seen = [&](NamedObject* o) {
    for (NamedObject* s : order)
      if (s == o) return true;
    return false;
  };
  while (!stack.empty()) {
    NamedObject* o = stack.back();
    stack.pop_back();
    if (seen(o)) continue;
    order.push_back(o);
    if (const auto* children = children_of(ui, o->name))
      for (NamedObject* c : *children)
        if (c != o && !seen(c)) stack.push_back(c);
  }
  out.assign(order.rbegin(), order.rend());
}

// What the index says of a name for a scan from the window (mode 0) or from
// the first object (mode 1): no object, exactly the object the scan would
// reach, or more than one candidate (or a registry of several windows,
// whose groups the scan skips), where the scan itself decides.
enum class Indexed : int8_t { None, Unique, Ambiguous };

Indexed indexed_lookup(const Ui& ui, const std::string& name, int8_t mode) {
  const auto [at, end] = ui.byName.equal_range(name);
  if (at == end) return Indexed::None;
  if (std::next(at) != end) return Indexed::Ambiguous;
  if (mode == 1) return Indexed::Unique;
  // From the window: the whole registry when its one window's group starts
  // the list (or is empty), which is every program with one window.
  const WindowRecord* w = ui.currentWindow;
  const bool wholeRegistry =
      ui.firstWindow && !ui.firstWindow->next && (!w->firstObject || w->firstObject == ui.first);
  return wholeRegistry ? Indexed::Unique : Indexed::Ambiguous;
}

template <typename Match>
int8_t find_by(Ui& ui, int8_t mode, Match match) {
  if (ui.count == 0) return -1;
  if (ui.current && match(ui.current)) return 1;
  if (mode == 1) ui.current = nullptr; else rewind_to_window(ui);
  while (NamedObject* o = next_object(ui))
    if (match(o)) return 1;
  ui.current = ui.last;
  return -1;
}

}  // namespace

// ---- registration ----------------------------------------------------------

int8_t register_object(Ui& ui, const std::string& name, int8_t kind, int16_t x, int16_t y,
                       int16_t width, int16_t height, const std::string& parentName) {
  if (find_object(ui, name, 0) == 1) return 0;

  // An unnamed object is numbered after the objects there are.
  const std::string finalName = name.empty() ? "UNTITLED" + std::to_string(ui.count + 1) : name;
  std::string parent;
  int16_t absX = x;
  int16_t absY = y;
  if (!parentName.empty() && find_object(ui, parentName, 0) == 1) {
    NamedObject* p = ui.current;
    if (closes_parent_cycle(ui, p, finalName)) return 0;
    parent = p->name;
    absX = static_cast<int16_t>(p->absX + x);
    absY = static_cast<int16_t>(p->absY + y);
    if (holds_children(ui, p->kind)) tk_open_gadget_list(p->gadget);
  }

  // The new object goes right after its window's last object.
  WindowRecord* w = ui.firstWindow ? ensure_window(ui) : nullptr;
  if (w) {
    position_before(ui, w->firstObject);
    for (int i = 0; i < w->objectCount; ++i) next_object(ui);
  } else {
    ui.current = ui.last;
  }

  auto* o = new NamedObject;
  insert_after_current(ui, o);
  o->number = ui.count;
  o->name = finalName;
  index_name(ui, o);
  o->x = x;
  o->y = y;
  o->width = width;
  o->height = height;
  o->kind = kind;
  if (w) {
    o->window = w->handle;
    if (w->objectCount == 0 || !w->firstObject) w->firstObject = o;
    ++w->objectCount;
  } else {
    o->window = tk_window_handle(tk_active_window());
  }
  o->parentName = parent;
  index_child(ui, o);
  o->absX = absX;
  o->absY = absY;
  return 1;
}

void finish_creation(Ui& ui) {
  if (ui.current) finish_creation(ui, *ui.current);
}

void finish_creation(Ui& ui, NamedObject& o) {
  if (!o.parentName.empty()) {
    const NamedObject* parent = lookup_object(ui, o.parentName);
    if (parent && holds_children(ui, parent->kind)) tk_close_gadget_list();
  }
  ui.current = &o;
}

// ---- lookup ----------------------------------------------------------------

int8_t find_object(Ui& ui, const std::string& name, int8_t mode) {
  if (name.empty() || ui.count == 0) return -1;
  if (ui.current && ui.current->name == name) return 1;
  if (mode != 1) ensure_window(ui);  // the scan from the window would make one
  switch (indexed_lookup(ui, name, mode)) {
    case Indexed::None:
      ui.current = ui.last;  // where a failed scan leaves the registry
      return -1;
    case Indexed::Unique:
      ui.current = ui.byName.find(name)->second;
      return 1;
    case Indexed::Ambiguous:
      break;
  }
  return find_by(ui, mode, [&](const NamedObject* o) { return o->name == name; });
}

int8_t find_object_by_gadget(Ui& ui, int32_t gadget, int8_t mode) {
  if (gadget == 0) return -1;
  return find_by(ui, mode, [&](const NamedObject* o) { return o->gadget == gadget; });
}

int8_t find_object_by_number(Ui& ui, int32_t number, int8_t mode) {
  if (number == 0) return -1;
  return find_by(ui, mode, [&](const NamedObject* o) { return o->number == number; });
}

bool closes_parent_cycle(Ui& ui, const NamedObject* parent, const std::string& name) {
  // Walks by name without moving the current object; the bound guards
  // against a chain that already comes round.
  const NamedObject* at = parent;
  for (int32_t steps = 0; at && steps <= ui.count; ++steps) {
    if (at->name == name) return true;
    if (at->parentName.empty()) return false;
    if (at->parentName == name) return true;
    const NamedObject* up = nullptr;
    for (const NamedObject* o = ui.first; o && !up; o = o->next)
      if (o->name == at->parentName) up = o;
    at = up;
  }
  return at != nullptr;
}

void rewind_to_window(Ui& ui) { position_before(ui, ensure_window(ui)->firstObject); }

NamedObject* window_walk_start(Ui& ui) {
  NamedObject* first = ensure_window(ui)->firstObject;
  return first ? first : ui.first;
}

NamedObject* lookup_object(Ui& ui, const std::string& name) {
  if (name.empty() || ui.count == 0) return nullptr;
  if (ui.current && ui.current->name == name) return ui.current;
  ensure_window(ui);
  switch (indexed_lookup(ui, name, 0)) {
    case Indexed::None:
      return nullptr;
    case Indexed::Unique:
      return ui.byName.find(name)->second;
    case Indexed::Ambiguous:
      break;
  }
  for (NamedObject* o = window_walk_start(ui); o; o = o->next)
    if (o->name == name) return o;
  return nullptr;
}

void position_before(Ui& ui, NamedObject* object) {
  ui.current = object ? object->prev : nullptr;
}

// ---- window selection ------------------------------------------------------

int8_t select_window(Ui& ui, const std::string& name) {
  if (name.empty() || !ui.firstWindow) return -1;
  if (!ui.currentWindow) {
    // Callers rely on this: with none current the first record is taken,
    // whatever the name.
    ui.currentWindow = ui.firstWindow;
    return 1;
  }
  if (ui.currentWindow->name == name) return 1;
  for (WindowRecord* w = ui.firstWindow; w; w = w->next) {
    if (w->name == name) {
      ui.currentWindow = w;
      return 1;
    }
  }
  return -1;
}

int8_t select_window_by_handle(Ui& ui, int32_t handle) {
  if (handle == 0 || !ui.firstWindow) return -1;
  if (ui.currentWindow && ui.currentWindow->handle == handle) return 1;
  for (WindowRecord* w = ui.firstWindow; w; w = w->next) {
    if (w->handle == handle) {
      ui.currentWindow = w;
      return 1;
    }
  }
  return -1;
}

// ---- removal ---------------------------------------------------------------

int8_t remove_object(Ui& ui, const std::string& name, int8_t recursive) {
  if (find_object(ui, name, 0) != 1) return 0;
  NamedObject* target = ui.current;
  std::vector<NamedObject*> doomed;
  if (recursive == 1) collect_subtree(ui, target, doomed); else doomed.push_back(target);
  for (NamedObject* o : doomed) {
    release_object(ui, o);
    delete_object(ui, o);
  }
  return 1;
}

void free_object(Ui& ui, const std::string& name) { remove_object(ui, name, 0); }

int8_t remove_window_objects(Ui& ui, const std::string& windowName) {
  if (select_window(ui, windowName) != 1) return 0;
  const int32_t handle = ui.currentWindow->handle;
  int8_t result = 0;
  rewind_to_window(ui);
  while (NamedObject* o = next_object(ui)) {
    if (o->window != handle) break;
    release_object(ui, o);
    delete_object(ui, o);
    result = 1;
  }
  return result;
}

}  // namespace zui
