#pragma once
// The platform layer. Everything above it speaks only these tk_ operations.
//
// Sections: start-up and shut-down · windows · events · gadget creation ·
// gadget operations · menus and shortcuts · images · 2D drawing · fonts and
// time · display scale · memory for large tables · inspection helpers.
//
// Windows, gadgets, images and fonts live in numbered tables. A creating
// operation takes -1 for "allocate a fresh number" and returns the new number,
// or 0 when creation failed. Numbers are allocated from high bases so that
// they never collide with menu or shortcut identifiers. Every operation
// accepts 0 or an unknown number and then does nothing (returning 0, or -1
// where stated). Texts are UTF-8 at every call.
#include <cstddef>
#include <cstdint>
#include <string>

// ---- start-up and shut-down ------------------------------------------------
// Connects to the window system before anything else: 1 when windows can be
// shown (or already could), 0 when there is no display to show them on
// (neither DISPLAY nor WAYLAND_DISPLAY set and no platform chosen through
// QT_QPA_PLATFORM). A display that is named but cannot be reached is found
// only by the platform itself, which offers no way back: the process then
// ends with one line on stderr and exit code 1 instead of aborting.
int32_t tk_open_display();
/// @{ Initialise the toolkit's parts, in this order, at start-up after
/// tk_open_display (init_toolkit does it all); repeating a call does no harm.
void tk_init_strings();
void tk_init_memory();
void tk_init_drawing();
void tk_init_fonts();
void tk_init_windows();
void tk_init_gadgets();
void tk_init_image_decoder();
void tk_init_images();
void tk_init_menus();
/// @}
/// Lets tk_decode_image read PNG data; called once after the initialisation.
void tk_register_png_decoder();
/// Frees every image, at shut-down.
void tk_free_all_images();
/// Closes every window with its gadgets, at shut-down.
void tk_close_all_windows();
/// Frees every loaded font, at shut-down.
void tk_free_all_fonts();

// ---- windows ---------------------------------------------------------------
inline constexpr int32_t TK_KEEP = -65535;               // keeps a coordinate
inline constexpr int32_t TK_WINDOW_HIDDEN = 0x10000000;  // "open hidden"
/// Window flag: open maximised.
inline constexpr int32_t TK_WINDOW_MAXIMISED = 0x01000000;
/// Window flag: open minimised.
inline constexpr int32_t TK_WINDOW_MINIMISED = 0x20000000;
/// @{ Window-style bits: a caption, the system menu, a sizable frame, the
/// minimise and maximise boxes; TK_WINDOW_STANDARD is all of them, the
/// style of an ordinary main window.
inline constexpr int32_t TK_WINDOW_CAPTION = 0x00C00000;
inline constexpr int32_t TK_WINDOW_SYSTEM_MENU = 0x00080000;
inline constexpr int32_t TK_WINDOW_SIZABLE = 0x00040000;
inline constexpr int32_t TK_WINDOW_MINIMISE_BOX = 0x00020000;
inline constexpr int32_t TK_WINDOW_MAXIMISE_BOX = 0x00010000;
inline constexpr int32_t TK_WINDOW_STANDARD = TK_WINDOW_CAPTION | TK_WINDOW_SYSTEM_MENU |
                                              TK_WINDOW_SIZABLE | TK_WINDOW_MINIMISE_BOX |
                                              TK_WINDOW_MAXIMISE_BOX;
/// @}

/// Opens a window whose inner area (menu bar counted in) has the given size.
/// With TK_WINDOW_HIDDEN it stays hidden until tk_hide_window(window, 0);
/// the other flag bits are window-style bits, and none gives a caption.
/// Returns the window number, 0 on failure.
int32_t tk_open_window(int32_t number, int32_t x, int32_t y, int32_t innerWidth,
                       int32_t innerHeight, const std::string& title, int32_t flags);
/// Hides (state 1) or shows (0) the window; shown again, a maximised or
/// minimised window comes back so.
int32_t tk_hide_window(int32_t window, int32_t state);
/// Moves and sizes the window so that its inner area has the given size;
/// TK_KEEP keeps a value.
int32_t tk_resize_window(int32_t window, int32_t x, int32_t y, int32_t innerWidth,
                         int32_t innerHeight);
/// Width of the window's client area.
int32_t tk_window_inner_width(int32_t window);
/// Height of the client area with the menu bar, as tk_open_window counts it.
int32_t tk_window_inner_height(int32_t window);  // menu bar counted in
/// Horizontal position of the window on the screen.
int32_t tk_window_x(int32_t window);
/// Vertical position of the window on the screen.
int32_t tk_window_y(int32_t window);
/// The window's native handle, which tk_use_window_as_parent and
/// tk_create_menu_bar take.
int32_t tk_window_handle(int32_t window);
/// Mouse x in client coordinates, -1 outside the client area.
int32_t tk_window_mouse_x(int32_t window);  // -1 outside the client area
/// Mouse y in client coordinates, -1 outside the client area.
int32_t tk_window_mouse_y(int32_t window);
/// Makes the window the active one.
int32_t tk_activate_window(int32_t window);
/// The active window when it is one of ours, else -1.
int32_t tk_active_window();  // -1 when no window of ours is active
/// Destroys the window and its gadgets.
int32_t tk_close_window(int32_t window);

// ---- events ----------------------------------------------------------------
/// @{ Event kinds tk_wait_event returns: none (the time-out passed), window
/// moved, resized, to be repainted, close request, gadget event, menu item
/// or shortcut, window activated.
inline constexpr int32_t TK_EVENT_NONE = 0;
inline constexpr int32_t TK_EVENT_MOVED = 3;
inline constexpr int32_t TK_EVENT_RESIZED = 5;
inline constexpr int32_t TK_EVENT_REPAINT = 15;
inline constexpr int32_t TK_EVENT_CLOSE = 16;
inline constexpr int32_t TK_EVENT_GADGET = 13100;
inline constexpr int32_t TK_EVENT_MENU = 13101;
inline constexpr int32_t TK_EVENT_ACTIVATED = 13104;
/// The windows now show at another display scale (tk_display_scale): the
/// program composes its pictures again. Pieces of skin sheets are cut again
/// at the new scale by then.
inline constexpr int32_t TK_EVENT_SCALE = 13105;
/// @}

/// @{ Gadget event types (tk_last_event_type): left and right clicks and
/// double-clicks, combo list opened and closed, text changed, focus gained
/// and lost, a drag begins, the left button let go.
// Gadget event types the toolkit generates itself.
inline constexpr int32_t TK_TYPE_LEFT_CLICK = 0;
inline constexpr int32_t TK_TYPE_RIGHT_CLICK = 1;
inline constexpr int32_t TK_TYPE_LEFT_DOUBLE = 2;
inline constexpr int32_t TK_TYPE_RIGHT_DOUBLE = 3;
inline constexpr int32_t TK_TYPE_LIST_OPENED = 7;
inline constexpr int32_t TK_TYPE_LIST_CLOSED = 8;
inline constexpr int32_t TK_TYPE_CHANGED = 768;
inline constexpr int32_t TK_TYPE_FOCUS = 14000;
inline constexpr int32_t TK_TYPE_FOCUS_LOST = 14001;
inline constexpr int32_t TK_TYPE_DRAG = 14002;
/// The left button was let go over an image gadget (after its press there).
inline constexpr int32_t TK_TYPE_LEFT_RELEASE = 14005;
/// @}

// Resets the event type to -1, then returns the kind of the first queued
// event; otherwise waits up to timeoutMs (-1: no time-out, 0 poll) and
// returns 0. A wait without a time-out also returns 0 as soon as the pointer
// moves over, into or out of one of the program's windows, so that hover
// looks follow it at once.
int32_t tk_wait_event(int32_t timeoutMs);
/// Window of the last event.
int32_t tk_last_event_window();
/// Gadget of the last gadget event (the field tk_last_event_menu reads too).
int32_t tk_last_event_gadget();
/// Menu item or shortcut identifier of the last menu event.
int32_t tk_last_event_menu();  // the same field as the gadget
/// Type of the last gadget event (TK_TYPE_...).
int32_t tk_last_event_type();  // -1 when the last wait produced none

// ---- gadget creation (x, y relative to the current parent) -----------------
/// String gadget flag: no sunken border.
inline constexpr int32_t TK_STRING_BORDERLESS = 0x20000;
/// Combo gadget flag: free typing in its edit field.
inline constexpr int32_t TK_COMBO_EDITABLE = 2;
/// Splitter flag: a vertical bar, the first gadget left of it.
inline constexpr int32_t TK_SPLITTER_VERTICAL = 1;
/// Splitter flag: the thick bar (TK_SPLITTER_BAR pixels).
inline constexpr int32_t TK_SPLITTER_THICK = 2;
// Width of the thick bar (flag 2). The second gadget starts at the bar
// position + 5, which is where the framework's hit tests place it.
inline constexpr int32_t TK_SPLITTER_BAR = 5;
// Read-only attributes of a list gadget: the outer width and height that
// show every item uncut and without a scroll bar, frame included.
inline constexpr int32_t TK_LIST_FIT_WIDTH = 1;
/// Read-only list attribute: the outer height that shows every item.
inline constexpr int32_t TK_LIST_FIT_HEIGHT = 2;

/// A text label in the current parent. Like every creating operation it
/// takes -1 for a fresh number and returns the gadget number, 0 on failure.
int32_t tk_create_text_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                              const std::string& text, int32_t flags = 0);
/// A one-line text input; it reports focus gained and lost and text changes.
int32_t tk_create_string_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                                const std::string& text, int32_t flags = 0);
/// A drop-down list (editable with TK_COMBO_EDITABLE); h counts the opened list in.
int32_t tk_create_combo_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                               int32_t flags = 0);
/// A list box that reports selections, with scroll bars as needed.
int32_t tk_create_list_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                              int32_t flags = 0);
/// A plain container (flags 0: no border); it is the current parent until
/// tk_close_gadget_list.
int32_t tk_create_container_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                                   int32_t flags);
/// A splitter that takes two existing gadgets to both sides of a draggable
/// bar; each move by the user posts a gadget event of type
/// TK_TYPE_LEFT_CLICK. Its state is the bar position.
int32_t tk_create_splitter_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                                  int32_t firstGadget, int32_t secondGadget, int32_t flags);
/// An image gadget showing the image behind `bitmapHandle`
/// (tk_image_handle); it reports clicks. Its state is the shown handle.
/// A black image of w x h.
int32_t tk_create_image_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                               int32_t bitmapHandle);
/// A push button.
int32_t tk_create_button_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                                const std::string& text, int32_t flags = 0);
/// A check box.
int32_t tk_create_check_box_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                                   const std::string& text, int32_t flags = 0);
/// A date input showing `date` in the format `mask`.
int32_t tk_create_date_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                              const std::string& mask, int32_t date, int32_t flags = 0);
/// A tree view.
int32_t tk_create_tree_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                              int32_t flags = 0);
/// A multi-line text editor.
int32_t tk_create_editor_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                                int32_t flags = 0);
/// A scroll area over an inner area of innerWidth x innerHeight, scrolled
/// in steps of `step` pixels; it is the current parent like a container.
int32_t tk_create_scroll_area_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                                     int32_t innerWidth, int32_t innerHeight, int32_t step,
                                     int32_t flags = 0);
/// A scroll bar (flags 1: vertical) with its range and page length.
int32_t tk_create_scroll_bar_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                                    int32_t minimum, int32_t maximum, int32_t pageLength,
                                    int32_t flags = 0);

// ---- gadget operations -----------------------------------------------------
/// Nonzero while the number denotes a live gadget.
int32_t tk_gadget_exists(int32_t gadget);
/// The gadget's native handle, which tk_attach_tooltip takes.
int32_t tk_gadget_handle(int32_t gadget);
/// Sets the gadget's state: the selected item of a combo or list box (-1
/// none), the bitmap handle an image gadget shows, a splitter's bar
/// position, a scroll bar's position.
int32_t tk_set_gadget_state(int32_t gadget, int32_t value);
/// The gadget's state as tk_set_gadget_state sets it.
int32_t tk_get_gadget_state(int32_t gadget);
/// Replaces the text of a label or an input; in a drop-down list, selects
/// the first item that begins with `text` (empty: none).
int32_t tk_set_gadget_text(int32_t gadget, const std::string& text);
/// The gadget's text; a combo box's edit text or selected item.
std::string tk_get_gadget_text(int32_t gadget);
/// Inserts an item into a combo or list box at a 0-based position; -1 appends.
int32_t tk_add_gadget_item(int32_t gadget, int32_t position, const std::string& text,
                           int32_t bitmapHandle = 0, int32_t flags = 0);
/// Removes the item at a 0-based position.
int32_t tk_remove_gadget_item(int32_t gadget, int32_t position);
/// Sets an attribute of the gadget's kind: a splitter's minimum sizes (1
/// and 2), a scroll bar's minimum, maximum and page length (1, 2, 3).
int32_t tk_set_gadget_attribute(int32_t gadget, int32_t attribute, int32_t value);
/// Reads an attribute of the gadget's kind (see tk_set_gadget_attribute,
/// TK_LIST_FIT_WIDTH).
int32_t tk_get_gadget_attribute(int32_t gadget, int32_t attribute);
/// Sets the text (kind 1) or background (kind 2) colour and redraws; -1
/// restores the default. Containers take only kind 2.
int32_t tk_set_gadget_colour(int32_t gadget, int32_t kind, int32_t colour);
/// Hides (state 1) or shows (0) the gadget.
int32_t tk_hide_gadget(int32_t gadget, int32_t state);
/// 1 when the gadget and every gadget around it are shown, so it is seen
/// once its window is (the window itself may be hidden still); 0 when not,
/// -1 for no such gadget.
int32_t tk_gadget_shown_in_window(int32_t gadget);
/// Disables (state 1) or enables (0) the gadget.
int32_t tk_disable_gadget(int32_t gadget, int32_t state);
/// Moves and sizes the gadget within its parent; TK_KEEP keeps a value.
int32_t tk_resize_gadget(int32_t gadget, int32_t x, int32_t y, int32_t w, int32_t h);
/// @{ The gadget's position relative to its parent's client area, and its size.
int32_t tk_gadget_x(int32_t gadget);
int32_t tk_gadget_y(int32_t gadget);
int32_t tk_gadget_width(int32_t gadget);
int32_t tk_gadget_height(int32_t gadget);
/// @}
/// Gives the gadget the keyboard focus.
int32_t tk_focus_gadget(int32_t gadget);  // -1 removes the focus
/// The gadget with the keyboard focus (a combo box for its edit field).
int32_t tk_focused_gadget();              // -1 when none
// Puts the gadget into the Tab key's walk just before `other` and what lies
// inside it, when it comes after it now (a tab bar created after its pages
// is reached before them); 1 when it moved.
int32_t tk_focus_before(int32_t gadget, int32_t other);
/// Destroys the gadget.
int32_t tk_free_gadget(int32_t gadget);
/// Makes the window behind a native handle the current parent for creation;
/// nonzero on success.
int32_t tk_use_window_as_parent(int32_t windowHandle);
/// Makes a container or scroll area the current parent, keeping the previous one.
int32_t tk_open_gadget_list(int32_t gadget);
/// Returns to the previous parent.
int32_t tk_close_gadget_list();

// A dark balloon tooltip with an optional bold title for the gadget or
// window behind a native handle; shown while the mouse rests on it.
void tk_attach_tooltip(int32_t handle, const std::string& text, const std::string& title);

// ---- menus and keyboard shortcuts ------------------------------------------
/// @{ Modifier bits added to a key code for tk_add_shortcut.
inline constexpr int32_t TK_SHIFT = 0x10000;
inline constexpr int32_t TK_CONTROL = 0x20000;
inline constexpr int32_t TK_ALT = 0x40000;
/// @}
// Key codes are the classic virtual-key numbers: letters 'A'..'Z', digits
// '0'..'9', and these (every key the toolkit reports).
/// @{ Key codes of the named keys.
inline constexpr int32_t TK_KEY_BACKSPACE = 8;
inline constexpr int32_t TK_KEY_TAB = 9;
inline constexpr int32_t TK_KEY_RETURN = 13;
inline constexpr int32_t TK_KEY_PAUSE = 19;
inline constexpr int32_t TK_KEY_ESCAPE = 27;
inline constexpr int32_t TK_KEY_SPACE = 32;
inline constexpr int32_t TK_KEY_PAGE_UP = 33;
inline constexpr int32_t TK_KEY_PAGE_DOWN = 34;
inline constexpr int32_t TK_KEY_END = 35;
inline constexpr int32_t TK_KEY_HOME = 36;
inline constexpr int32_t TK_KEY_LEFT = 37;  ///< Up, Right and Down follow
inline constexpr int32_t TK_KEY_UP = 38;
inline constexpr int32_t TK_KEY_RIGHT = 39;
inline constexpr int32_t TK_KEY_DOWN = 40;
inline constexpr int32_t TK_KEY_INSERT = 45;
inline constexpr int32_t TK_KEY_DELETE = 46;
inline constexpr int32_t TK_KEY_F1 = 112;  ///< F2 to F24 follow
/// @}

/// Creates an empty menu bar for the window behind a native handle; 0 on failure.
int32_t tk_create_menu_bar(int32_t number, int32_t windowHandle);
/// Appends a drop-down title to the menu bar being built.
int32_t tk_add_menu_title(const std::string& text);
/// Appends an item under the last title ("&" marks its access key);
/// choosing it posts a menu event with `id`.
int32_t tk_add_menu_item(int32_t id, const std::string& text);
/// Makes a key code with modifier bits post a menu event with `id` in the
/// window; an existing combination takes the new `id`.
int32_t tk_add_shortcut(int32_t window, int32_t key, int32_t id);
/// Removes a key combination from the window.
int32_t tk_remove_shortcut(int32_t window, int32_t key);  // key -1 = all
/// Counts the changes to any window's shortcuts (it wraps): a caller that
/// installed its keys and sees the same count need not install them again.
int32_t tk_shortcut_changes();

// ---- images (RGB, no alpha) ------------------------------------------------
// Sizes and coordinates are logical pixels at every call. An image holds
// device pixels for the display scale it was made at, so what is drawn into
// it (text included) is as sharp as the screen shows; a decoded picture
// keeps its own pixels (scale 100 %).
// Decodes a PNG (8-bit RGB/RGBA/grey/palette) or an uncompressed "BM"
// bitmap from memory; 0 for anything it cannot decode, never a crash.
int32_t tk_decode_image(int32_t number, const void* data, std::size_t size);
// Starts decoding such bytes on a worker thread; the next tk_decode_image or
// tk_decode_sheet of the same bytes (same address and length) takes that
// picture instead of decoding again. May be called before tk_open_display,
// so a picture decodes while the toolkit starts. The bytes must stay valid
// until they are decoded or tk_free_all_images; 1 when started (or already
// running), 0 for no bytes.
int32_t tk_decode_ahead(const void* data, std::size_t size);
// Decodes a skin sheet: its 1x picture (required; 0 when it does not decode)
// and optionally a 2x one, the same layout with twice the pixels each way
// (nullptr or a picture of any other size: none). The image is the sheet at
// the display scale, and what is grabbed from it (and from those pieces) is
// cut from the sheet that suits the scale: the 2x one above 100 %, smoothly
// reduced at fractional scales, or the 1x one, smoothly enlarged when there
// is no 2x. Such pieces are cut again under their numbers when the scale
// changes.
int32_t tk_decode_sheet(int32_t number, const void* data, std::size_t size, const void* data2x,
                        std::size_t size2x);
// The width and height a PNG or "BM" bitmap declares in its header, read
// without decoding anything: what a picture would cost is known before it
// is paid. 1 when the bytes begin like one of them, else 0 (both sizes 0).
int32_t tk_peek_image_size(const void* data, std::size_t size, int32_t* width, int32_t* height);
// Exact copy of a rectangle; parts outside the source stay black.
int32_t tk_grab_image_region(int32_t source, int32_t number, int32_t x, int32_t y, int32_t w,
                             int32_t h);
int32_t tk_resize_image(int32_t image, int32_t w, int32_t h);  // smoothing
/// A copy of the image.
int32_t tk_copy_image(int32_t source, int32_t number);
int32_t tk_create_image(int32_t number, int32_t w, int32_t h);  // black
/// Frees the image.
int32_t tk_free_image(int32_t image);
/// Nonzero while the number denotes an image.
int32_t tk_image_exists(int32_t image);
/// Width of the image.
int32_t tk_image_width(int32_t image);
/// Height of the image.
int32_t tk_image_height(int32_t image);
/// The bitmap handle that image gadgets and tk_draw_image take.
int32_t tk_image_handle(int32_t image);
/// The image as a drawing output, for tk_start_drawing.
int32_t tk_image_output(int32_t image);

// ---- 2D drawing (between tk_start_drawing and tk_stop_drawing only) -------
/// Drawing mode bit: text without a background.
inline constexpr int32_t TK_DRAW_TRANSPARENT = 1;  // text without background
/// Drawing mode bit: lines and boxes invert what lies below.
inline constexpr int32_t TK_DRAW_INVERT = 2;
/// Drawing mode bit: boxes as outlines.
inline constexpr int32_t TK_DRAW_OUTLINE = 4;

/// Starts drawing onto an output (tk_image_output); nonzero on success.
/// One drawing at a time.
int32_t tk_start_drawing(int32_t output);
/// Ends the current drawing.
int32_t tk_stop_drawing();
/// Sets the drawing mode bits (TK_DRAW_...).
int32_t tk_drawing_mode(int32_t mode);
/// Sets the font of the following text (tk_font_handle).
int32_t tk_drawing_font(int32_t fontHandle);  // -1 = the system font
// Keeps the following drawing inside the rectangle (until the next call or
// the end of drawing); a negative width or height paints everywhere again.
int32_t tk_drawing_clip(int32_t x, int32_t y, int32_t w, int32_t h);
/// Width of the text in the current drawing font.
int32_t tk_text_width(const std::string& text);
/// Height of the text in the current drawing font.
int32_t tk_text_height(const std::string& text);
/// Draws text with its top left at (x, y) in `colour` (-1: the front colour).
int32_t tk_draw_text(int32_t x, int32_t y, const std::string& text, int32_t colour = -1);
/// Texts laid out and kept for drawing again (keyed by text, font and
/// scale); emptied when the display scale or the fonts change.
int32_t tk_text_cache_count();
/// Empties the cache and sets how many laid-out texts it keeps at most (0:
/// the default, 4096); a full cache starts over. Returns the previous bound.
int32_t tk_text_cache_limit(int32_t entries);
/// Draws the image behind a bitmap handle at (x, y), stretched to w x h when given.
int32_t tk_draw_image(int32_t bitmapHandle, int32_t x, int32_t y, int32_t w = -1,
                      int32_t h = -1);
/// Draws a line from (x, y) to (x + w, y + h).
int32_t tk_draw_line(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour);
/// Fills the rectangle at (x, y) of w x h (its outline with TK_DRAW_OUTLINE).
int32_t tk_draw_box(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour);

// ---- fonts and time --------------------------------------------------------
/// @{ Flags of tk_load_font.
inline constexpr int32_t TK_FONT_BOLD = 0x100;
inline constexpr int32_t TK_FONT_ITALIC = 0x200;
inline constexpr int32_t TK_FONT_UNDERLINE = 4;
inline constexpr int32_t TK_FONT_STRIKEOUT = 8;
inline constexpr int32_t TK_FONT_HIGH_QUALITY = 0x10;
/// @}

/// Loads a font by face and size in points with TK_FONT_ flags; the font
/// number, 0 on failure.
int32_t tk_load_font(int32_t number, const std::string& face, int32_t points, int32_t flags);
/// The font's handle, which tk_drawing_font takes.
int32_t tk_font_handle(int32_t font);
/// Milliseconds since an arbitrary start.
int32_t tk_elapsed_ms();  // wrapping 32-bit millisecond clock
/// A packed colour: red + green x 256 + blue x 65536.
int32_t tk_pack_colour(int32_t red, int32_t green, int32_t blue);

// ---- display scale ---------------------------------------------------------
// Device pixels per logical pixel in percent (100, 150, 200, ...): that of
// the screen the windows are on, followed when a window moves to a screen of
// another scale.
int32_t tk_display_scale();
// Composes at this scale from now on, as when the windows move to a screen
// of that scale: sheet pieces are cut again and a TK_EVENT_SCALE event is
// posted. 1 when done, 0 for a scale outside 25..800 (nothing changes).
int32_t tk_set_display_scale(int32_t percent);

// ---- memory for large tables -----------------------------------------------
/// A block of `bytes` zeroed bytes in whole pages, which the system may back
/// with huge pages: a table of millions of records filled into it costs a
/// fraction of the page faults. nullptr when no memory is left. Meant for
/// blocks of megabytes; a smaller one still takes a whole page.
void* tk_alloc_pages(std::size_t bytes);
/// Gives back a block of tk_alloc_pages; `bytes` as it was asked for.
void tk_free_pages(void* block, std::size_t bytes);

// ---- inspection helpers (tests, tools and screenshots) ---------------------
// Device pixels per logical pixel of an image in percent, 0 when unknown.
int32_t tk_image_scale(int32_t image);
// Packed colour of one pixel (the top-left device pixel of the logical one),
// -1 outside the image or for an unknown image.
int32_t tk_image_pixel(int32_t image, int32_t x, int32_t y);
// 1 when every device pixel of the logical area is of one colour, 0 when
// not, -1 for an unknown image or an area not wholly inside it.
int32_t tk_image_area_flat(int32_t image, int32_t x, int32_t y, int32_t w, int32_t h);
// Writes the image's device pixels as a PNG file; 1 on success.
int32_t tk_save_image(int32_t image, const std::string& path);
// Renders the window (client area and menu bar) as the user sees it into a
// PNG file; 1 on success.
int32_t tk_save_window_screenshot(int32_t window, const std::string& path);
// Paint events the window's widgets have received since it opened; once a
// wait returns with it above 0, the window has been drawn on screen.
int32_t tk_window_paint_count(int32_t window);
// Packed colour of one pixel of the picture an image gadget shows now: its
// image as it is, or the last picture of an image freed while shown; -1 when
// there is none.
int32_t tk_gadget_pixel(int32_t gadget, int32_t x, int32_t y);
/// @{ Objects alive now in the window, gadget, image and font tables.
// Objects alive in each numbered table now: a long run that frees what it
// replaces keeps them steady.
int32_t tk_live_window_count();
int32_t tk_live_gadget_count();
int32_t tk_live_image_count();
int32_t tk_live_font_count();
/// @}

// ---- wheel, mouse cursor shape and typing focus ----------------------------
/// @{ Gadget event types of an image gadget under a turning mouse wheel:
/// up and down, and sideways (a sideways wheel, or the wheel with Shift).
/// tk_last_wheel_delta tells how far.
inline constexpr int32_t TK_TYPE_WHEEL = 14003;
inline constexpr int32_t TK_TYPE_WHEEL_SIDEWAYS = 14004;
/// @}
/// One notch of a classic wheel in tk_last_wheel_delta's unit.
inline constexpr int32_t TK_WHEEL_NOTCH = 120;
/// How far the wheel of the last wheel event turned, in 1/120 notches:
/// positive away from the user (up) or to the left, negative towards the
/// user (down) or to the right; 0 when the last event was no wheel event.
int32_t tk_last_wheel_delta();
/// @{ Mouse cursor shapes over a gadget.
inline constexpr int32_t TK_CURSOR_ARROW = 0;
inline constexpr int32_t TK_CURSOR_RESIZE_COLUMN = 1;  // a border dragged sideways
/// @}
/// Shows the shape while the mouse is over the gadget; 1 done.
int32_t tk_set_gadget_cursor(int32_t gadget, int32_t shape);
/// 1 while the left mouse button is held down.
int32_t tk_left_button_down();
/// 1 when the gadget takes typed keys itself: a text input, drop-down list,
/// list, date input, tree or text editor (what Tab or a click put the caret
/// or a selection in); 0 for any other or an unknown gadget.
int32_t tk_gadget_takes_typing(int32_t gadget);
/// Lays a text input's text out as a column of a table: alignment 0 left,
/// 1 right, 2 centred, the caret at the end of the text; 1 done.
int32_t tk_set_input_layout(int32_t gadget, int32_t alignment);

// ---- desktop services: posting from worker threads, questions, file dialogs,
// clipboard, window titles -----------------------------------------------------
/// Event kind of tk_post_event; tk_last_event_window() names the window and
/// tk_last_event_menu() the code.
inline constexpr int32_t TK_EVENT_POSTED = 13106;
/// Queues a TK_EVENT_POSTED event with `code` for the window, to be read by
/// tk_wait_event on the window's thread. The one toolkit call that any
/// thread may make: a worker hands over its results this way. 1 when
/// queued, 0 before the toolkit is started.
int32_t tk_post_event(int32_t window, int32_t code);

/// @{ Buttons of tk_ask_question, and its answers.
inline constexpr int32_t TK_ANSWER_SAVE = 1;     ///< "Save"
inline constexpr int32_t TK_ANSWER_DISCARD = 2;  ///< "Discard"
inline constexpr int32_t TK_ANSWER_YES = 4;      ///< "Yes"
inline constexpr int32_t TK_ANSWER_NO = 8;       ///< "No"
inline constexpr int32_t TK_ANSWER_CANCEL = 16;  ///< "Cancel": stay where one was
/// @}
/// Asks a question in a modal box over the window with the buttons given as
/// TK_ANSWER_ bits; returns the answer chosen. Closing the box (Escape)
/// answers TK_ANSWER_CANCEL, or TK_ANSWER_NO when there is no Cancel button.
int32_t tk_ask_question(int32_t window, const std::string& title, const std::string& text,
                        int32_t buttons);
/// A modal dialog over the window for choosing an existing file to open,
/// starting in the folder of `start`; the chosen path, empty when none.
/// `filter` lists patterns as "CSV files (*.csv *.tsv);;All files (*)".
std::string tk_open_file_dialog(int32_t window, const std::string& title,
                                const std::string& start, const std::string& filter);
/// The same for a path to save to (which may not exist yet); an existing
/// file is confirmed by the dialog. Empty when none was chosen.
std::string tk_save_file_dialog(int32_t window, const std::string& title,
                                const std::string& start, const std::string& filter);
/// Puts text on the system clipboard; 1 on success.
int32_t tk_set_clipboard_text(const std::string& text);
/// The text on the system clipboard, empty when it holds none.
std::string tk_get_clipboard_text();
/// Replaces the window's title.
int32_t tk_set_window_title(int32_t window, const std::string& title);
