#pragma once
// The looks of skinned buttons as pure functions of the object's record:
// which strip frame a button shows in each situation, what a click does to
// it, and which strip rectangles a frame is cut from. The drawing code in
// button.cpp asks these and only composes pixels.
//
// Sections: frame numbers · state queries · frame choice · press outcome ·
// strip cuts.
#include <cstdint>

#include "controls/controls.h"
#include "controls/control_records.h"
#include "framework/codes.h"

namespace zui {

// ---- frame numbers within a strip ------------------------------------------
// The frames of a look strip; draw_button_frame takes them as the frame
// numbers they are.
enum class ButtonFrame : int16_t {
  None = -1,    // nothing is drawn
  Resting = 0,  // push: resting; toggle: off
  On = 1,       // push: pressed; toggle: resting, on
  Hover = 2,    // hover (toggle: while off)
  Disabled = 3, // disabled
  HoverOn = 4,  // toggle: hover while on
};

// ---- state queries ---------------------------------------------------------
// Kinds that get hover, pressed and disabled frames (kinds 15 and 17 carry a
// button record only for animation strips).
inline bool has_skinned_frames(const NamedObject& o) {
  return o.kind == Kind::SkinnedButton || o.kind == Kind::StretchButton;
}
// An image strip is set.
inline bool has_image_strip(const ButtonRecord& b) {
  return b.style == ButtonStyle::ImageStrip || b.style == ButtonStyle::Both;
}
// The same for an object without a button record: none.
inline bool has_image_strip(const NamedObject& o) {
  const ButtonRecord* b = button_record(o);
  return b && has_image_strip(*b);
}
// An animation strip is set.
inline bool has_animation_strip(const ButtonRecord& b) {
  return b.style == ButtonStyle::AnimationStrip || b.style == ButtonStyle::Both;
}
// Objects without a stretch record are push buttons.
inline ToggleMode toggle_mode_of(const NamedObject& o) {
  const StretchRecord* s = stretch_record(o);
  return s ? s->toggleMode : ToggleMode::Push;
}
// Toggle modes outside the three count as toggles, as numbers above 0 did.
inline bool is_toggle_like(const NamedObject& o) {
  return static_cast<int8_t>(toggle_mode_of(o)) >= 1;
}
// A toggle or radio button is on exactly when its text is "1".
inline bool is_switched_on(const NamedObject& o) { return o.text == "1"; }
inline bool is_animating_look(int8_t look) {
  return look >= Look::ForwardFirst && look <= Look::AnimatingLast;
}

// ---- frame choice ----------------------------------------------------------
// The frame shown when the button returns to rest.
inline ButtonFrame resting_frame(const NamedObject& o) {
  if (o.disabled) return ButtonFrame::Disabled;
  if (!is_toggle_like(o)) return ButtonFrame::Resting;
  return is_switched_on(o) ? ButtonFrame::On : ButtonFrame::Resting;
}
// The frame shown while the mouse is over the resting button.
inline ButtonFrame hover_frame(const NamedObject& o) {
  return is_toggle_like(o) && is_switched_on(o) ? ButtonFrame::HoverOn : ButtonFrame::Hover;
}

// Whether the button fires on release in a window with these flags: skinned
// buttons with a strip, whose pressed look can be held.
inline bool fires_on_release(int32_t windowFlags, const NamedObject& o) {
  return (windowFlags & kWindowButtonsFireOnRelease) != 0 && has_skinned_frames(o) &&
         has_image_strip(o);
}
// The frame shown while the press is held: a push button looks pressed, a
// toggle keeps its hover look until the release switches it.
inline ButtonFrame held_frame(const NamedObject& o) {
  return is_toggle_like(o) ? hover_frame(o) : ButtonFrame::On;
}

// ---- press outcome ---------------------------------------------------------
struct PressOutcome {
  bool applies = false;                 // look changes to pressed
  ButtonFrame frame = ButtonFrame::None; // frame to draw, None = keep picture
  char newState = 0;                    // new toggle text '1' or '0', 0 = unchanged
  bool switchOffRadioSiblings = false;  // radio: the others of the group go off
};

inline PressOutcome press_outcome(const NamedObject& o) {
  PressOutcome r;
  const ButtonRecord* b = button_record(o);
  if (!b || !has_skinned_frames(o)) return r;
  if (!has_image_strip(*b) && b->look != Look::Hover) return r;
  r.applies = true;
  const ToggleMode mode = toggle_mode_of(o);
  if (!is_toggle_like(o)) {
    r.frame = ButtonFrame::On;
  } else if (is_switched_on(o)) {
    // A toggle switches off; a radio button stays on until a sibling is chosen.
    if (mode == ToggleMode::Toggle) {
      r.frame = ButtonFrame::Hover;
      r.newState = '0';
    }
  } else {
    r.frame = ButtonFrame::HoverOn;
    r.newState = '1';
    r.switchOffRadioSiblings = mode == ToggleMode::Radio;
  }
  return r;
}

// ---- strip cuts ------------------------------------------------------------
struct StripRect {
  int32_t x = 0, y = 0, w = 0, h = 0;
};

// Where frame n of the button comes from. A stretch button with an edge width
// is built from three slices (left, middle stretched to middleWidth, right);
// every other button cuts one whole frame. `valid` is false for requests that
// would cut outside the strip: those are ignored and the picture stays.
struct ButtonFrameCut {
  bool valid = false;
  bool sliced = false;
  StripRect whole;                 // unsliced: the frame rectangle
  StripRect left, middle, right;   // sliced: the three pieces in the strip
  int32_t middleWidth = 0;         // sliced: stretched middle width (<= 0: none)
  int32_t rightX = 0;              // sliced: where the right piece goes
};

inline ButtonFrameCut button_frame_cut(const NamedObject& o, int16_t n, int32_t stripWidth) {
  ButtonFrameCut c;
  const ButtonRecord* b = button_record(o);
  if (!b || n < 0 || b->frameCount < n) return c;
  const int32_t W = o.width, H = o.height;
  if (W <= 0 || H <= 0) return c;
  const StretchRecord* stretch = stretch_record(o);
  const int32_t e = stretch ? stretch->edgeWidth : 0;
  if (e > 0) {
    const int32_t s = int32_t(n) * stretch->frameWidth;
    if (s < 0 || s + 3 * e > stripWidth) return c;
    c.sliced = true;
    c.left = {s, 0, e, H};
    c.middle = {s + e, 0, e, H};
    c.right = {s + 2 * e, 0, e, H};
    c.middleWidth = W - 2 * e;
    c.rightX = W - e;
  } else {
    if ((int32_t(n) + 1) * W > stripWidth) return c;
    c.whole = {int32_t(n) * W, 0, W, H};
  }
  c.valid = true;
  return c;
}

}  // namespace zui
