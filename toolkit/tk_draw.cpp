// 2D drawing onto images and the font table.
//
// Lines and boxes are set pixel by pixel (exact, never antialiased, with the
// inverting mode as an XOR of the colour bits); text and pictures go through
// a short-lived QPainter on the target image.
//
// Sections: fonts · drawing state · text · pictures · lines and boxes.
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdlib>

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
  QRgb front = 0xFF000000u;
  bool clipped = false;  // drawing is kept inside `clip`
  QRect clip;            // the clip rectangle while clipped
};
DrawState& drawing() {
  static DrawState s;
  return s;
}
QImage* target() {
  Image* img = find_image(drawing().image);
  return img ? &img->pixels : nullptr;
}
// The part of the target image that drawing may paint.
QRect paintable(const QImage& img) {
  const DrawState& s = drawing();
  return s.clipped ? img.rect().intersected(s.clip) : img.rect();
}
QRgb to_rgb(int32_t colour) {
  return colour == -1 ? drawing().front : packed_to_rgb(colour);
}
}  // namespace

void release_drawing_target(int32_t image) {
  if (drawing().image == image) drawing().image = 0;
}

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
}

int32_t tk_live_font_count() { return static_cast<int32_t>(fonts().items.size()); }

int32_t tk_start_drawing(int32_t output) {
  DrawState& s = drawing();
  tk_stop_drawing();  // starting again ends the previous drawing
  int32_t image = handle_number(output, HandleKind::Image);
  if (!find_image(image)) return 0;
  ensure_app();
  s.image = image;
  s.mode = 0;
  s.font = default_gadget_font();
  s.front = 0xFF000000u;
  s.clipped = false;
  return 1;
}

int32_t tk_stop_drawing() {
  const int32_t image = drawing().image;
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
    return 1;
  }
  const QFont* f = font_by_handle(fontHandle);
  if (!f) return 0;
  drawing().font = *f;
  return 1;
}

// ---- text ------------------------------------------------------------------

int32_t tk_text_width(const std::string& text) {
  if (text.empty() || !target()) return 0;
  return QFontMetrics(drawing().font).horizontalAdvance(qs(text));
}

int32_t tk_text_height(const std::string& text) {
  if (text.empty() || !target()) return 0;
  return QFontMetrics(drawing().font).height();
}

int32_t tk_draw_text(int32_t x, int32_t y, const std::string& text, int32_t colour) {
  QImage* img = target();
  if (!img || text.empty()) return 0;
  const DrawState& s = drawing();
  QString q = qs(text);
  QFontMetrics metrics(s.font);
  QPainter p(img);
  if (s.clipped) p.setClipRect(paintable(*img));
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setFont(s.font);
  if (!(s.mode & TK_DRAW_TRANSPARENT))
    p.fillRect(QRect(x, y, metrics.horizontalAdvance(q), metrics.height()), Qt::white);
  p.setPen(QColor(to_rgb(colour)));
  p.drawText(QPoint(x, y + metrics.ascent()), q);
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
// pixels are the ones smoothing the whole rectangle gives.
bool draw_flat_stretched(QImage& img, const QImage& picture, const QRect& target) {
  if (picture.format() != QImage::Format_RGB32 || img.format() != QImage::Format_RGB32)
    return false;
  const Flatness f = flatness(picture);
  if (!f.rows && !f.columns) return false;
  const QRect area = target.intersected(paintable(img));
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
    p.drawImage(target, picture);
  }
  const QRgb* first = reinterpret_cast<const QRgb*>(img.constScanLine(area.top())) + left;
  for (int row = area.top(); row <= area.bottom(); ++row) {
    QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(row)) + left;
    if (f.rows) std::fill(line + 1, line + width, line[0]);
    else if (row != area.top()) std::copy(first, first + width, line);
  }
  return true;
}
}  // namespace

int32_t tk_draw_image(int32_t bitmapHandle, int32_t x, int32_t y, int32_t w, int32_t h) {
  QImage* img = target();
  const QImage* src = image_by_handle(bitmapHandle);
  if (!img || !src) return 0;
  QImage picture = (src == img) ? src->copy() : *src;
  if (w == -1) w = picture.width();
  if (h == -1) h = picture.height();
  if (w <= 0 || h <= 0) return 0;
  const bool stretched = w != picture.width() || h != picture.height();
  if (stretched && draw_flat_stretched(*img, picture, QRect(x, y, w, h))) return 1;
  QPainter p(img);
  if (drawing().clipped) p.setClipRect(paintable(*img));
  p.setCompositionMode(QPainter::CompositionMode_Source);
  if (w == picture.width() && h == picture.height()) {
    p.drawImage(QPoint(x, y), picture);
  } else {
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(QRect(x, y, w, h), picture);
  }
  return 1;
}

// ---- lines and boxes -------------------------------------------------------

namespace {
// `bounds` is the paintable part of the image.
void put_pixel(QImage& img, const QRect& bounds, int x, int y, QRgb colour, bool invert) {
  if (!bounds.contains(x, y)) return;
  QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
  line[x] = invert ? (line[x] ^ 0x00FFFFFFu) : colour;
}

void fill_span(QImage& img, const QRect& bounds, int64_t x0, int64_t x1, int64_t y, QRgb colour,
               bool invert) {
  if (y < bounds.top() || y > bounds.bottom()) return;
  x0 = std::max<int64_t>(x0, bounds.left());
  x1 = std::min<int64_t>(x1, int64_t(bounds.right()) + 1);
  QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(int(y)));
  for (int64_t x = x0; x < x1; ++x) line[x] = invert ? (line[x] ^ 0x00FFFFFFu) : colour;
}
}  // namespace

// Both end points are drawn: (x, y) and (x + w, y + h).
int32_t tk_draw_line(int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour) {
  QImage* img = target();
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
  int64_t dx = std::llabs(x1 - x0), dy = -std::llabs(y1 - y0);
  int64_t sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int64_t err = dx + dy;
  const QRect bounds = paintable(*img);
  for (;;) {
    put_pixel(*img, bounds, int(x0), int(y0), c, invert);
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
  QImage* img = target();
  if (!img) return 0;
  int64_t x0 = x, y0 = y, x1 = int64_t(x) + w, y1 = int64_t(y) + h;
  if (x1 < x0) std::swap(x0, x1);
  if (y1 < y0) std::swap(y0, y1);
  if (x0 == x1 || y0 == y1) return 0;
  bool invert = drawing().mode & TK_DRAW_INVERT;
  QRgb c = to_rgb(colour);
  const QRect bounds = paintable(*img);
  const int64_t top = std::max<int64_t>(y0, bounds.top());
  const int64_t bottom = std::min<int64_t>(y1, int64_t(bounds.bottom()) + 1);
  if (drawing().mode & TK_DRAW_OUTLINE) {
    for (int64_t row = top; row < bottom; ++row) {
      if (row == y0 || row == y1 - 1) {
        fill_span(*img, bounds, x0, x1, row, c, invert);
      } else {
        fill_span(*img, bounds, x0, x0 + 1, row, c, invert);
        if (x1 - 1 > x0) fill_span(*img, bounds, x1 - 1, x1, row, c, invert);
      }
    }
  } else {
    for (int64_t row = top; row < bottom; ++row) fill_span(*img, bounds, x0, x1, row, c, invert);
  }
  return 1;
}
