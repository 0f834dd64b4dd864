// Skinned image buttons: composing a strip frame for the gadget and the
// hover / leave / press looks. Which frame a situation calls for is decided
// in button_looks.h; this file only composes and tracks the hovered button.
//
// Sections: composition · looks · hovered button · the kind's hooks.
#include <string>

#include "controls/button_looks.h"
#include "controls/controls.h"
#include "controls/controls_internal.h"
#include "framework/framework.h"
#include "toolkit/tk.h"
#include "toolkit/tk_accessible.h"
#include "toolkit/tk_image_owner.h"

namespace zui {

// ---- composition -----------------------------------------------------------

// Builds a stretch button's frame from its three slices, with the caption
// centred in white. Returns the new image, 0 when it could not be made.
static int32_t compose_sliced(Ui& ui, const NamedObject& o, int32_t strip,
                              const ButtonFrameCut& cut) {
  const int32_t W = o.width, H = o.height;
  TkImage image(tk_create_image(-1, W, H));
  if (!image.get()) return 0;
  // The slices live only while the frame is composed.
  const TkImage left(cut_image(strip, cut.left.x, cut.left.y, cut.left.w, cut.left.h));
  const TkImage middle(cut_image(strip, cut.middle.x, cut.middle.y, cut.middle.w, cut.middle.h));
  const TkImage right(cut_image(strip, cut.right.x, cut.right.y, cut.right.w, cut.right.h));
  // A button narrower than its two edges has no middle to stretch.
  const bool stretched = middle.get() && cut.middleWidth > 0;
  if (stretched) tk_resize_image(middle.get(), cut.middleWidth, H);

  tk_start_drawing(tk_image_output(image.get()));
  if (left.get()) tk_draw_image(tk_image_handle(left.get()), 0, 0);
  if (stretched) tk_draw_image(tk_image_handle(middle.get()), cut.left.w, 0);
  if (right.get()) tk_draw_image(tk_image_handle(right.get()), cut.rightX, 0);
  if (!o.caption.empty()) {
    use_skin_text_settings(ui, o);
    const int32_t tw = tk_text_width(o.caption);
    const int32_t th = tk_text_height(o.caption);
    tk_draw_text((W - tw) / 2, (H - th) / 2, o.caption, 0xFFFFFF);
  }
  tk_stop_drawing();
  return image.release();
}

int32_t draw_button_frame(Ui& ui, NamedObject& o, int16_t frame) {
  ButtonRecord* record = button_record(o);
  if (!record) return 0;
  ButtonRecord& b = *record;
  if (!tk_image_exists(b.stripImage)) return 0;
  const ButtonFrameCut cut = button_frame_cut(o, frame, tk_image_width(b.stripImage));
  if (!cut.valid) return 0;

  free_image_if_valid(b.shownImage);
  b.shownImage = cut.sliced ? compose_sliced(ui, o, b.stripImage, cut)
                            : cut_image(b.stripImage, cut.whole.x, cut.whole.y, cut.whole.w,
                                        cut.whole.h);
  show_in_gadget(o.gadget, b.shownImage);
  return 0;
}

// ---- looks -----------------------------------------------------------------

void button_hover(Ui& ui, NamedObject& o) {
  ButtonRecord* b = button_record(o);
  if (!b || b->look != Look::Resting) return;
  if (has_skinned_frames(o)) {
    draw_button_frame(ui, o, hover_frame(o));
    b->look = Look::Hover;
  }
  set_hovered_button(ui, o);
}

void button_leave(Ui& ui, NamedObject& o, int8_t force) {
  ButtonRecord* record = button_record(o);
  if (!record) return;
  ButtonRecord& b = *record;
  if (!(b.look >= Look::Hover || (force == 1 && has_image_strip(b)))) return;
  if (has_skinned_frames(o)) draw_button_frame(ui, o, resting_frame(o));
  b.look = Look::Resting;
}

// A radio button switched on: every other radio button of the same group
// (same parentName, same window) goes off.
static void switch_off_radio_siblings(Ui& ui, const NamedObject& self) {
  auto off = [&](NamedObject& o) {
    if (&o == &self || o.number == self.number || o.window != self.window) return;
    if (toggle_mode_of(o) != ToggleMode::Radio) return;
    o.text.assign(1, '0');
    draw_button_frame(ui, o, ButtonFrame::Resting);
    tk_announce_states(o.gadget, TK_STATE_CHECKED);
  };
  if (self.parentName.empty()) {
    for (NamedObject* o = window_walk_start(ui); o && o->window == self.window; o = o->next)
      if (o->parentName.empty()) off(*o);
  } else if (const auto* siblings = children_of(ui, self.parentName)) {
    for (NamedObject* o : *siblings) off(*o);
  }
}

void button_press(Ui& ui, NamedObject& o) {
  const PressOutcome r = press_outcome(o);
  if (r.applies) {
    if (r.frame != ButtonFrame::None) draw_button_frame(ui, o, r.frame);
    // Written as one character: the toggle state is exactly "1" or "0".
    if (r.newState) {
      o.text.assign(1, r.newState);
      tk_announce_states(o.gadget, TK_STATE_CHECKED);
    }
    if (r.switchOffRadioSiblings) switch_off_radio_siblings(ui, o);
    button_record(o)->look = Look::Pressed;
  }
  set_hovered_button(ui, o);
}

void button_hold(Ui& ui, NamedObject& o) {
  if (ButtonRecord* b = button_record(o); b && has_skinned_frames(o)) {
    draw_button_frame(ui, o, held_frame(o));
    b->look = Look::Pressed;
  }
  set_hovered_button(ui, o);
}

void button_release(Ui& ui, NamedObject& o) {
  if (!button_record(o)) return;
  button_press(ui, o);
  // The mouse is still over it: a push button shows its hover look, a
  // toggle the frame its switch drew.
  if (!is_toggle_like(o)) draw_button_frame(ui, o, ButtonFrame::Hover);
  button_record(o)->look = Look::Hover;
}

// ---- hovered button --------------------------------------------------------

void set_hovered_button(Ui& ui, NamedObject& o) {
  WindowRecord* win = window_of(ui, o);
  if (!win) return;
  // Removing an object clears it from every window record, so a remembered
  // button is always still registered.
  NamedObject* previous = win->hoveredObject;
  if (previous && previous != &o) button_leave(ui, *previous, 1);
  win->hoveredObject = &o;
}

// ---- the kind's hooks ------------------------------------------------------
namespace {

// In a window whose buttons fire on release the press only holds the button;
// elsewhere it takes effect at once.
void on_press(Ui& ui, WindowRecord& win, NamedObject& o, const ToolkitEvent&) {
  if (ButtonRecord* b = button_record(o)) b->heldOff = false;
  if (fires_on_release(win.flags, o)) {
    button_hold(ui, o);
    win.eventCode = Code::None;
  } else if (button_record(o)) {
    button_press(ui, o);
  }
}

// The release of a held button over it is its click; a press dragged off
// was let go already (the look returned to rest).
bool on_click(Ui& ui, const WindowRecord& win, NamedObject& o, const ToolkitEvent& e) {
  if (e.gadget != o.gadget || !fires_on_release(win.flags, o) ||
      button_record(o)->look != Look::Pressed)
    return false;
  button_release(ui, o);
  return true;
}

// A button without a look strip only lets go of a press. A press dragged
// off and back on with the mouse button still down holds the button again,
// so letting go there still clicks, as desktop buttons do.
void on_hover(Ui& ui, NamedObject& o) {
  ButtonRecord* b = button_record(o);
  if (!b) return;
  if (b->heldOff) {
    b->heldOff = false;
    if (tk_left_button_down() == 1) {
      button_hold(ui, o);
      return;
    }
  }
  if (has_image_strip(*b))
    button_hover(ui, o);
  else if (b->look == Look::Pressed)
    button_leave(ui, o, 0);
}

void on_away(Ui& ui, NamedObject& o, const ToolkitEvent&) {
  ButtonRecord* b = button_record(o);
  if (!b || b->look <= Look::Resting) return;
  const WindowRecord* win = window_of(ui, o);
  b->heldOff = b->look == Look::Pressed && win && fires_on_release(win->flags, o) &&
               tk_left_button_down() == 1;
  button_leave(ui, o, 0);
}

// True when a strip animation ended with this step.
bool on_step(Ui& ui, NamedObject& o) {
  const ButtonRecord* b = button_record(o);
  if (!b || !is_animating_look(b->look)) return false;
  animation_step(ui, o);
  return b->look == Look::Resting;
}

// A toggle or radio stretch button is switched by pressing it, so that its
// picture follows. Only a change of state presses: pressing to set the state
// it already has would show the opposite picture.
void on_text_set(Ui& ui, NamedObject& o, const std::string& text, bool apply) {
  if (!button_record(o) || !is_toggle_like(o) || (text == "1") == is_switched_on(o) || !apply)
    return;
  button_press(ui, o);
}

// Enabled again, a switched-on toggle or radio button shows its "on"
// resting frame; disabled, its disabled frame.
void on_enabled(Ui& ui, NamedObject& o) {
  if (button_record(o)) draw_button_frame(ui, o, resting_frame(o));
}

// Image buttons report their look (an animation's run mode while it runs).
KeywordField keyword(NamedObject& o, const std::string& k) {
  ButtonRecord* b = button_record(o);
  if (b && k == "ANIMATING" && (o.kind == Kind::ImageButton || o.kind == Kind::SkinnedButton))
    return KeywordField(b->look).get_only();
  return {};
}

// The composed picture is ours; the strip is the caller's.
void on_release(NamedObject& o) {
  if (const ButtonRecord* b = button_record(o))
    if (b->shownImage != b->stripImage && tk_image_exists(b->shownImage))
      tk_free_image(b->shownImage);
}

}  // namespace

void add_button_hooks(KindBehaviour& k) {
  k.press = on_press;
  k.click = on_click;
  k.hover = on_hover;
  k.mouseAway = on_away;
  k.step = on_step;
  k.textSet = on_text_set;
  k.enabled = on_enabled;
  k.keyword = keyword;
  k.release = on_release;
}

}  // namespace zui
