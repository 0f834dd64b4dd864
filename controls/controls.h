#pragma once
// Skinned controls and the event dispatcher.
//
// Sections: framework event codes · dispatcher · skinned buttons ·
// animation and visibility · tab bars · frames.
//
// Except for the dispatcher and propagate_visibility, every operation works
// on the registry's current object.
#include <cstdint>
#include <string>

#include "framework/ui.h"

// ---- framework event codes -------------------------------------------------
namespace Code {
inline constexpr int8_t None = 0;
inline constexpr int8_t Focus = 1;
inline constexpr int8_t FocusLost = 2;
inline constexpr int8_t MouseOver = 3;
inline constexpr int8_t LeftClick = 16;
inline constexpr int8_t LeftDouble = 17;
inline constexpr int8_t RightClick = 32;
inline constexpr int8_t RightDouble = 33;
inline constexpr int8_t Changed = 64;
inline constexpr int8_t ScrollBarMoved = 90;
inline constexpr int8_t TabSelected = 91;
inline constexpr int8_t AnimationDone = 96;
inline constexpr int8_t GridCursor = 100;
inline constexpr int8_t GridCommit = 101;
inline constexpr int8_t GridCancel = 102;
inline constexpr int8_t GridEditorOpened = 103;
inline constexpr int8_t GridEditorRefused = 104;
inline constexpr int8_t GridToggled = 105;
}  // namespace Code

// Button looks.
namespace Look {
inline constexpr int8_t Resting = 0;
inline constexpr int8_t Hover = 64;
inline constexpr int8_t Pressed = 65;
}  // namespace Look

// ---- dispatcher ------------------------------------------------------------
// One dispatch over the current window's objects; results in the current
// window record's eventCode / eventObject. Returns 0.
int32_t dispatch_event(Ui& ui, int32_t mouseX, int32_t mouseY, int32_t eventKind,
                       int32_t eventType, int32_t eventGadget, int32_t eventMenu);
int8_t event_code(Ui& ui);
std::string event_object_name(Ui& ui);

// ---- skinned image buttons (current object) --------------------------------
int32_t draw_button_frame(Ui& ui, int16_t frame);
void button_hover(Ui& ui);
void button_leave(Ui& ui, int8_t force);
void button_press(Ui& ui);
void set_hovered_button(Ui& ui);

// ---- animation and visibility ----------------------------------------------
void animation_step(Ui& ui);
// Marks the object and its subtree; mode 0 plain, 1 also over tab-hidden
// objects, 2 over everything. The current object is unchanged.
void propagate_visibility(Ui& ui, const std::string& name, int8_t value, int8_t mode);

// ---- tab bars (current object) ---------------------------------------------
int32_t draw_tab_bar(Ui& ui);
void tab_bar_click(Ui& ui, int32_t mouseX, int32_t mouseY);
// Skinned buttons inside the page come back in their resting look and are
// repainted: they may have been left hovered or pressed when the page went
// away. The bar stays current.
void reset_page_buttons(Ui& ui, const std::string& pageName);

// ---- frames (current object) -----------------------------------------------
int32_t draw_frame(Ui& ui);
