// The event dispatcher: one walk over the current window's objects turns a
// toolkit event (or a timed-out wait) into one framework event code and one
// object name, left in the window record. It is also the clock of every
// animation, since the main loop calls it at least every 20 ms.
//
// Sections: call and eligibility · the object's own gadget events · mouse
// over an object · mouse away from an object · shortcuts · animations ·
// dispatch_event · results.
//
// What an object does with the mouse (a button's looks, a tab bar's tabs, a
// splitter's bar, a scroll bar's move) belongs to its kind: the dispatcher
// decides who is eligible, who has the focus and what the combo lists take,
// and calls the kind's hooks.
//
// The dispatcher keeps no state between calls. It walks the registry with
// its position: each object is current while it is handled, as the
// registry's own walk leaves it. The controls it calls work on the object
// they are given; only the calls by name (and hooks of other layers) may
// move the position, which the walk takes back at the next object.
#include <cassert>
#include <string>

#include "controls/controls.h"
#include "controls/controls_internal.h"
#include "framework/framework.h"
#include "toolkit/tk.h"
#include "toolkit/tk_accessible.h"

namespace zui {

// ---- call and eligibility --------------------------------------------------
namespace {

using Call = ToolkitEvent;

// Objects that take part in mouse and focus handling. Labels and plain
// pictures never do; splitters and frames are pinned (-2).
bool is_eligible(const NamedObject& o) {
  return o.kind >= Kind::PushButton && o.visible == Visibility::Shown &&
         o.hidden < HiddenFlag::ByName && o.disabled == 0;
}

// The gadget's text becomes the object's value, except for kinds whose
// value lives only in the record: their image gadget has no text, and
// copying it would erase it.
void take_gadget_text(const KindBehaviour& k, NamedObject& o) {
  if (!k.valueInRecord) o.text = tk_get_gadget_text(o.gadget);
}

// Inclusive on every edge; an open combo list extends the box downwards.
// A negative position means the mouse is outside the client area, which
// hits nothing (objects partly left of or above the client area included).
bool mouse_is_over(const NamedObject& o, const Call& c) {
  if (c.mouseX < 0 || c.mouseY < 0) return false;
  if (c.mouseX < o.absX || c.mouseX > o.absX + o.width || c.mouseY < o.absY) return false;
  return (c.mouseY <= o.absY + o.dropHeight && o.dropOpen == 1) || c.mouseY <= o.absY + o.height;
}

// A key the object's gadget took while it held a focus from the keyboard.
bool is_key_type(int32_t type) { return type >= TK_TYPE_KEY; }

bool is_own_gadget_event(const NamedObject& o, const Call& c) {
  if (o.gadget == 0 || c.gadget != o.gadget) return false;
  return c.type == TK_TYPE_LIST_OPENED || c.type == TK_TYPE_LIST_CLOSED ||
         c.type == TK_TYPE_CHANGED || c.type == TK_TYPE_FOCUS || c.type == TK_TYPE_FOCUS_LOST ||
         is_key_type(c.type);
}

// ---- the object's own gadget events ----------------------------------------

void own_gadget_event(Ui& ui, WindowRecord& win, NamedObject& o, int32_t type,
                      const KindBehaviour& k) {
  if (is_key_type(type)) {
    // The kind answers the key wherever the mouse is.
    auto key = k.key;
    win.eventCode = key ? key(ui, o, type - TK_TYPE_KEY) : Code::None;
    win.eventObject = o.name;
    return;
  }
  switch (type) {
    case TK_TYPE_LIST_OPENED:
      if (o.kind == Kind::Combo) {
        o.dropOpen = 1;
        win.openDropDown = o.number;
      }
      break;
    case TK_TYPE_LIST_CLOSED:
      if (o.kind == Kind::Combo) {
        o.dropOpen = 0;
        win.openDropDown = 0;
      }
      break;
    case TK_TYPE_CHANGED:
      win.eventCode = Code::Changed;
      o.changed = 1;
      break;
    case TK_TYPE_FOCUS:
      // The object that had the focus gives up what it held (a grid its
      // keys) to the one that takes it.
      if (auto leaves = kind_behaviour(ui, win.focusKind).focusLeaves) leaves(ui, o);
      win.focusKind = o.kind;
      win.focusNumber = o.number;
      win.eventCode = Code::Focus;
      break;
    case TK_TYPE_FOCUS_LOST:
      win.eventCode = Code::FocusLost;
      win.focusNumber = 0;
      win.focusKind = 0;
      break;
    default:
      assert(false && "not an own-gadget event type");
  }
  win.eventObject = o.name;
  take_gadget_text(k, o);
}

// ---- mouse over an object ----------------------------------------------------

// Returns true when the object was handled as a scroll-bar move.
bool mouse_over(Ui& ui, WindowRecord& win, NamedObject& o, const Call& c,
                const KindBehaviour& k) {
  bool handled = false;
  if (c.kind == TK_EVENT_GADGET && k.moved && k.moved(ui, win, o, c)) {
    handled = true;
  } else {
    switch (c.type) {
      case TK_TYPE_LEFT_CLICK:
        win.eventCode = Code::LeftClick;
        if (tk_focused_gadget() != o.gadget) tk_focus_gadget(o.gadget);
        if (k.press) k.press(ui, win, o, c);
        take_gadget_text(k, o);
        break;
      case TK_TYPE_LEFT_DOUBLE: win.eventCode = Code::LeftDouble; break;
      case TK_TYPE_RIGHT_CLICK: win.eventCode = Code::RightClick; break;
      case TK_TYPE_RIGHT_DOUBLE: win.eventCode = Code::RightDouble; break;
      case 1281: win.eventCode = 65; break;
      case 65534: win.eventCode = 66; break;
      case 65535: win.eventCode = 67; break;
      case TK_TYPE_CHANGED:
        win.eventCode = Code::Changed;
        o.changed = 1;
        take_gadget_text(k, o);
        break;
      case TK_TYPE_LEFT_RELEASE:
        if (k.click && k.click(ui, win, o, c)) {
          win.eventCode = Code::LeftClick;
          break;
        }
        [[fallthrough]];
      default:
        // No click: the mouse only rests or moves over the object.
        if (o.catchMouseOver == 1) win.eventCode = Code::MouseOver;
        if (k.hover) k.hover(ui, o);
        break;
    }
  }
  if (auto over = k.mouseOver) over(ui, win, o, c);
  win.eventObject = o.name;
  return handled;
}

// ---- mouse away from an object -----------------------------------------------

void mouse_away(Ui& ui, NamedObject& o, const Call& c, const KindBehaviour& k) {
  if (auto away = k.mouseAway) away(ui, o, c);
}

// ---- shortcuts ---------------------------------------------------------------

// Shortcuts (menu items 1000..1999) go to one object: the one whose gadget
// holds the keyboard focus (a clicked grid, wherever the mouse went since),
// else the one under the mouse. The kind decides whether it takes them now
// (a grid does not while another gadget takes typing).
struct ShortcutTarget {
  int32_t focused = -1;          // gadget with the keyboard focus at the call
  bool taken = false;            // the focused object took the shortcut
  NamedObject* under = nullptr;  // the object under the mouse that may take it
};

bool is_object_shortcut(const Call& c) {
  return c.kind == TK_EVENT_MENU && c.menu >= 1000 && c.menu <= 1999;
}

void object_shortcut(Ui& ui, WindowRecord& win, NamedObject& o, const Call& c,
                     const KindBehaviour& k, ShortcutTarget& t) {
  if (!is_object_shortcut(c) || !k.shortcut || t.taken) return;
  if (o.gadget != 0 && o.gadget == t.focused) {
    win.eventCode = k.shortcut(ui, o, c.menu);
    win.eventObject = o.name;
    t.taken = true;
    t.under = nullptr;
  } else if (win.eventObject == o.name) {
    t.under = &o;
  }
}

// After the walk: the object under the mouse, when no focused one took it.
void shortcut_under_mouse(Ui& ui, WindowRecord& win, const Call& c, ShortcutTarget& t) {
  if (t.taken || !t.under) return;
  NamedObject& o = *t.under;
  t.under = nullptr;
  if (auto shortcut = kind_behaviour(ui, o.kind).shortcut) {
    win.eventCode = shortcut(ui, o, c.menu);
    win.eventObject = o.name;
  }
}

// ---- animations --------------------------------------------------------------

// One step of the object's animations (a button's strip, a grid's
// expanders). Returns true when one ended: code 96 is reported and the
// dispatch ends.
bool step_animations(Ui& ui, WindowRecord& win, NamedObject& o, const KindBehaviour& k) {
  if (!k.step || !k.step(ui, o)) return false;
  win.eventObject = o.name;
  win.eventCode = Code::AnimationDone;
  return true;
}

}  // namespace

// ---- dispatch_event ----------------------------------------------------------

namespace {

// One dispatch over the window's objects, walked with its own pointer; the
// object the dispatch ended on, nullptr when the window has none.
NamedObject* dispatch_over(Ui& ui, WindowRecord& win, const Call& c) {
  bool handled = false;
  ShortcutTarget keys;
  if (is_object_shortcut(c)) keys.focused = tk_focused_gadget();
  // A dispatch that ends early ends on its object.
  auto end_on = [&](NamedObject* o) {
    const std::string ended = win.eventObject;
    const int8_t code = win.eventCode;
    shortcut_under_mouse(ui, win, c, keys);  // a key pressed meanwhile still counts
    win.eventObject = ended;
    win.eventCode = code;
    return o;
  };

  NamedObject* at = nullptr;
  for (NamedObject* o = window_walk_start(ui); o; o = o->next) {
    at = o;
    if (o->window != win.handle) continue;
    const KindBehaviour& k = kind_behaviour(ui, o->kind);

    if (is_eligible(*o)) {
      if (is_own_gadget_event(*o, c)) {
        own_gadget_event(ui, win, *o, c.type, k);
        handled = true;
      } else if (win.openDropDown > 0) {
        // While a combo list is open only a choice in that list counts.
        if (win.openDropDown == o->number && c.type == TK_TYPE_RIGHT_CLICK) {
          win.eventCode = Code::Changed;
          take_gadget_text(k, *o);
          o->changed = 1;
          o->dropOpen = 0;
          win.openDropDown = 0;
          win.eventObject = o->name;
          return o;
        }
      } else {
        if (!handled && mouse_is_over(*o, c)) {
          if (mouse_over(ui, win, *o, c, k)) handled = true;
        } else {
          mouse_away(ui, *o, c, k);
        }
      }
      object_shortcut(ui, win, *o, c, k, keys);
    } else if (k.drag && k.drag(ui, *o, c)) {
      return o;
    }

    if (step_animations(ui, win, *o, k)) return end_on(o);
  }
  shortcut_under_mouse(ui, win, c, keys);
  return at;
}

}  // namespace

int32_t dispatch_event(Ui& ui, int32_t mouseX, int32_t mouseY, int32_t eventKind,
                       int32_t eventType, int32_t eventGadget, int32_t eventMenu) {
  const Call c{mouseX, mouseY, eventKind, eventType, eventGadget, eventMenu};
  // Scroll bars are made by the framework's creation call; their behaviour
  // must be there before the first of them is dispatched.
  register_control_kinds(ui);
  rewind_to_window(ui);  // creates the "AUTO" record when there is none
  WindowRecord* w = current_window(ui);
  assert(w);
  WindowRecord& win = *w;
  win.eventCode = Code::None;
  win.eventObject.clear();
  // The registry position ends where the walk ended, as it always has.
  if (NamedObject* ended = dispatch_over(ui, win, c)) make_current(ui, ended);
  return 0;
}

// ---- results -----------------------------------------------------------------

int8_t event_code(Ui& ui) {
  const WindowRecord* win = current_window(ui);
  return win ? win->eventCode : Code::None;
}

std::string event_object_name(Ui& ui) {
  const WindowRecord* win = current_window(ui);
  return win ? win->eventObject : std::string();
}

}  // namespace zui
