// 2D drawing onto images and the font table.
//
// Every call takes logical coordinates and paints the target's device
// pixels. Lines and boxes are set pixel by pixel (exact, never antialiased,
// with the inverting mode as an XOR of the colour bits), one logical pixel
// as a block of device pixels; text goes through one QPainter per drawing
// on the target, which scales it to the device pixels, so glyphs are drawn
// at the screen's resolution; pictures are copied or stretched device pixel
// by device pixel. Texts are laid out once and kept in a bounded cache,
// since a grid or a tab bar draws the same words again on every change.
//
// Sections: fonts · drawing state · text cache · text · pictures · lines
// and boxes.
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QStaticText>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <unordered_map>

#include "toolkit/tk.h"
#include "toolkit/tk_internal.h"

namespace tk {

// ---- fonts -----------------------------------------------------------------

namespace {
struct Font {
  QFont font;
  int32_t handle = 0;
};
Table<Font>& fonts() {
  static Table<Font> table(kFontBase, kMenuBase);
  return table;
}

// First installed family of the sans stand-ins.
QString fallback_sans() {
  static const QString family = [] {
    const QStringList installed = QFontDatabase::families();
    for (const char* candidate : {"Liberation Sans", "DejaVu Sans"})
      if (installed.contains(QString::fromLatin1(candidate))) return QString::fromLatin1(candidate);
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
  }();
  return family;
}
}  // namespace

int32_t points_to_pixels(int32_t points) {
  double dpi = 96.0;
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    if (QScreen* screen = app->primaryScreen()) dpi = screen->logicalDotsPerInchY();
  return int32_t(std::lround(points * dpi / 72.0));
}

QString map_face(const QString& face) {
  static const QStringList classic = {"ms sans serif", "microsoft sans serif", "arial",
                                      "tahoma", "verdana", "ms shell dlg", "ms shell dlg 2"};
  if (face.isEmpty() || classic.contains(face.toLower())) return fallback_sans();
  return QFontDatabase::families().contains(face, Qt::CaseInsensitive) ? face
                                                                       : fallback_sans();
}

QFont default_gadget_font() {
  // Every start of drawing asks for it; the face is looked up once.
  static const QFont font = [] {
    QFont f(map_face(QStringLiteral("MS Sans Serif")));
    f.setPixelSize(11);
    return f;
  }();
  return font;
}

const QFont* font_by_handle(int32_t handle) {
  Font* f = fonts().find(handle_number(handle, HandleKind::Font));
  return f ? &f->font : nullptr;
}

// ---- drawing state ---------------------------------------------------------

namespace {
struct DrawState {
  int32_t image = 0;  // target image number, 0 when not drawing
  int32_t mode = 0;
  QFont font;
  int32_t fontKey = 0;  // the font's handle, 0 for the default gadget font
  QRgb front = 0xFF000000u;
  bool clipped = false;  // drawing is kept inside `clip`
  QRect clip;            // the clip rectangle while clipped
  std::unique_ptr<QPainter> painter;  // text painter of this drawing, opened at the first text
  int32_t painterFont = -1;           // fontKey the painter holds, -1 none yet
};
DrawState& drawing() {
  static DrawState s;
  return s;
}
Image* target() { return find_image(drawing().image); }
// The part of the target image that drawing may paint, in logical pixels.
QRect paintable(const Image& img) {
  const DrawState& s = drawing();
  const QRect all(0, 0, img.width, img.height);
  return s.clipped ? all.intersected(s.clip) : all;
}
// The same in the target's device pixels.
QRect paintable_device(const Image& img) {
  return to_device(paintable(img), scale_of(img)).intersected(img.pixels.rect());
}
// The target's pixels as a picture of ratio 1 (the same memory), for
// painting in device coordinates.
QImage device_view(Image& img) {
  QImage& px = img.pixels;
  return QImage(px.bits(), px.width(), px.height(), px.bytesPerLine(), px.format());
}
QRgb to_rgb(int32_t colour) {
  return colour == -1 ? drawing().front : packed_to_rgb(colour);
}
}  // namespace

// Ends the text painter before the target's pixels change hands.
void end_painter() {
  drawing().painter.reset();
  drawing().painterFont = -1;
}

void release_drawing_target(int32_t image) {
  if (drawing().image != image) return;
  end_painter();
  drawing().image = 0;
}

// ---- text cache ------------------------------------------------------------

namespace {
// One laid-out text: its layout and measures in its font.
struct LaidOutText {
  QStaticText layout;  // glyphs placed once, drawn as they are
  int32_t width = 0;   // advance in logical pixels
};
struct TextKey {
  std::string text;
  int32_t font = 0;   // DrawState::fontKey
  int32_t scale = 0;  // target's device pixel ratio in hundredths
  bool operator==(const TextKey&) const = default;
};
struct TextKeyHash {
  size_t operator()(const TextKey& k) const {
    return std::hash<std::string>()(k.text) ^ (size_t(k.font) * 0x9E3779B97F4A7C15ull) ^
           size_t(k.scale);
  }
};
constexpr int32_t kDefaultTextCacheLimit = 4096;
struct TextCache {
  std::unordered_map<TextKey, LaidOutText, TextKeyHash> entries;
  int32_t limit = kDefaultTextCacheLimit;  // entries kept at most
  TextKey probe;                           // reused for look-ups, so they allocate nothing
};
TextCache& text_cache() {
  static TextCache cache;
  return cache;
}

// The text laid out in the drawing's font at the target's scale. A full
// cache starts over: simpler than tracking use, and a page of a grid is far
// below the bound.
const LaidOutText& laid_out(const Image& img, const std::string& text) {
  TextCache& c = text_cache();
  const DrawState& s = drawing();
  c.probe.text.assign(text);
  c.probe.font = s.fontKey;
  c.probe.scale = int32_t(std::lround(scale_of(img) * 100));
  if (auto it = c.entries.find(c.probe); it != c.entries.end()) return it->second;
  if (int32_t(c.entries.size()) >= c.limit) c.entries.clear();
  LaidOutText t;
  const QString q = qs(text);
  t.layout.setText(q);
  t.layout.setTextFormat(Qt::PlainText);
  t.layout.setPerformanceHint(QStaticText::AggressiveCaching);
  t.layout.prepare(QTransform(), s.font);
  t.width = QFontMetrics(s.font).horizontalAdvance(q);
  return c.entries.emplace(c.probe, std::move(t)).first->second;
}
}  // namespace

void clear_text_cache() { text_cache().entries.clear(); }

}  // namespace tk

using namespace tk;

int32_t tk_load_font(int32_t number, const std::string& face, int32_t points, int32_t flags) {
  if (points <= 0 || points > 1000) return 0;
  ensure_app();
  int32_t n = fonts().pick(number);
  if (n == 0) return 0;
  if (Font* old = fonts().find(n)) drop_handle(old->handle);
  QFont f(map_face(qs(face)));
  f.setPixelSize(std::max(1, points_to_pixels(points)));
  f.setBold(flags & TK_FONT_BOLD);
  f.setItalic(flags & TK_FONT_ITALIC);
  f.setUnderline(flags & TK_FONT_UNDERLINE);
  f.setStrikeOut(flags & TK_FONT_STRIKEOUT);
  fonts().items[n] = Font{f, new_handle(HandleKind::Font, n)};
  return n;
}

int32_t tk_font_handle(int32_t font) {
  Font* f = fonts().find(font);
  return f ? f->handle : 0;
}

void tk_free_all_fonts() {
  for (auto& [n, f] : fonts().items) drop_handle(f.handle);
  fonts().items.clear();
  clear_text_cache();
}

int32_t tk_text_cache_count() { return int32_t(text_cache().entries.size()); }

int32_t tk_text_cache_limit(int32_t entries) {
  TextCache& c = text_cache();
  const int32_t previous = c.limit;
  c.limit = entries > 0 ? entries : kDefaultTextCacheLimit;
  c.entries.clear();
  return previous;
}

int32_t tk_live_font_count() { return static_cast<int32_t>(fonts().items.size()); }

int32_t tk_start_drawing(int32_t output) {
  DrawState& s = drawing();
  tk_stop_drawing();  // starting again ends the previous drawing
  int32_t image = handle_number(output, HandleKind::Image);
  Image* img = find_image(image);
  if (!img) return 0;
  ensure_app();
  // What is drawn now is the image's own, no longer a piece of a sheet.
  img->cut = SheetCut{};
  s.image = image;
  s.mode = 0;
  s.font = default_gadget_font();
  s.fontKey = 0;
  s.front = 0xFF000000u;
  s.clipped = false;
  return 1;
}

int32_t tk_stop_drawing() {
  const int32_t image = drawing().image;
  end_painter();
  drawing().image = 0;
  if (image != 0) image_changed(image);
  return 0;
}

int32_t tk_drawing_mode(int32_t mode) {
  if (!target()) return 0;
  drawing().mode = mode;
  return 1;
}

int32_t tk_drawing_clip(int32_t x, int32_t y, int32_t w, int32_t h) {
  if (!target()) return 0;
  DrawState& s = drawing();
  s.clipped = w >= 0 && h >= 0;
  s.clip = s.clipped ? QRect(x, y, w, h) : QRect();
  return 1;
}

int32_t tk_drawing_font(int32_t fontHandle) {
  if (!target()) return 0;
  if (fontHandle == -1) {
    drawing().font = default_gadget_font();
    drawing().fontKey = 0;
    return 1;
  }
  const QFont* f = font_by_handle(fontHandle);
  if (!f) return 0;
  drawing().font = *f;
  drawing().fontKey = fontHandle;
  return 1;
}

// ---- text ------------------------------------------------------------------

int32_t tk_text_width(const std::string& text) {
  const Image* img = target();
  if (text.empty() || !img) return 0;
  return laid_out(*img, text).width;
}

int32_t tk_text_height(const std::string& text) {
  if (text.empty() || !target()) return 0;
  return QFontMetrics(drawing().font).height();
}

int32_t tk_draw_text(int32_t x, int32_t y, const std::string& text, int32_t colour) {
  Image* img = target();
  if (!img || text.empty()) return 0;
  DrawState& s = drawing();
  const LaidOutText& t = laid_out(*img, text);
  // Logical coordinates: the painter scales them by the image's ratio.
  if (!s.painter) {
    s.painter = std::make_unique<QPainter>(&img->pixels);
    s.painter->setRenderHint(QPainter::TextAntialiasing, true);
  }
  QPainter& p = *s.painter;
  if (s.painterFont != s.fontKey) {
    p.setFont(s.font);
    s.painterFont = s.fontKey;
  }
  if (s.clipped)
    p.setClipRect(paintable(*img));
  else if (p.hasClipping())
    p.setClipping(false);
  if (!(s.mode & TK_DRAW_TRANSPARENT))
    p.fillRect(QRect(x, y, t.width, QFontMetrics(s.font).height()), Qt::white);
  p.setPen(QColor(to_rgb(colour)));
  p.drawStaticText(QPoint(x, y), t.layout);
  return 1;
}

// ---- pictures --------------------------------------------------------------

namespace {
// Whether every row, and every column, of a picture is one colour.
struct Flatness {
  bool rows = true;
  bool columns = true;
};
Flatness flatness(const QImage& picture) {
  Flatness f;
  const QRgb* top = reinterpret_cast<const QRgb*>(picture.constScanLine(0));
  for (int row = 0; row < picture.height() && (f.rows || f.columns); ++row) {
    const QRgb* line = reinterpret_cast<const QRgb*>(picture.constScanLine(row));
    for (int col = 0; col < picture.width(); ++col) {
      f.rows = f.rows && line[col] == line[0];
      f.columns = f.columns && line[col] == top[col];
    }
  }
  return f;
}

// Frames and grids stretch ground tiles (one colour) and edge tiles (one
// colour per row or per column) over their whole area on every drawing.
// Smoothing only ever mixes equal colours along such an axis, so the result
// repeats along it: a one-colour tile is a plain fill, and an edge tile is
// smoothed along one line only, which is then copied over the rest. The
// pixels are the ones smoothing the whole rectangle gives. `img` is in
// device pixels, as are `target` and `bounds` (the paintable part).
bool draw_flat_stretched(QImage& img, const QImage& picture, const QRect& target,
                         const QRect& bounds) {
  if (picture.format() != QImage::Format_RGB32 || img.format() != QImage::Format_RGB32)
    return false;
  const Flatness f = flatness(picture);
  if (!f.rows && !f.columns) return false;
  const QRect area = target.intersected(bounds);
  if (area.isEmpty()) return true;
  const int left = area.left(), width = area.width();
  if (f.rows && f.columns) {
    const QRgb colour = picture.pixel(0, 0) | 0xFF000000u;
    for (int row = area.top(); row <= area.bottom(); ++row) {
      QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(row));
      std::fill(line + left, line + left + width, colour);
    }
    return true;
  }
  {
    QPainter p(&img);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.setClipRect(f.rows ? QRect(left, area.top(), 1, area.height())
                         : QRect(left, area.top(), width, 1));
    p.drawImage(QRectF(target), picture, QRectF(picture.rect()));
  }
  const QRgb* first = reinterpret_cast<const QRgb*>(img.constScanLine(area.top())) + left;
  for (int row = area.top(); row <= area.bottom(); ++row) {
    QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(row)) + left;
    if (f.rows) std::fill(line + 1, line + width, line[0]);
    else if (row != area.top()) std::copy(first, first + width, line);
  }
  return true;
}

// Copies a picture's device pixels unchanged to `at`, inside `bounds`.
void blit(QImage& img, const QImage& picture, QPoint at, const QRect& bounds) {
  const QRect area = QRect(at, picture.size()).intersected(bounds);
  for (int row = area.top(); row <= area.bottom(); ++row) {
    const QRgb* in = reinterpret_cast<const QRgb*>(picture.constScanLine(row - at.y()));
    QRgb* out = reinterpret_cast<QRgb*>(img.scanLine(row));
    std::copy(in + (area.left() - at.x()), in + (area.right() + 1 - at.x()), out + area.left());
  }
}
}  // namespace

int32_t tk_draw_image(int32_t bitmapHandle, int32_t x, int32_t y, int32_t w, int32_t h) {
  Image* img = target();
  const Image* src = find_image(handle_number(bitmapHandle, HandleKind::Image));
  if (!img || !src) return 0;
  QImage picture = (src == img) ? src->pixels.copy() : src->pixels;
  if (w == -1) w = src->width;
  if (h == -1) h = src->height;
  if (w <= 0 || h <= 0) return 0;
  const double scale = scale_of(*img);
  const QRect bounds = paintable_device(*img);
  QImage view = device_view(*img);
  // A picture of the target's scale at its own size keeps its pixels; any
  // other is stretched over the device pixels its logical rectangle covers.
  if (w == src->width && h == src->height && scale_of(*src) == scale &&
      picture.format() == QImage::Format_RGB32) {
    blit(view, picture, QPoint(to_device(x, scale), to_device(y, scale)), bounds);
    return 1;
  }
  const QRect target = device_rect(x, y, w, h, scale);
  if (target.isEmpty()) return 1;
  if (draw_flat_stretched(view, picture, target, bounds)) return 1;
  QPainter p(&view);
  if (drawing().clipped) p.setClipRect(bounds);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
  p.drawImage(QRectF(target), picture, QRectF(picture.rect()));
  return 1;
}

// ---- lines and boxes -------------------------------------------------------

namespace {
// Sets (or inverts) the device pixels of the logical rectangle from (x0, y0)
// to (x1, y1), end exclusive, inside `bounds` (device pixels).
void fill_logical(Image& img, const QRect& bounds, int64_t x0, int64_t y0, int64_t x1,
                  int64_t y1, QRgb colour, bool invert) {
  const double scale = scale_of(img);
  const int64_t left = std::max<int64_t>(to_device(x0, scale), bounds.left());
  const int64_t right = std::min<int64_t>(to_device(x1, scale), int64_t(bounds.right()) + 1);
  const int64_t top = std::max<int64_t>(to_device(y0, scale), bounds.top());
  const int64_t bottom = std::min<int64_t>(to_device(y1, scale), int64_t(bounds.bottom()) + 1);
  for (int64_t row = top; row < bottom && left < right; ++row) {
    QRgb* line = reinterpret_cast<QRgb*>(img.pixels.scanLine(int(row)));
    if (!invert) std::fill(line + left, line + right, colour);
    else
      for (int64_t x = left; x < right; ++x) line[x] ^= 0x00FFFFFFu;
  }
}
}  // namespace

// Both end points are drawn: (x, y) and (x + w, y + h).
int32_t tk_draw_line(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour) {
  Image* img = target();
  if (!img) return 0;
  bool invert = drawing().mode & TK_DRAW_INVERT;
  QRgb c = to_rgb(colour);
  int64_t x0 = x, y0 = y, x1 = int64_t(x) + w, y1 = int64_t(y) + h;
  // Clamp absurd lengths so a wild argument cannot stall the loop.
  const int64_t limit = 4 * int64_t(kMaxImageSide);
  x0 = std::clamp<int64_t>(x0, -limit, limit);
  x1 = std::clamp<int64_t>(x1, -limit, limit);
  y0 = std::clamp<int64_t>(y0, -limit, limit);
  y1 = std::clamp<int64_t>(y1, -limit, limit);
  const QRect bounds = paintable_device(*img);
  if (x0 == x1 || y0 == y1) {  // straight: one block
    fill_logical(*img, bounds, std::min(x0, x1), std::min(y0, y1), std::max(x0, x1) + 1,
                 std::max(y0, y1) + 1, c, invert);
    return 1;
  }
  int64_t dx = std::llabs(x1 - x0), dy = -std::llabs(y1 - y0);
  int64_t sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int64_t err = dx + dy;
  for (;;) {
    fill_logical(*img, bounds, x0, y0, x0 + 1, y0 + 1, c, invert);
    if (x0 == x1 && y0 == y1) break;
    int64_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
  return 1;
}

int32_t tk_draw_box(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour) {
  Image* img = target();
  if (!img) return 0;
  int64_t x0 = x, y0 = y, x1 = int64_t(x) + w, y1 = int64_t(y) + h;
  if (x1 < x0) std::swap(x0, x1);
  if (y1 < y0) std::swap(y0, y1);
  if (x0 == x1 || y0 == y1) return 0;
  bool invert = drawing().mode & TK_DRAW_INVERT;
  QRgb c = to_rgb(colour);
  const QRect bounds = paintable_device(*img);
  if (!(drawing().mode & TK_DRAW_OUTLINE)) {
    fill_logical(*img, bounds, x0, y0, x1, y1, c, invert);
    return 1;
  }
  // Top and bottom rows whole, the sides between them: no pixel twice.
  fill_logical(*img, bounds, x0, y0, x1, y0 + 1, c, invert);
  if (y1 - 1 > y0) fill_logical(*img, bounds, x0, y1 - 1, x1, y1, c, invert);
  fill_logical(*img, bounds, x0, y0 + 1, x0 + 1, y1 - 1, c, invert);
  if (x1 - 1 > x0) fill_logical(*img, bounds, x1 - 1, y0 + 1, x1, y1 - 1, c, invert);
  return 1;
}
