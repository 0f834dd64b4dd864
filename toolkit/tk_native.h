#pragma once
// Native access for the few places that must reach the platform itself: the
// tooltip call of the demo and tests that drive real Qt input. Everything
// else uses toolkit/tk.h only.
#include <cstdint>

class QWidget;

// The widget behind a native handle from tk_window_handle/tk_gadget_handle.
QWidget* tk_native_widget(int32_t handle);
// The widget of a gadget number, nullptr when unknown.
QWidget* tk_gadget_widget(int32_t gadget);
// The client-area widget of a window number (below the menu bar).
QWidget* tk_window_client(int32_t window);
// The top-level widget of a window number.
QWidget* tk_window_widget(int32_t window);
