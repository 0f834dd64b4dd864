// Strip animations of button records and visibility propagation down the
// object tree.
//
// Sections: run modes · animation step · visibility.
#include <cstdint>
#include <string>

#include "controls/button_looks.h"
#include "controls/controls.h"
#include "framework/framework.h"
#include "grid/grid.h"

// ---- run modes ---------------------------------------------------------------
// `look` while running: 16..31 forward runs, 32..50 backward runs (51..63
// step backward without an end). The repeating modes continue instead of
// ending.
namespace {
constexpr int8_t ForwardOnce = 17;
constexpr int8_t ForwardRepeat = 18;
constexpr int8_t ForwardThenBack = 19;
constexpr int8_t ForwardBackEndless = 20;
constexpr int8_t BackwardOnce = 32;
constexpr int8_t BackwardRepeat = 33;
constexpr int8_t BackwardThenForward = 34;
constexpr int8_t BackwardForwardEndless = 35;

bool run_has_ended(int8_t look, int16_t frame, const ButtonRecord& b) {
  if (look >= 16 && look <= 31) return frame >= b.lastFrame;
  if (look >= 32 && look <= 50) return frame < b.firstFrame;
  return false;
}

// What an ended run does next: start over, turn round, or stop (look 0).
void continue_or_stop(ButtonRecord& b) {
  switch (b.look) {
    case BackwardRepeat: b.frame = int16_t(b.lastFrame + 1); break;
    case ForwardRepeat: b.frame = int16_t(b.firstFrame - 1); break;
    case ForwardThenBack: b.frame = int16_t(b.lastFrame + 1); b.look = BackwardOnce; break;
    case BackwardThenForward: b.frame = int16_t(b.firstFrame - 1); b.look = ForwardOnce; break;
    case ForwardBackEndless: b.frame = int16_t(b.lastFrame + 1); b.look = BackwardForwardEndless; break;
    case BackwardForwardEndless: b.frame = int16_t(b.firstFrame - 1); b.look = ForwardBackEndless; break;
    default: b.look = Look::Resting; break;
  }
}

// The clock wraps; what counts is the distance since the last step.
bool step_is_due(int32_t now, const ButtonRecord& b) {
  if (b.delay <= 0) return true;
  const uint32_t elapsed = uint32_t(now) - uint32_t(b.lastTick);
  return elapsed >= uint32_t(b.delay);
}
}  // namespace

// ---- animation step --------------------------------------------------------

void animation_step(Ui& ui) {
  NamedObject* o = current_object(ui);
  if (!o || !o->buttonData) return;
  ButtonRecord& b = *o->buttonData;
  const int32_t now = ui_now(ui);
  if (!step_is_due(now, b)) return;

  b.lastTick = now;
  b.frame = int16_t(b.look < 32 ? b.frame + 1 : b.frame - 1);

  if (!run_has_ended(b.look, b.frame, b)) {
    // Frames outside the strip are not drawn; the previous one stays.
    draw_button_frame(ui, b.frame);
    return;
  }

  continue_or_stop(b);
  if (b.look == Look::Resting && o->disabled) draw_button_frame(ui, ButtonFrame::Disabled);
}

// ---- visibility ------------------------------------------------------------

static void apply_visibility(NamedObject& o, int8_t value, int8_t mode) {
  if (o.visible >= 0 || (o.visible == -1 && mode >= 1) || mode == 2) o.visible = value;
  place_editor(o);  // a grid's open editor hides and shows with it
}

// Depth first in registry order. `depth` bounds the recursion should names
// ever form a cycle (a removed parent's name reused by a descendant).
static void propagate_below(Ui& ui, NamedObject* parent, int8_t value, int8_t mode,
                            int32_t depth) {
  if (depth > ui.count) return;
  rewind_to_window(ui);
  for (NamedObject* o = next_object(ui); o; o = next_object(ui)) {
    if (o->parentName.empty() || o->parentName != parent->name) continue;
    apply_visibility(*o, value, mode);
    propagate_below(ui, o, value, mode, depth + 1);
    make_current(ui, o);
  }
}

void propagate_visibility(Ui& ui, const std::string& name, int8_t value, int8_t mode) {
  NamedObject* remembered = current_object(ui);
  if (find_object(ui, name, 0) == 1) {
    NamedObject* top = current_object(ui);
    apply_visibility(*top, value, mode);
    propagate_below(ui, top, value, mode, 0);
  }
  if (remembered)
    make_current(ui, remembered);
  else
    position_before(ui, nullptr);
}
