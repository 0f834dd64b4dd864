// Strip animations of button records.
//
// Sections: run modes · animation step.
#include <cstdint>
#include <string>

#include "controls/button_looks.h"
#include "controls/controls.h"
#include "framework/framework.h"

namespace zui {

// ---- run modes ---------------------------------------------------------------
// `look` while running: Look::ForwardFirst..ForwardLast forward runs,
// BackwardFirst..BackwardLast backward runs (up to AnimatingLast they step
// backward without an end). The repeating modes continue instead of ending.
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
  if (look >= Look::ForwardFirst && look <= Look::ForwardLast) return frame >= b.lastFrame;
  if (look >= Look::BackwardFirst && look <= Look::BackwardLast) return frame < b.firstFrame;
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

void animation_step(Ui& ui, NamedObject& o) {
  ButtonRecord* record = button_record(o);
  if (!record) return;
  ButtonRecord& b = *record;
  const int32_t now = ui_now(ui);
  if (!step_is_due(now, b)) return;

  b.lastTick = now;
  b.frame = int16_t(b.look < Look::BackwardFirst ? b.frame + 1 : b.frame - 1);

  if (!run_has_ended(b.look, b.frame, b)) {
    // Frames outside the strip are not drawn; the previous one stays.
    draw_button_frame(ui, o, b.frame);
    return;
  }

  continue_or_stop(b);
  if (b.look == Look::Resting && o.disabled) draw_button_frame(ui, o, ButtonFrame::Disabled);
}

}  // namespace zui
