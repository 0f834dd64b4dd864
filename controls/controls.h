#pragma once
// Skinned controls and the event dispatcher.
//
// Sections: registration · creation · strips, animations and tab selection ·
// pages · dispatcher · skinned buttons · animation · tab bars · frames.
//
// The kinds' records are in controls/control_records.h.
//
// Operations by name look their object up and leave it current; the others
// take the object they work on and leave the current object where it was.
#include <cstdint>
#include <string>

#include "controls/control_records.h"
#include "framework/codes.h"
#include "framework/ui.h"

namespace zui {

// ---- registration ----------------------------------------------------------
// Installs the skinned kinds' behaviour in the context; every creation of a
// skinned kind does it first, so calling it is needed only to act on such
// kinds before any was created.
void register_control_kinds(Ui& ui);

// ---- creation of the skinned kinds (gadget number, 0 when nothing was made)
/// A toolkit image button (kind 17) of the given size showing `image`. Like
/// every creation here: `image` is the caller's and must outlive the object,
/// `parent` names a container or is empty for the window; the gadget number,
/// 0 when nothing was made.
int32_t create_image_button(Ui& ui, const std::string& name, int16_t x, int16_t y,
                            int16_t width, int16_t height, int32_t image,
                            const std::string& parent);
/// A picture (kind 15) showing `image`; it takes no input.
int32_t create_picture(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                       int16_t height, int32_t image, const std::string& parent);
/// A skinned image button (kind 99) the size of `image`; set_button_strip
/// gives it hover, pressed and disabled looks from a strip of frames.
int32_t create_image_button_skinned(Ui& ui, const std::string& name, int16_t x, int16_t y,
                                    int32_t image, const std::string& parent);
/// A stretch button (kind 101): a caption on a face stretched from `image`
/// with fixed edges of edgeWidth; toggleMode 0 push, 1 toggle, 2 radio
/// among the stretch buttons of its parent.
int32_t create_stretch_button(Ui& ui, const std::string& name, int16_t x, int16_t y,
                              int16_t width, const std::string& caption, int32_t image,
                              int8_t edgeWidth, int8_t toggleMode, const std::string& parent);
/// A tab bar drawn from the tab cells of `image` (pieces pieceWidth wide);
/// equalWidths 1 gives every tab a third of the bar while all fit.
int32_t create_tab_bar(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                       int32_t image, int8_t pieceWidth, int8_t equalWidths,
                       const std::string& parent);
/// A framed area with an optional caption, drawn from the frame pieces of
/// `image` (pieceSize wide).
int32_t create_frame(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                     int16_t height, int32_t image, int8_t pieceSize, const std::string& caption,
                     const std::string& parent);
/// A splitter between two existing objects, its bar at `position`; vertical
/// 1 puts the first left of the second. Without both children's gadgets it
/// is registered without a gadget and 0 is returned.
int32_t create_splitter(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                        int16_t height, const std::string& firstChild,
                        const std::string& secondChild, int16_t position, int8_t vertical,
                        const std::string& parent);
/// Adds a tab to a tab bar; selecting it shows the container `pageName` and
/// hides the other tabs' pages. `key` becomes the bar's text while selected.
int32_t add_tab(Ui& ui, const std::string& barName, const std::string& key,
                const std::string& caption, const std::string& pageName, int16_t width);

// ---- strips, animations and tab selection by name --------------------------
/// Gives a skinned or stretch button its looks: `stripImage` holds frames of
/// frameWidth side by side (resting, hover, pressed, disabled); the button
/// then answers the mouse. 1 on success.
int32_t set_button_strip(Ui& ui, const std::string& name, int16_t frameWidth,
                         int32_t stripImage);
/// Gives an image button frames to animate: frames firstFrame to lastFrame
/// of a strip of frameWidth-wide frames. 1 on success.
int32_t set_animation_strip(Ui& ui, const std::string& name, int16_t frameWidth,
                            int32_t stripImage, int16_t firstFrame, int16_t lastFrame,
                            int16_t startOffset);
/// Shows frame `n` of the animation range at once.
int32_t show_animation_frame(Ui& ui, const std::string& name, int16_t n);
/// Starts the animation (mode 0 to 15 forward, 16 to 34 backward), one frame
/// every `delay` ms on the dispatcher's clock; its end is reported as code
/// 96. keepFrame 1 continues from the frame shown.
int32_t start_animation(Ui& ui, const std::string& name, int8_t mode, int16_t delay,
                        int8_t keepFrame);
/// Stops the animation where it is.
int32_t stop_animation(Ui& ui, const std::string& name);
/// Selects tab `index` of the bar and shows its page; redraw 1 draws at once.
int32_t select_tab(Ui& ui, const std::string& barName, int8_t index, int8_t redraw);

// ---- pages -----------------------------------------------------------------
// Shows or hides a tab page's gadget and marks its subtree (-1 tab-hidden).
void set_page_shown(Ui& ui, const std::string& pageName, int32_t pageGadget, bool shown);
// Shows the page of tab `index` and hides the other tabs' pages (a page
// shared with it stays); skinned buttons on the page come back resting.
void show_page(Ui& ui, NamedObject& bar, int32_t index);

// ---- dispatcher ------------------------------------------------------------
// One dispatch over the current window's objects; results in the current
// window record's eventCode / eventObject. Returns 0.
int32_t dispatch_event(Ui& ui, int32_t mouseX, int32_t mouseY, int32_t eventKind,
                       int32_t eventType, int32_t eventGadget, int32_t eventMenu);
/// The framework event code of the last dispatch (a Code value).
int8_t event_code(Ui& ui);
/// The name of the object the last dispatch reported on.
std::string event_object_name(Ui& ui);

// ---- skinned image buttons -------------------------------------------------
/// Window flag of create_window: the window's skinned buttons with a strip
/// fire on release, as desktop buttons do. The press shows the pressed look;
/// letting go over the button reports the click (code 16); a press dragged
/// off the button is cancelled. Without it they fire on the press.
inline constexpr int32_t kWindowButtonsFireOnRelease = 0x0001;
/// Shows frame `frame` of the button's strip.
int32_t draw_button_frame(Ui& ui, NamedObject& o, int16_t frame);
/// The look frames of a button's strip (controls/button_looks.h).
enum class ButtonFrame : int16_t;
/// Shows one of the look frames of the button's strip.
inline int32_t draw_button_frame(Ui& ui, NamedObject& o, ButtonFrame frame) {
  return draw_button_frame(ui, o, static_cast<int16_t>(frame));
}
/// Gives the button its hover look.
void button_hover(Ui& ui, NamedObject& o);
/// Returns the button to rest (force 1: also from a look it keeps).
void button_leave(Ui& ui, NamedObject& o, int8_t force);
/// Gives the button its pressed look.
void button_press(Ui& ui, NamedObject& o);
/// In a window whose buttons fire on release: the press shows the pressed
/// look and changes nothing else.
void button_hold(Ui& ui, NamedObject& o);
/// The release over a held button: the click takes effect (a toggle
/// switches) and the button shows its hover look.
void button_release(Ui& ui, NamedObject& o);
// The button becomes the current window's hovered one; the one before it
// returns to rest.
void set_hovered_button(Ui& ui, NamedObject& o);

// ---- animation -------------------------------------------------------------
/// Advances the object's strip animation when its delay has passed.
void animation_step(Ui& ui, NamedObject& o);

// ---- tab bars --------------------------------------------------------------
/// Draws the tab bar anew.
int32_t draw_tab_bar(Ui& ui, NamedObject& o);
/// A click at the window position: selects the tab there (code 91 in the
/// current window record) or scrolls the tabs.
void tab_bar_click(Ui& ui, NamedObject& o, int32_t mouseX, int32_t mouseY);
// Skinned buttons inside the page come back in their resting look and are
// repainted: they may have been left hovered or pressed when the page went
// away.
void reset_page_buttons(Ui& ui, NamedObject& bar, const std::string& pageName);

// ---- frames ----------------------------------------------------------------
/// Draws the frame anew.
int32_t draw_frame(Ui& ui, NamedObject& o);

}  // namespace zui
