// The platform-neutral state of the toolkit (see tk_tables.h).
//
// Sections: handles · events · parent stack · keys.
#include "toolkit/tk_tables.h"

#include <deque>
#include <map>
#include <vector>

#include "toolkit/tk.h"

namespace tk {

// ---- handles ---------------------------------------------------------------

namespace {
struct HandleTable {
  std::unordered_map<int32_t, HandleTarget> items;
  int32_t next = kHandleBase;
};
HandleTable& handles() {
  static HandleTable table;
  return table;
}
}  // namespace

int32_t new_handle(HandleKind kind, int32_t number) {
  HandleTable& t = handles();
  // Every composed image takes a handle, so the counter wraps round (past
  // any handle still in use) rather than overflow.
  int32_t h = t.next;
  do {
    h = t.next;
    t.next = t.next == INT32_MAX ? kHandleBase : t.next + 1;
  } while (t.items.count(h) != 0);
  t.items[h] = {kind, number};
  return h;
}

void drop_handle(int32_t handle) { handles().items.erase(handle); }

const HandleTarget* find_handle(int32_t handle) {
  auto& items = handles().items;
  auto it = items.find(handle);
  return it == items.end() ? nullptr : &it->second;
}

int32_t handle_number(int32_t handle, HandleKind kind) {
  const HandleTarget* t = find_handle(handle);
  return t && t->kind == kind ? t->number : 0;
}

// ---- events ----------------------------------------------------------------

namespace {
struct EventState {
  std::deque<PostedEvent> queue;
  void (*wake)() = nullptr;
  PostedEvent last{TK_EVENT_NONE, 0, 0, -1, 0};
};
EventState& events() {
  static EventState s;
  return s;
}
void push_event(const PostedEvent& e) {
  EventState& s = events();
  s.queue.push_back(e);
  if (s.wake) s.wake();
}
}  // namespace

void post_event(int32_t kind, int32_t window, int32_t gadget, int32_t type) {
  push_event({kind, window, gadget, type, 0});
}

void post_wheel_event(int32_t window, int32_t gadget, int32_t type, int32_t delta) {
  push_event({TK_EVENT_GADGET, window, gadget, type, delta});
}

void set_event_waker(void (*wake)()) { events().wake = wake; }

bool events_pending() { return !events().queue.empty(); }

void clear_last_type() {
  events().last.type = -1;
  events().last.wheel = 0;
}

int32_t take_event() {
  EventState& s = events();
  if (s.queue.empty()) return TK_EVENT_NONE;
  s.last = s.queue.front();
  s.queue.pop_front();
  return s.last.kind;
}

const PostedEvent& last_event() { return events().last; }

// ---- parent stack ----------------------------------------------------------

namespace {
std::vector<ParentEntry>& parents() {
  static std::vector<ParentEntry> stack;
  return stack;
}
}  // namespace

void use_parent(ParentEntry window) { parents().assign(1, window); }

void push_parent(ParentEntry container) { parents().push_back(container); }

bool pop_parent() {
  auto& stack = parents();
  if (stack.size() <= 1) return false;
  stack.pop_back();
  return true;
}

const ParentEntry* current_parent(bool (*alive)(const ParentEntry&)) {
  auto& stack = parents();
  while (!stack.empty() && !alive(stack.back())) stack.pop_back();
  return stack.empty() ? nullptr : &stack.back();
}

// ---- keys ------------------------------------------------------------------

namespace {
std::unordered_map<int32_t, std::map<int32_t, int32_t>>& shortcuts() {
  static std::unordered_map<int32_t, std::map<int32_t, int32_t>> table;
  return table;
}
}  // namespace

uint32_t& shortcut_changes() {
  static uint32_t changes = 0;
  return changes;
}

void set_shortcut(int32_t window, int32_t key, int32_t id) {
  auto [at, added] = shortcuts()[window].try_emplace(key, id);
  if (!added && at->second == id) return;
  at->second = id;
  ++shortcut_changes();
}

void remove_shortcut(int32_t window, int32_t key) {
  auto it = shortcuts().find(window);
  if (it == shortcuts().end()) return;
  const size_t before = it->second.size();
  if (key == -1) it->second.clear();
  else it->second.erase(key);
  if (it->second.size() != before) ++shortcut_changes();
}

bool find_shortcut(int32_t window, int32_t code, int32_t& id) {
  auto it = shortcuts().find(window);
  if (it == shortcuts().end()) return false;
  auto found = it->second.find(code);
  if (found == it->second.end()) return false;
  id = found->second;
  return true;
}

bool has_shortcuts(int32_t window) {
  auto it = shortcuts().find(window);
  return it != shortcuts().end() && !it->second.empty();
}

void forget_shortcuts(int32_t window) {
  if (shortcuts().erase(window) != 0) ++shortcut_changes();
}

}  // namespace tk
