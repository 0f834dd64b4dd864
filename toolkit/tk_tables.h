#pragma once
// The platform-neutral state of the toolkit: number tables, native handles,
// the posted-event queue, the parent stack and the shortcut key table. None
// of it names a type of the platform underneath, so a port to another one
// replaces the backend files and keeps these. Nothing outside toolkit/
// includes this header.
//
// Sections: number tables · native handles · events · parent stack · keys.
#include <cstdint>
#include <unordered_map>

namespace tk {

// ---- number tables ---------------------------------------------------------
// Bases keep every allocated number far above menu and shortcut identifiers
// and apart from each other, so a number of one table is never a valid
// number of another.
inline constexpr int32_t kWindowBase = 0x100000;
inline constexpr int32_t kGadgetBase = 0x200000;
inline constexpr int32_t kImageBase = 0x400000;
inline constexpr int32_t kFontBase = 0x600000;
inline constexpr int32_t kMenuBase = 0x700000;
inline constexpr int32_t kHandleBase = 0x1000000;

// A table of objects addressed by number. -1 allocates a fresh number; any
// other positive number replaces the object stored under it. Fresh numbers
// stay below `end`, the next table's base: a long-running program composes
// millions of images, so the counter wraps round to the lowest free number
// of its range instead of running into another table's numbers.
template <typename T>
struct Table {
  Table(int32_t base, int32_t end) : base(base), end(end), next(base) {}
  std::unordered_map<int32_t, T> items;
  int32_t base;
  int32_t end;
  int32_t next;

  T* find(int32_t number) {
    auto it = items.find(number);
    return it == items.end() ? nullptr : &it->second;
  }
  // The number a creation should use, 0 for an unusable request (or when
  // every number of the range is taken).
  int32_t pick(int32_t requested) {
    if (requested != -1) return requested > 0 ? requested : 0;
    for (int64_t tried = 0; tried < int64_t(end) - base; ++tried) {
      const int32_t n = next;
      next = next + 1 == end ? base : next + 1;
      if (items.count(n) == 0) return n;
    }
    return 0;
  }
};

// ---- native handles --------------------------------------------------------
enum class HandleKind { Window, Gadget, Image, Font };
struct HandleTarget {
  HandleKind kind;  // which table the number belongs to
  int32_t number;   // the object's number in that table
};
int32_t new_handle(HandleKind kind, int32_t number);
void drop_handle(int32_t handle);
const HandleTarget* find_handle(int32_t handle);
// The number behind a handle of the given kind, 0 when it is none.
int32_t handle_number(int32_t handle, HandleKind kind);

// ---- events ----------------------------------------------------------------
struct PostedEvent {
  int32_t kind;    // TK_EVENT_*
  int32_t window;  // window number the event names
  int32_t gadget;  // gadget or menu item number
  int32_t type;    // gadget event type, -1 for none
  int32_t wheel;   // wheel turn of a wheel event, else 0
};
void post_event(int32_t kind, int32_t window, int32_t gadget, int32_t type);
// A gadget event that carries how far a wheel turned (tk_last_wheel_delta).
void post_wheel_event(int32_t window, int32_t gadget, int32_t type, int32_t delta);
// The backend's way to end a wait in progress when an event is posted.
void set_event_waker(void (*wake)());
bool events_pending();
// A wait begins: the last event's type and wheel turn end (its window and
// gadget stay readable).
void clear_last_type();
// Takes the oldest event into the last-event state; TK_EVENT_NONE when the
// queue is empty.
int32_t take_event();
// What tk_last_event_* report.
const PostedEvent& last_event();

// ---- parent stack ----------------------------------------------------------
// Where new gadgets go: the client area of a window or the child area of a
// container gadget, named by that object's native handle so that an area
// gone (or a number taken again by another object) is never used.
struct ParentEntry {
  int32_t handle;  // of the window or gadget holding the area
  int32_t window;  // the window the new gadgets' events name
};
// Starts the stack afresh with a window's area.
void use_parent(ParentEntry window);
void push_parent(ParentEntry container);
// Closes the innermost container; false when only the window is left.
bool pop_parent();
// The innermost entry whose area still exists (`alive` asks the backend);
// entries of vanished areas are dropped. nullptr for none.
const ParentEntry* current_parent(bool (*alive)(const ParentEntry&));

// ---- keys ------------------------------------------------------------------
// The keyboard shortcuts of each window: key code with modifiers -> id.
// An existing combination takes the new id.
void set_shortcut(int32_t window, int32_t key, int32_t id);
// key -1 removes every shortcut of the window.
void remove_shortcut(int32_t window, int32_t key);
// Whether a typed key code is a shortcut of the window, and its id.
bool find_shortcut(int32_t window, int32_t code, int32_t& id);
bool has_shortcuts(int32_t window);
// A window is gone: its shortcuts with it.
void forget_shortcuts(int32_t window);
// Counts every change of any window's shortcuts (tk_shortcut_changes).
uint32_t& shortcut_changes();

}  // namespace tk
