// The event dispatcher: one walk over the current window's objects turns a
// toolkit event (or a timed-out wait) into one framework event code and one
// object name, left in the window record. It is also the clock of every
// animation, since the main loop calls it at least every 20 ms.
//
// Sections: call and eligibility · the object's own gadget events · mouse
// over an object · mouse away from an object · shortcuts · splitters ·
// animations · dispatch_event · results.
//
// The dispatcher keeps no state between calls. It walks the registry with
// its position: each object is current while it is handled, as the
// registry's own walk leaves it. The controls it calls work on the object
// they are given; only the calls by name (and hooks of other layers) may
// move the position, which the walk takes back at the next object.
#include <cassert>
#include <cstdlib>
#include <string>

#include "controls/button_looks.h"
#include "controls/controls.h"
#include "controls/controls_internal.h"
#include "framework/framework.h"
#include "toolkit/tk.h"
#include "toolkit/tk_accessible.h"

// ---- call and eligibility --------------------------------------------------
namespace {

using Call = ToolkitEvent;

// Objects that take part in mouse and focus handling. Labels and plain
// pictures never do; splitters and frames are pinned (-2).
bool is_eligible(const NamedObject& o) {
  return o.kind >= Kind::PushButton && o.visible == Visibility::Shown &&
         o.hidden < HiddenFlag::ByName && o.disabled == 0;
}

// The gadget's text becomes the object's value, except for custom-drawn
// kinds whose value (toggle state, selected tab key) lives only in the
// record: their image gadget has no text, and copying it would erase it.
void take_gadget_text(NamedObject& o) {
  if (!text_lives_in_record(o)) o.text = tk_get_gadget_text(o.gadget);
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

void own_gadget_event(Ui& ui, WindowRecord& win, NamedObject& o, int32_t type) {
  if (is_key_type(type)) {
    // The kind answers the key wherever the mouse is.
    auto key = kind_behaviour(ui, o.kind).key;
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
  take_gadget_text(o);
}

// ---- mouse over an object ----------------------------------------------------

// Returns true when the object was handled as a scroll-bar move.
bool mouse_over(Ui& ui, WindowRecord& win, NamedObject& o, const Call& c,
                const KindBehaviour& k) {
  bool handled = false;
  if (c.kind == TK_EVENT_GADGET && o.kind == Kind::ScrollBar) {
    o.text = std::to_string(tk_get_gadget_state(o.gadget));
    if (o.scrollBarData && !o.scrollBarData->gridName.empty()) {
      const char* keyword = o.scrollBarData->vertical == 1 ? "SCROLLY" : "SCROLLX";
      set_attribute(ui, o.scrollBarData->gridName, keyword, o.text, 1);
    }
    win.eventCode = Code::ScrollBarMoved;
    handled = true;
  } else {
    switch (c.type) {
      case TK_TYPE_LEFT_CLICK:
        win.eventCode = Code::LeftClick;
        if (tk_focused_gadget() != o.gadget) tk_focus_gadget(o.gadget);
        if (fires_on_release(win.flags, o)) {
          // Only the release over it will count.
          button_hold(ui, o);
          win.eventCode = Code::None;
        } else if (o.buttonData) {
          button_press(ui, o);
        }
        if (o.tabData) tab_bar_click(ui, o, c.mouseX, c.mouseY);
        take_gadget_text(o);
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
        take_gadget_text(o);
        break;
      case TK_TYPE_LEFT_RELEASE:
        // The release of a held button over it is its click; a press
        // dragged off was let go already (the look returned to rest).
        if (c.gadget == o.gadget && fires_on_release(win.flags, o) &&
            o.buttonData->look == Look::Pressed) {
          button_release(ui, o);
          win.eventCode = Code::LeftClick;
          break;
        }
        [[fallthrough]];
      default:
        // No click: the mouse only rests or moves over the object.
        if (o.catchMouseOver == 1) win.eventCode = Code::MouseOver;
        if (o.buttonData) {
          if (has_image_strip(*o.buttonData))
            button_hover(ui, o);
          else if (o.buttonData->look == Look::Pressed)
            button_leave(ui, o, 0);
        }
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
  if (o.buttonData && o.buttonData->look > Look::Resting) button_leave(ui, o, 0);
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

// ---- splitters ---------------------------------------------------------------

// A moved bar gives the second child its new absolute position (the toolkit
// lays it out behind the bar, TK_SPLITTER_BAR pixels on). Returns true when
// the bar had moved: the dispatch then ends.
bool splitter_moved(Ui& ui, NamedObject& o, const Call& c) {
  if (o.kind != Kind::Splitter || c.type != TK_TYPE_LEFT_CLICK || !o.splitterData) return false;
  const SplitterRecord& s = *o.splitterData;
  if (!tk_gadget_exists(s.secondGadget) || !tk_gadget_exists(o.gadget)) return false;
  const bool vertical = s.vertical == 1;
  const int32_t position = tk_get_gadget_state(o.gadget);
  const auto behind = int16_t((vertical ? o.absX : o.absY) + position + TK_SPLITTER_BAR);

  if (o.text.empty()) {
    // No position recorded yet (creation records none): the bar has moved
    // only when the second child no longer sits behind it. Otherwise the
    // first left click anywhere would be taken for a move and swallowed.
    bool moved = true;
    if (const NamedObject* child = lookup_object(ui, s.secondName))
      moved = (vertical ? child->absX : child->absY) != behind;
    if (!moved) {
      o.text = std::to_string(position);
      return false;
    }
  } else if (position == std::atoi(o.text.c_str())) {
    return false;
  }

  o.text = std::to_string(position);
  if (NamedObject* second = lookup_object(ui, s.secondName)) {
    if (vertical)
      place_absolute(ui, *second, behind, -1);
    else
      place_absolute(ui, *second, -1, behind);
  }
  return true;
}

// ---- animations --------------------------------------------------------------

// One step of a running strip animation or of the kind's own animations
// (a grid's expanders). Returns
// true when a strip animation ended: code 96 is reported and the dispatch
// ends.
bool step_animations(Ui& ui, WindowRecord& win, NamedObject& o, const KindBehaviour& k) {
  if (o.buttonData && is_animating_look(o.buttonData->look)) {
    animation_step(ui, o);
    if (o.buttonData->look == Look::Resting) {
      win.eventObject = o.name;
      win.eventCode = Code::AnimationDone;
      return true;
    }
  } else if (auto step = k.step) {
    if (step(ui, o)) {
      win.eventObject = o.name;
      win.eventCode = Code::AnimationDone;
      return true;
    }
  }
  return false;
}

}  // namespace

// ---- dispatch_event ----------------------------------------------------------

int32_t dispatch_event(Ui& ui, int32_t mouseX, int32_t mouseY, int32_t eventKind,
                       int32_t eventType, int32_t eventGadget, int32_t eventMenu) {
  const Call c{mouseX, mouseY, eventKind, eventType, eventGadget, eventMenu};
  rewind_to_window(ui);  // creates the "AUTO" record when there is none
  WindowRecord* w = current_window(ui);
  assert(w);
  WindowRecord& win = *w;
  win.eventCode = Code::None;
  win.eventObject.clear();
  bool handled = false;
  ShortcutTarget keys;
  if (is_object_shortcut(c)) keys.focused = tk_focused_gadget();
  // A dispatch that ends early leaves the object it ended on current.
  auto end_on = [&](NamedObject* o) {
    const std::string ended = win.eventObject;
    const int8_t code = win.eventCode;
    shortcut_under_mouse(ui, win, c, keys);  // a key pressed meanwhile still counts
    win.eventObject = ended;
    win.eventCode = code;
    make_current(ui, o);
    return 0;
  };

  for (NamedObject* o = next_object(ui); o; make_current(ui, o), o = next_object(ui)) {
    if (o->window != win.handle) continue;
    const KindBehaviour& k = kind_behaviour(ui, o->kind);

    if (is_eligible(*o)) {
      if (is_own_gadget_event(*o, c)) {
        own_gadget_event(ui, win, *o, c.type);
        handled = true;
      } else if (win.openDropDown > 0) {
        // While a combo list is open only a choice in that list counts.
        if (win.openDropDown == o->number && c.type == TK_TYPE_RIGHT_CLICK) {
          win.eventCode = Code::Changed;
          take_gadget_text(*o);
          o->changed = 1;
          o->dropOpen = 0;
          win.openDropDown = 0;
          win.eventObject = o->name;
          return 0;
        }
      } else {
        if (!handled && mouse_is_over(*o, c)) {
          if (mouse_over(ui, win, *o, c, k)) handled = true;
        } else {
          mouse_away(ui, *o, c, k);
        }
      }
      object_shortcut(ui, win, *o, c, k, keys);
    } else if (splitter_moved(ui, *o, c)) {
      return 0;
    }

    if (step_animations(ui, win, *o, k)) return end_on(o);
  }
  shortcut_under_mouse(ui, win, c, keys);
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
