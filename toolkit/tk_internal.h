#pragma once
// Shared state of the Qt backend's files: Qt start-up, images, fonts,
// windows and gadgets; the platform-neutral tables come from tk_tables.h.
// Nothing outside toolkit/ includes this header.
//
// Sections: application · texts and colours · display scale · images ·
// fonts · windows and gadgets.
#include <QFont>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "toolkit/tk_tables.h"

class QKeyEvent;
class QPainter;
class QWidget;

namespace tk {

// ---- application -----------------------------------------------------------
// Creates the QApplication on first use (headless when no display is set and
// nobody asked through tk_open_display, as tests and tools do).
void ensure_app();

// ---- texts and colours -----------------------------------------------------
// A text of the tk_ calls (UTF-8) as a Qt string.
inline QString qs(const std::string& s) {
  return QString::fromUtf8(s.data(), qsizetype(s.size()));
}
// A packed 0xBBGGRR colour as an opaque Qt pixel, and back.
inline QRgb packed_to_rgb(int32_t colour) {
  return qRgb(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}
inline int32_t rgb_to_packed(QRgb pixel) {
  return qRed(pixel) | (qGreen(pixel) << 8) | (qBlue(pixel) << 16);
}

// ---- display scale ---------------------------------------------------------
// Images keep logical sizes, the ones every tk_ call speaks of, and hold
// device pixels: `scale` device pixels per logical pixel, the device pixel
// ratio of the screen the windows are on. Logical coordinates become device
// ones by one rounding everywhere, so rectangles that meet in logical pixels
// meet in device pixels too.
// Wild coordinates are held within a range no image reaches, so that no
// arithmetic on them overflows.
inline int to_device(int64_t logical, double scale) {
  constexpr double kFar = double(1 << 29);
  return int(std::clamp(std::floor(double(logical) * scale + 0.5), -kFar, kFar));
}
// The device rectangle of a logical one given by any corner and size.
inline QRect device_rect(int64_t x, int64_t y, int64_t w, int64_t h, double scale) {
  return QRect(QPoint(to_device(x, scale), to_device(y, scale)),
               QPoint(to_device(x + w, scale) - 1, to_device(y + h, scale) - 1));
}
inline QRect to_device(const QRect& r, double scale) {
  return device_rect(r.x(), r.y(), r.width(), r.height(), scale);
}
// The scale new images are made at.
double device_scale();
// Takes the scale of the screen the first window opens on, before any image
// exists; nothing is cut again.
void adopt_device_scale(double scale);
// A window now shows at another scale: images cut from a skin sheet are cut
// again at it under their numbers, and a TK_EVENT_SCALE event asks the
// program to compose its other pictures again. Nothing for the same scale.
void change_device_scale(double scale);

// ---- images ----------------------------------------------------------------
// A skin sheet as it was handed over, decoded again when its pieces are cut
// at a scale its image's pixels do not serve.
struct Sheet {
  std::vector<unsigned char> normal;   // the 1x PNG (or bitmap), always there
  std::vector<unsigned char> doubled;  // the 2x one, empty when there is none
  QSize size;             // logical size: that of the 1x sheet
  QImage source;          // the decoded sheet cut from now, null until needed
  int32_t sourceZoom = 0; // 1 or 2: which sheet `source` is, 0 for none
  int32_t holder = 0;     // the image tk_decode_sheet made; `source` goes with it
};
// Where on a skin sheet an image's picture comes from.
struct SheetCut {
  std::shared_ptr<Sheet> sheet;  // null: the picture is the image's own
  QRect area;    // logical rectangle of the 1x sheet, stretched to the image's size
  QRect within;  // the part of the sheet the first piece showed; black beyond
};
struct Image {
  QImage pixels;  // device pixels, Format_RGB32, device pixel ratio = their scale
  int32_t width = 0;   // logical width, what the tk_ calls see
  int32_t height = 0;  // logical height
  int32_t handle = 0;
  // Set once a gadget showed it; only then do gadgets hear of its changes
  // (most images are pieces cut, drawn and freed within one drawing).
  bool shown = false;
  SheetCut cut;  // set while the picture is a piece of a skin sheet
};
Image* find_image(int32_t number);
// Picture behind a bitmap handle, nullptr when the handle names no image.
const QImage* image_by_handle(int32_t handle);
// Registers decoded pixels (scale 1) under a number; 0 when the number is
// unusable.
int32_t add_image(int32_t number, QImage pixels);
// The scale of an image's pixels.
inline double scale_of(const Image& img) { return img.pixels.devicePixelRatio(); }
// Decoders: a null image when the bytes are not a valid picture.
QImage decode_png(const unsigned char* data, std::size_t size);
QImage decode_bmp(const unsigned char* data, std::size_t size);
// The size a PNG or bitmap header declares; false when the bytes begin like
// neither.
bool peek_size(const unsigned char* data, std::size_t size, int64_t& width, int64_t& height);
inline constexpr int32_t kMaxImageSide = 16384;
inline constexpr int64_t kMaxImagePixels = int64_t(1) << 26;

// Ends drawing when it targets this image (before it is freed or resized).
void release_drawing_target(int32_t image);
// Forgets every laid-out text (the scale or the fonts changed).
void clear_text_cache();
// The pixels of an image changed (drawing ended, rescaled): image gadgets
// showing it pick up the new picture.
void image_changed(int32_t image);
// An image is being freed: image gadgets showing it keep its last picture.
void image_freed(int32_t handle, const QImage& last);

// ---- fonts -----------------------------------------------------------------
// Pixel height of a point size on the primary screen.
int32_t points_to_pixels(int32_t points);
// Installed face standing in for a classic face name.
QString map_face(const QString& face);
// The 11-pixel sans that stands in for the platform's 8-point dialog font.
QFont default_gadget_font();
const QFont* font_by_handle(int32_t handle);

// ---- windows and gadgets ---------------------------------------------------
class TopWindow;
TopWindow* find_window(int32_t number);
// The window behind a native window handle, nullptr when it is none.
TopWindow* window_by_handle(int32_t handle);
// Installs the keyboard-shortcut filter once.
void install_shortcut_filter();
// Global pointer position, asked of the platform only when it may have
// changed.
QPoint pointer_position();
// Ends a wait without a time-out: the pointer moved over, into or out of
// one of our windows, which the caller's hover looks follow. A timed wait
// runs on; its clock comes soon enough.
void wake_untimed_wait();
// Classic virtual-key number of a Qt key, 0 when it has none.
int32_t virtual_key(int qtKey);

// ---- screen readers and the keyboard (tk_accessible.cpp) --------------------
// Lets described gadgets answer screen readers; once, with the application.
void install_accessible_factory();
// Whether the key goes to the gadget it was typed in rather than to the
// window's shortcuts (a control focused from the keyboard, a cell editor).
bool takes_own_key(QObject* watched, const QKeyEvent* e);
// The focus mark of an image gadget focused from the keyboard, painted over
// its picture.
void paint_focus_mark(QWidget& w, QPainter& p);

}  // namespace tk
