#pragma once
// Framework event codes and button looks: the values the dispatcher reports
// and the look byte of a skinned button. Every layer above the framework
// speaks them, so they live with the records.
#include <cstdint>

namespace zui {

/// Framework event codes: what a dispatch reports (event_code) with the
/// object it concerns (event_object_name).
namespace Code {
/// @{ Codes: none, focus gained and lost, mouse over, left and right clicks
/// and double-clicks, value changed, scroll bar moved, tab selected,
/// animation finished; the grid's cursor moved, editor committed, cancelled,
/// opened, refused, tree row toggled.
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
/// @}
}  // namespace Code

/// Colour slots of set_color.
namespace ColorSlot {
/// @{ The text, the background (toolkit kinds), a grid's lines.
inline constexpr int32_t Text = 1;
inline constexpr int32_t Background = 2;
inline constexpr int32_t GridLines = 3;
/// @}
/// The colour value that restores a slot's default.
inline constexpr int32_t Default = -1;
}  // namespace ColorSlot

// Button looks.
/// Looks of a skinned button; the keyword ANIMATING reads them as numbers.
namespace Look {
/// @{ Resting, under the mouse, pressed.
inline constexpr int8_t Resting = 0;
inline constexpr int8_t Hover = 64;
inline constexpr int8_t Pressed = 65;
/// @}
// A running strip animation: forward runs, backward runs, and backward
// steps without an end up to AnimatingLast.
inline constexpr int8_t ForwardFirst = 16;
/// @{ Ends of the ranges of a running strip animation.
inline constexpr int8_t ForwardLast = 31;
inline constexpr int8_t BackwardFirst = 32;
inline constexpr int8_t BackwardLast = 50;
inline constexpr int8_t AnimatingLast = 63;
/// @}
}  // namespace Look

}  // namespace zui
