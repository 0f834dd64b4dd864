// The artwork of the skin sheet, painted with antialiased QPainter shapes.
//
// Sections: palette · painting helpers · glyphs · state buttons (round,
// arrows, toggles) · icon bar family (bar, search field, message bar,
// toolbar faces) · tab strips · frame strips · grid parts · sheet assembly.
//
// Nothing is transparent on the sheet: every piece is painted on the colour
// of the place where the program shows it (the cream centre, the grey
// sidebar, the icon bar's gradient rows), so the corners of round shapes
// blend in. Strips whose consumers stretch a tile keep that tile uniform
// along the stretch direction.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include <array>
#include <cassert>
#include <cmath>
#include <vector>

#include "skin_gen.h"

namespace skingen {

namespace {

// ---- palette -----------------------------------------------------------------
const QColor kAccent{64, 124, 201};
const QColor kAccentHi{108, 160, 226};
const QColor kAccentLo{42, 93, 164};
const QColor kDanger{207, 83, 74};
const QColor kDangerHi{229, 118, 106};
const QColor kDangerLo{166, 58, 52};
const QColor kInk{74, 82, 96};
const QColor kInkMuted{178, 182, 189};
const QColor kBorder{150, 157, 168};
const QColor kBorderSoft{186, 192, 201};
const QColor kWhite{255, 255, 255};

// Grounds of the places where pieces are shown.
const QColor kCream{236, 233, 216};      // centre containers
const QColor kSideGrey{169, 169, 169};   // sidebar container
const QColor kPanel{250, 250, 250};      // inner panels, label backgrounds
const QColor kGridGround{255, 255, 255}; // grid interior

// The icon bar's vertical gradient; the toggle, search field and message
// bar sit on it at fixed rows and take their corner colours from here.
QColor iconbar_row(int y) {
  if (y <= 0) return QColor(252, 253, 254);
  if (y >= 39) return QColor(160, 167, 178);
  if (y == 38) return QColor(196, 201, 209);
  const double t = (y - 1) / 36.0;
  auto mix = [t](int a, int b) { return int(std::lround(a + (b - a) * t)); };
  return QColor(mix(243, 212), mix(245, 216), mix(248, 223));
}

// Rows of the icon bar under each piece shown on it.
constexpr int kToggleRow = 10;
constexpr int kSearchRow = 9;
constexpr int kMessageRow = 7;

// Strip frame order as the buttons read it: resting, pressed, hover,
// disabled.
enum class State { Normal, Pressed, Hover, Disabled };
constexpr std::array<State, 4> kStripOrder{State::Normal, State::Pressed, State::Hover,
                                           State::Disabled};

// The painter of one sheet at a whole-number zoom. Every picture is painted
// in the sheet's own (1x) coordinates onto an image whose device pixel ratio
// is the zoom, so QPainter draws the same shapes with `zoom` times the
// pixels; what is set pixel by pixel fills zoom x zoom blocks instead.
struct Art {
  int zoom;  // device pixels per sheet pixel: 1 or 2

// ---- painting helpers ----------------------------------------------------------
QImage blank(int w, int h, const QColor& ground) {
  QImage img(w * zoom, h * zoom, QImage::Format_RGB32);
  img.setDevicePixelRatio(zoom);
  img.fill(ground);
  return img;
}

QImage on_iconbar(int w, int h, int firstRow) {
  QImage img(w * zoom, h * zoom, QImage::Format_RGB32);
  img.setDevicePixelRatio(zoom);
  for (int y = 0; y < h * zoom; ++y) {
    const QRgb c = iconbar_row(firstRow + y / zoom).rgb();
    for (int x = 0; x < w * zoom; ++x) img.setPixel(x, y, c);
  }
  return img;
}

struct Painter : QPainter {
  explicit Painter(QImage& img) : QPainter(&img) {
    setRenderHint(QPainter::Antialiasing);
    setRenderHint(QPainter::SmoothPixmapTransform);
  }
};

QLinearGradient vgrad(qreal y0, qreal y1, const QColor& top, const QColor& bottom) {
  QLinearGradient g(0, y0, 0, y1);
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  return g;
}

QPen pen(const QColor& c, qreal width, Qt::PenCapStyle cap = Qt::RoundCap) {
  return QPen(c, width, Qt::SolidLine, cap, Qt::RoundJoin);
}

QColor with_alpha(QColor c, int alpha) {
  c.setAlpha(alpha);
  return c;
}

// Frames side by side, each frame as wide as the first.
QImage strip(const std::vector<QImage>& frames) {
  const int fw = frames.front().width() / zoom, fh = frames.front().height() / zoom;
  QImage out(fw * int(frames.size()) * zoom, fh * zoom, QImage::Format_RGB32);
  out.setDevicePixelRatio(zoom);
  QPainter p(&out);
  for (std::size_t i = 0; i < frames.size(); ++i) p.drawImage(int(i) * fw, 0, frames[i]);
  return out;
}

// Tile (col, row) of a picture cut in squares of side s.
QImage tile(const QImage& src, int col, int row, int s) {
  QImage t = src.copy(col * s * zoom, row * s * zoom, s * zoom, s * zoom);
  t.setDevicePixelRatio(zoom);
  return t;
}

// Sets the sheet pixel (x, y) of a picture: a zoom x zoom block.
void set_block(QImage& img, int x, int y, QRgb colour) {
  for (int dy = 0; dy < zoom; ++dy)
    for (int dx = 0; dx < zoom; ++dx) img.setPixel(x * zoom + dx, y * zoom + dy, colour);
}

// The twelve tiles of a frame or grid, cut from a 3 x 3 box painted with and
// without its caption band: captioned top row, left and right edge, bottom
// row, plain top row, centre.
std::vector<QImage> box_tiles(const QImage& cap, const QImage& plain, int s) {
  return {tile(cap, 0, 0, s),   tile(cap, 1, 0, s),   tile(cap, 2, 0, s),
          tile(cap, 0, 1, s),   tile(cap, 2, 1, s),
          tile(cap, 0, 2, s),   tile(cap, 1, 2, s),   tile(cap, 2, 2, s),
          tile(plain, 0, 0, s), tile(plain, 1, 0, s), tile(plain, 2, 0, s),
          tile(cap, 1, 1, s)};
}

// A rectangle whose top corners are rounded with radius r where asked.
QPainterPath top_rounded(const QRectF& r, qreal radius, bool left, bool right) {
  QPainterPath path;
  path.moveTo(r.left(), r.bottom());
  if (left) {
    path.lineTo(r.left(), r.top() + radius);
    path.quadTo(r.left(), r.top(), r.left() + radius, r.top());
  } else {
    path.lineTo(r.left(), r.top());
  }
  if (right) {
    path.lineTo(r.right() - radius, r.top());
    path.quadTo(r.right(), r.top(), r.right(), r.top() + radius);
  } else {
    path.lineTo(r.right(), r.top());
  }
  path.lineTo(r.right(), r.bottom());
  return path;
}

// ---- glyphs ----------------------------------------------------------------------
// All glyphs are drawn around a centre point c with a given stroke colour.

void glyph_plus(QPainter& p, QPointF c, qreal arm, qreal width, const QColor& col) {
  p.setPen(pen(col, width, Qt::FlatCap));
  p.drawLine(QPointF(c.x() - arm, c.y()), QPointF(c.x() + arm, c.y()));
  p.drawLine(QPointF(c.x(), c.y() - arm), QPointF(c.x(), c.y() + arm));
}

void glyph_cross(QPainter& p, QPointF c, qreal arm, qreal width, const QColor& col) {
  p.setPen(pen(col, width));
  p.drawLine(c + QPointF(-arm, -arm), c + QPointF(arm, arm));
  p.drawLine(c + QPointF(-arm, arm), c + QPointF(arm, -arm));
}

// Two overlapping sheets; the front one is filled with `face`.
void glyph_copy(QPainter& p, QPointF c, qreal size, qreal width, const QColor& col,
                const QColor& face) {
  const qreal off = size * 0.36;
  const QRectF back(c.x() - size / 2 - off / 2, c.y() - size / 2 - off / 2, size, size);
  const QRectF front = back.translated(off, off);
  p.setPen(pen(col, width));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(back, 1.2, 1.2);
  p.setBrush(face);
  p.drawRoundedRect(front, 1.2, 1.2);
  p.setBrush(Qt::NoBrush);
}

// Solid triangle pointing right at angle 0, turned clockwise by `degrees`.
void glyph_triangle(QPainter& p, QPointF c, qreal half, qreal degrees, const QColor& col) {
  QTransform t;
  t.translate(c.x(), c.y());
  t.rotate(degrees);
  // Wider than tall, so that the turning frames still read as pointing
  // somewhere (an equilateral triangle turned 60 degrees points backwards);
  // turned about its centroid, so it does not wobble.
  const qreal h = half * 1.05;
  QPolygonF tri;
  tri << QPointF(-h / 3, -half) << QPointF(2 * h / 3, 0) << QPointF(-h / 3, half);
  p.setPen(pen(col, 1.0));
  p.setBrush(col);
  p.drawPolygon(t.map(tri));
  p.setBrush(Qt::NoBrush);
}

// Open chevron pointing right at angle 0 (180 points left).
void glyph_chevron(QPainter& p, QPointF c, qreal half, qreal degrees, qreal width,
                   const QColor& col) {
  QTransform t;
  t.translate(c.x(), c.y());
  t.rotate(degrees);
  QPolygonF v;
  v << QPointF(-half * 0.5, -half) << QPointF(half * 0.5, 0) << QPointF(-half * 0.5, half);
  p.setPen(pen(col, width));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(t.map(v));
}

void glyph_magnifier(QPainter& p, QPointF c, const QColor& col) {
  p.setPen(pen(col, 1.6));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(c, 3.6, 3.6);
  p.setPen(pen(col, 2.2));
  p.drawLine(c + QPointF(2.8, 2.8), c + QPointF(5.6, 5.6));
}

// Two arrows crossing each other, both heading right.
void glyph_crossing_arrows(QPainter& p, QPointF c, const QColor& col) {
  p.setPen(pen(col, 1.6));
  p.setBrush(Qt::NoBrush);
  QPainterPath a;  // bottom-left to top-right
  a.moveTo(c + QPointF(-7, 4.5));
  a.cubicTo(c + QPointF(-1, 4.5), c + QPointF(0, -4.5), c + QPointF(5.5, -4.5));
  QPainterPath b;  // top-left to bottom-right
  b.moveTo(c + QPointF(-7, -4.5));
  b.cubicTo(c + QPointF(-1, -4.5), c + QPointF(0, 4.5), c + QPointF(5.5, 4.5));
  p.drawPath(a);
  p.drawPath(b);
  for (qreal y : {-4.5, 4.5}) {
    QPolygonF head;
    head << c + QPointF(4.5, y - 3) << c + QPointF(8, y) << c + QPointF(4.5, y + 3);
    p.setPen(pen(col, 1.0));
    p.setBrush(col);
    p.drawPolygon(head);
    p.setBrush(Qt::NoBrush);
    p.setPen(pen(col, 1.6));
  }
}

// A window with a side panel: the sidebar symbol of the toggle.
void glyph_sidebar(QPainter& p, QPointF c, bool panelShown, const QColor& col,
                   const QColor& panel) {
  const QRectF r(c.x() - 7, c.y() - 5, 14, 10);
  p.setPen(pen(col, 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(r, 1.5, 1.5);
  const QRectF side(r.left() + 1.2, r.top() + 1.2, 4, r.height() - 2.4);
  if (panelShown) p.fillRect(side, panel);
  p.drawLine(QPointF(r.left() + 5.6, r.top() + 0.6), QPointF(r.left() + 5.6, r.bottom() - 0.6));
}

// ---- state buttons ----------------------------------------------------------------
enum class RoundGlyph { Plus, Cross, Copy };

QImage round_button(RoundGlyph glyph, State s) {
  QImage img = blank(16, 16, kCream);
  Painter p(img);
  const bool danger = glyph == RoundGlyph::Cross;
  const QColor hi = danger ? kDangerHi : kAccentHi;
  const QColor mid = danger ? kDanger : kAccent;
  const QColor lo = danger ? kDangerLo : kAccentLo;
  const QPointF c(8, 8);

  QGradient body = vgrad(1, 15, QColor(255, 255, 255), QColor(225, 229, 235));
  QColor edge = kBorder, ink = kInk;
  switch (s) {
    case State::Normal:
      break;
    case State::Hover:
      body = vgrad(1, 15, hi, mid);
      edge = lo;
      ink = kWhite;
      break;
    case State::Pressed:
      body = vgrad(1, 15, lo, mid);
      edge = lo.darker(120);
      ink = kWhite;
      break;
    case State::Disabled:
      body = vgrad(1, 15, QColor(245, 245, 245), QColor(236, 236, 236));
      edge = QColor(203, 204, 207);
      ink = QColor(190, 192, 196);
      break;
  }
  if (s != State::Pressed && s != State::Disabled) {  // soft drop shadow
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 26));
    p.drawEllipse(c + QPointF(0, 0.7), 7.4, 7.4);
  }
  p.setPen(pen(edge, 1.0));
  p.setBrush(body);
  p.drawEllipse(c, 6.9, 6.9);
  const QPointF g = s == State::Pressed ? c + QPointF(0, 0.4) : c;
  switch (glyph) {
    case RoundGlyph::Plus:
      glyph_plus(p, g, 3.5, 2.0, ink);
      break;
    case RoundGlyph::Cross:
      glyph_cross(p, g, 2.6, 1.8, ink);
      break;
    case RoundGlyph::Copy: {
      const QColor face = s == State::Hover ? mid : s == State::Pressed ? lo : QColor(250, 251, 252);
      glyph_copy(p, g, 5.0, 1.1, ink, face);
      break;
    }
  }
  return img;
}

// An expand/collapse triangle: 0 degrees points right, 90 down.
QImage arrow_button(qreal degrees, State s, const QColor& ground, int size, QPointF c,
                    qreal half) {
  QImage img = blank(size, size, ground);
  Painter p(img);
  QColor ink = kInk;
  switch (s) {
    case State::Normal:
      break;
    case State::Hover:
      p.setPen(Qt::NoPen);
      p.setBrush(with_alpha(kAccent, 38));
      p.drawEllipse(c, size * 0.46, size * 0.46);
      ink = kAccent;
      break;
    case State::Pressed:
      p.setPen(Qt::NoPen);
      p.setBrush(with_alpha(kAccent, 72));
      p.drawEllipse(c, size * 0.46, size * 0.46);
      ink = kAccentLo;
      break;
    case State::Disabled:
      ink = kInkMuted;
      break;
  }
  glyph_triangle(p, c, half, degrees, ink);
  return img;
}

QImage small_arrow(qreal degrees, State s) {
  return arrow_button(degrees, s, kCream, 16, QPointF(8, 8), 4.6);
}

// The sidebar toggle: a track with a raised knob carrying the sidebar
// symbol, knob at the left while the sidebar is shown.
QImage toggle(bool knobLeft, State s) {
  QImage img = on_iconbar(90, 20, kToggleRow);
  Painter p(img);
  const QRectF track(0.5, 1.5, 89, 17);
  const bool disabled = s == State::Disabled;

  // Track: inset, a little darker while pressed.
  QColor t0(206, 211, 219), t1(226, 230, 236);
  if (s == State::Pressed) t0 = t0.darker(108), t1 = t1.darker(108);
  if (disabled) t0 = QColor(228, 230, 233), t1 = QColor(236, 238, 240);
  p.setPen(pen(disabled ? kBorderSoft : s == State::Hover ? kAccent : kBorder, 1.0));
  p.setBrush(vgrad(track.top(), track.bottom(), t0, t1));
  p.drawRoundedRect(track, 8.5, 8.5);

  // The free half shows where the knob goes on a click.
  const QColor hint = disabled ? kInkMuted : s == State::Hover ? kAccent : QColor(112, 120, 134);
  glyph_chevron(p, QPointF(knobLeft ? 67.5 : 22.5, 10), 3.6, knobLeft ? 0 : 180, 1.6, hint);

  // Knob with shadow.
  const QRectF knob = knobLeft ? QRectF(2.5, 3.5, 42, 13) : QRectF(45, 3.5, 42, 13);
  if (!disabled) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 34));
    p.drawRoundedRect(knob.translated(0, 1), 6.5, 6.5);
  }
  QColor k0(255, 255, 255), k1(234, 237, 242);
  if (s == State::Pressed) k0 = QColor(232, 236, 242), k1 = QColor(214, 220, 229);
  if (disabled) k0 = k1 = QColor(244, 245, 246);
  p.setPen(pen(disabled ? kBorderSoft : s == State::Hover ? kAccent : QColor(140, 148, 160), 1.0));
  p.setBrush(vgrad(knob.top(), knob.bottom(), k0, k1));
  p.drawRoundedRect(knob, 6.5, 6.5);

  const QColor sym = disabled ? kInkMuted : s == State::Hover ? kAccentLo : kInk;
  const QColor panel = disabled ? kInkMuted : kAccent;
  glyph_sidebar(p, knob.center() + QPointF(0, 0), knobLeft, sym, panel);
  return img;
}

// ---- icon bar family ----------------------------------------------------------------
QImage iconbar() { return on_iconbar(kSheetWidth, 40, 0); }

// Rounded field with magnifier and a drop-down mark at the left; the text
// input lies over x 28..137, y 3..19 and must meet plain white there.
QImage search_field() {
  QImage img = on_iconbar(149, 21, kSearchRow);
  Painter p(img);
  const QRectF r(0.5, 0.5, 148, 20);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 150));  // light lip under the field
  p.drawRoundedRect(r.translated(0, 0.8), 10, 10);
  p.setPen(pen(kBorder, 1.0));
  p.setBrush(kWhite);
  p.drawRoundedRect(r, 10, 10);
  // Inner shadow along the top, above the input's rows.
  p.setClipRect(QRectF(0, 0, 149, 3));
  p.setPen(pen(QColor(0, 0, 0, 22), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(r.adjusted(0.8, 1.0, -0.8, 0), 9.5, 9.5);
  p.setClipping(false);

  glyph_magnifier(p, QPointF(11.5, 9.0), kInk);
  QPolygonF caret;
  caret << QPointF(19.5, 9.0) << QPointF(24.5, 9.0) << QPointF(22.0, 12.0);
  p.setPen(pen(kInk, 0.8));
  p.setBrush(kInk);
  p.drawPolygon(caret);
  return img;
}

// Light inset bar for the view message, with the product mark at its right.
QImage message_bar() {
  QImage img = on_iconbar(300, 26, kMessageRow);
  Painter p(img);
  const QRectF r(0.5, 0.5, 299, 25);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(255, 255, 255, 140));
  p.drawRoundedRect(r.translated(0, 0.8), 6, 6);
  p.setPen(pen(QColor(164, 171, 182), 1.0));
  p.setBrush(vgrad(0, 26, QColor(246, 248, 250), QColor(253, 253, 254)));
  p.drawRoundedRect(r, 6, 6);
  p.setPen(pen(QColor(0, 0, 0, 20), 1.0));
  p.drawLine(QPointF(5, 1.6), QPointF(295, 1.6));

  // Divider and mark: two interlocking rounded diamonds and a dot.
  p.setPen(pen(QColor(218, 223, 230), 1.0));
  p.drawLine(QPointF(267.5, 5), QPointF(267.5, 21));
  auto diamond = [&](QPointF c, qreal rad, const QGradient& fill) {
    QTransform t;
    t.translate(c.x(), c.y());
    t.rotate(45);
    QPainterPath path;
    path.addRoundedRect(QRectF(-rad, -rad, 2 * rad, 2 * rad), 2.2, 2.2);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(t.map(path));
  };
  diamond(QPointF(280.5, 13), 5.6, vgrad(5, 21, kAccentHi, kAccent));
  diamond(QPointF(287.5, 13), 5.6, vgrad(5, 21, QColor(76, 96, 128, 210), QColor(44, 60, 88, 210)));
  p.setBrush(kWhite);
  p.drawEllipse(QPointF(284, 13), 1.7, 1.7);
  return img;
}

// The five toolbar faces lie side by side under the sidebar and read as one
// segmented bar: rounded at the outer ends, separators between.
enum class FaceGlyph { Plus, Copy, Crossing, None };

QImage toolbar_face(FaceGlyph glyph, bool first, bool last) {
  QImage img = blank(40, 20, kSideGrey);
  Painter p(img);
  // Inner faces continue past their sides; only the outer ends are rounded.
  const QRectF bar(QPointF(first ? 0.5 : -10, 0.5), QPointF(last ? 39.5 : 50, 19.5));
  p.setPen(pen(QColor(118, 124, 134), 1.0));
  p.setBrush(vgrad(0, 20, QColor(250, 251, 252), QColor(220, 224, 230)));
  p.drawRoundedRect(bar, 4, 4);
  p.setPen(pen(QColor(255, 255, 255, 200), 1.0));
  p.drawLine(QPointF(first ? 4 : 0, 1.5), QPointF(last ? 36 : 40, 1.5));
  if (!last) {
    p.setPen(pen(QColor(176, 182, 192), 1.0, Qt::FlatCap));
    p.drawLine(QPointF(39.5, 3), QPointF(39.5, 17));
  }
  if (!first) {
    p.setPen(pen(QColor(255, 255, 255, 210), 1.0, Qt::FlatCap));
    p.drawLine(QPointF(0.5, 3), QPointF(0.5, 17));
  }
  const QPointF c(20, 10);
  switch (glyph) {
    case FaceGlyph::Plus:
      glyph_plus(p, c, 5, 2.0, kInk);
      break;
    case FaceGlyph::Copy:
      glyph_copy(p, c + QPointF(0, 0), 7.0, 1.3, kInk, QColor(246, 247, 249));
      break;
    case FaceGlyph::Crossing:
      glyph_crossing_arrows(p, c, kInk);
      break;
    case FaceGlyph::None:
      break;
  }
  return img;
}

// ---- tab strips -----------------------------------------------------------------------
// Eleven cells of 18 x 22 (the last 9 wide) separated by one-pixel guide
// columns. A tab is a body with rounded top corners standing on a base line
// in row 21; the selected tab is taller, carries an accent cap and opens
// downwards into the frame beneath (its base row is its own face colour).

struct TabPalette {
  QColor ground;
  QColor faceTop, faceBottom;  // unselected tab
  QColor selected;             // selected tab, same as the frame's card
};

static constexpr int kTabCell = 18;
static constexpr int kTabHeight = 22;
inline static const QColor kTabBorder = kBorder;

struct TabSpan {
  qreal left, right;  // pixel columns of the side borders (beyond the cell when open)
  bool selected;
  bool roundLeft, roundRight;
};

void paint_tab_span(QPainter& p, const TabPalette& pal, const TabSpan& s) {
  const qreal top = s.selected ? 1.5 : 3.5;
  const QRectF body(s.left + 0.5, top, s.right - s.left, kTabHeight + 4 - top);
  const QPainterPath path = top_rounded(body, 4, s.roundLeft, s.roundRight);
  p.setPen(pen(kTabBorder, 1.0, Qt::FlatCap));
  if (s.selected)
    p.setBrush(pal.selected);
  else
    p.setBrush(vgrad(top, 21, pal.faceTop, pal.faceBottom));
  p.drawPath(path);
  p.setBrush(Qt::NoBrush);
  if (s.selected) {  // accent cap over the top border
    QPainterPath outer = top_rounded(body.adjusted(-0.5, -0.5, 0.5, 0), 4.5, s.roundLeft,
                                     s.roundRight);
    p.save();
    p.setClipPath(outer);
    p.fillRect(QRectF(body.left() - 1, top - 0.5, body.width() + 2, 2.5),
               vgrad(top, top + 2.5, kAccent, kAccentHi));
    p.restore();
  }
}

QImage tab_cell(const TabPalette& pal, const std::vector<TabSpan>& spans) {
  QImage img = blank(kTabCell, kTabHeight, pal.ground);
  {
    Painter p(img);
    for (const TabSpan& s : spans) paint_tab_span(p, pal, s);
    p.setPen(pen(kTabBorder, 1.0, Qt::FlatCap));
    p.drawLine(QPointF(0, 21.5), QPointF(kTabCell, 21.5));  // base line
  }
  // The selected tab's base row belongs to its face: crisp, between borders.
  for (const TabSpan& s : spans)
    if (s.selected)
      for (int x = std::max(0, int(s.left) + 1); x < std::min(kTabCell, int(s.right)); ++x)
        set_block(img, x, 21, pal.selected.rgb());
  return img;
}

QImage tab_scroll_arrows(const TabPalette& pal) {
  QImage img = blank(10, kTabHeight, pal.ground);
  Painter p(img);
  p.setPen(pen(kTabBorder, 1.0, Qt::FlatCap));
  p.drawLine(QPointF(0, 21.5), QPointF(10, 21.5));
  for (int i = 0; i < 2; ++i) {  // upper: forward (right), lower: back (left)
    const QRectF box(0.5, i == 0 ? 2.5 : 11.5, 8, 8);
    p.setPen(pen(kTabBorder, 1.0));
    p.setBrush(vgrad(box.top(), box.bottom(), QColor(255, 255, 255), QColor(226, 230, 236)));
    p.drawRoundedRect(box, 2, 2);
    QPolygonF tri;
    const qreal cy = box.center().y();
    if (i == 0)
      tri << QPointF(3.2, cy - 2.4) << QPointF(6.2, cy) << QPointF(3.2, cy + 2.4);
    else
      tri << QPointF(5.8, cy - 2.4) << QPointF(2.8, cy) << QPointF(5.8, cy + 2.4);
    p.setPen(pen(kInk, 0.6));
    p.setBrush(kInk);
    p.drawPolygon(tri);
  }
  return img;
}

QImage tab_strip(const TabPalette& pal) {
  constexpr qreal far = 40;  // a side beyond the cell: the tab continues
  const std::vector<std::vector<TabSpan>> cells = {
      {{1, far, false, true, false}},                                 // 0 first, unselected
      {{-far, far, false, false, false}},                             // 1 fill, unselected
      {{-far, 16, false, false, true}},                               // 2 end after unselected
      {{-far, 7, false, false, true}, {10, far, false, true, false}}, // 3 junction
      {{-far, 7, false, false, true}, {10, far, true, true, false}},  // 4 before selected
      {{1, far, true, true, false}},                                  // 5 first, selected
      {{-far, far, true, false, false}},                              // 6 fill, selected
      {{-far, 7, true, false, true}, {10, far, false, true, false}},  // 7 after selected
      {{-far, 16, true, false, true}},                                // 8 end after selected
      {},                                                             // 9 filler
  };
  QImage out = blank(200, kTabHeight, pal.ground);
  QPainter p(&out);
  for (std::size_t n = 0; n < cells.size(); ++n)
    p.drawImage(int(n) * (kTabCell + 1), 0, tab_cell(pal, cells[n]));
  p.drawImage(10 * (kTabCell + 1), 0, tab_scroll_arrows(pal));  // 190..199
  p.end();
  for (int n = 1; n <= 10; ++n)
    for (int y = 0; y < kTabHeight; ++y) set_block(out, n * (kTabCell + 1) - 1, y, kGuideGreen.rgb());
  return out;
}

// ---- frame strips ------------------------------------------------------------------------
// Twelve 20 x 20 pieces cut from two painted 60 x 60 boxes (with and without
// header band), so corners, edges and centre join seamlessly when the frame
// stretches them.

static constexpr int kFrameCell = 20;

struct FramePalette {
  QColor ground;  // around the frame's rounded corners
  QColor card;    // the frame's inside
};

// A 3 x 3-tile box with rounded corners; the captioned one carries a band
// over its top row, outlined in the band's own darker colour.
struct BoxLook {
  int cell;
  qreal radius;
  QColor ground, card, border;
  QColor bandTop, bandBottom, bandHighlight, bandUnderline, bandOutline;
};

QImage painted_box(const BoxLook& look, bool captioned) {
  const int n = 3 * look.cell;
  QImage img = blank(n, n, look.ground);
  Painter p(img);
  const QRectF r(0.5, 0.5, n - 1, n - 1);
  QPainterPath outline;
  outline.addRoundedRect(r, look.radius, look.radius);
  p.setPen(Qt::NoPen);
  p.setBrush(look.card);
  p.drawPath(outline);
  if (captioned) {
    p.save();
    p.setClipPath(outline);
    p.fillRect(QRectF(0, 0, n, look.cell), vgrad(0, look.cell, look.bandTop, look.bandBottom));
    p.fillRect(QRectF(0, 1, n, 1), look.bandHighlight);
    p.fillRect(QRectF(0, look.cell - 1, n, 1), look.bandUnderline);
    p.restore();
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(pen(look.border, 1.0));
  p.drawPath(outline);
  if (captioned) {
    p.setClipRect(QRectF(0, 0, n, look.cell - 1));
    p.setPen(pen(look.bandOutline, 1.0));
    p.drawPath(outline);
  }
  return img;
}

QImage frame_box(const FramePalette& pal, bool captioned) {
  return painted_box({kFrameCell, 5, pal.ground, pal.card, kBorder, QColor(84, 140, 212),
                      kAccentLo, with_alpha(kWhite, 60), kAccentLo, kAccentLo},
                     captioned);
}

QImage frame_strip(const FramePalette& pal) {
  return strip(box_tiles(frame_box(pal, true), frame_box(pal, false), kFrameCell));
}

// ---- grid parts ------------------------------------------------------------------------
// Row 0: frame tiles (from two painted 60 x 60 boxes, like the frames), the
// interior and the selection bar. Row 1: expander frames. Right end: the
// built-in scroll arrow pairs as small round buttons.

static constexpr int kGridCell = 20;
inline static const QColor kGridBorder{158, 165, 176};

QImage grid_box(bool captioned) {
  return painted_box({kGridCell, 4, kPanel, kGridGround, kGridBorder, QColor(96, 112, 136),
                      QColor(70, 84, 106), QColor(255, 255, 255, 40), QColor(52, 63, 82),
                      QColor(58, 70, 90)},
                     captioned);
}

// The cursor's bar: rounded caps and a straight middle, inset one pixel at
// top and bottom so that neighbouring rows' bars stay apart.
QImage selection_bar() {
  QImage img = blank(3 * kGridCell, kGridCell, kGridGround);
  Painter p(img);
  const QRectF r(0.5, 1.5, 3 * kGridCell - 1, kGridCell - 3);
  p.setPen(pen(QColor(52, 106, 178), 1.0));
  p.setBrush(vgrad(r.top(), r.bottom(), QColor(98, 152, 220), QColor(74, 130, 204)));
  p.drawRoundedRect(r, 5, 5);
  p.setPen(pen(QColor(255, 255, 255, 70), 1.0));
  p.drawLine(QPointF(5, 2.5), QPointF(3 * kGridCell - 5, 2.5));
  return img;
}

// Expander icons sit at (tx, y + 1) of a 20-pixel row; their centre is put
// on the text's middle line.
inline static const QPointF kExpanderCentre{10, 8.5};

QImage expander(qreal degrees, bool hovered) {
  return arrow_button(degrees, hovered ? State::Hover : State::Normal, kGridGround, kGridCell,
                      kExpanderCentre, 4.8);
}

QImage scroll_button(qreal degrees) {
  QImage img = blank(16, 16, kGridGround);
  Painter p(img);
  const QPointF c(8, 8);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 26));
  p.drawEllipse(c + QPointF(0, 0.7), 7.3, 7.3);
  p.setPen(pen(kBorder, 1.0));
  p.setBrush(vgrad(1, 15, QColor(255, 255, 255), QColor(224, 228, 234)));
  p.drawEllipse(c, 6.9, 6.9);
  const QPointF shift = QPointF(std::cos(degrees * M_PI / 180), std::sin(degrees * M_PI / 180)) * 0.6;
  glyph_chevron(p, c + shift, 3.0, degrees, 1.7, kInk);
  return img;
}

QImage grid_parts() {
  const int s = kGridCell;
  QImage out = blank(350, 40, kGridGround);
  // 0-11 as a frame's tiles (11 the interior), 12-14 the selection bar.
  std::vector<QImage> tiles = box_tiles(grid_box(true), grid_box(false), s);
  const QImage bar = selection_bar();
  for (int n = 0; n < 3; ++n) tiles.push_back(tile(bar, n, 0, s));
  // Expander frames: 0/1 collapsed, 2/3 collapsed hovered, 4/5 expanded,
  // 6/7 expanded hovered, 8..14 turning from right to down.
  std::vector<QImage> expanders;
  for (int n = 0; n < 8; ++n) expanders.push_back(expander(n >= 4 ? 90 : 0, (n / 2) % 2 == 1));
  for (int n = 0; n <= 6; ++n) expanders.push_back(expander(n * 15.0, false));

  QPainter p(&out);
  p.drawImage(0, 0, strip(tiles));
  p.drawImage(0, s, strip(expanders));
  p.drawImage(300, 24, scroll_button(180));  // left
  p.drawImage(316, 24, scroll_button(0));    // right
  p.drawImage(334, 0, scroll_button(-90));   // up
  p.drawImage(334, 16, scroll_button(90));   // down
  return out;
}

// ---- sheet assembly ------------------------------------------------------------------------
void place(QPainter& p, const char* name, const QImage& art) {
  const SheetPiece& pc = piece(name);
  assert(art.width() == pc.w * zoom && art.height() == pc.h * zoom);
  p.drawImage(pc.x, pc.y, art);
}

template <class F>
QImage states(F frame) {
  std::vector<QImage> frames;
  for (State s : kStripOrder) frames.push_back(frame(s));
  return strip(frames);
}

// Guide lines run through the one-pixel gaps between pieces; pieces are
// painted over them afterwards, so they show only in the gaps.
void paint_guides(QPainter& p) {
  for (int y : {16, 20, 33, 42, 83, 110, 133, 156, 173, 177, 190, 198, 219, 240, 261, 302})
    p.fillRect(QRect(0, y, kSheetWidth, 1), kGuideGreen);
  for (int x : {200, 240, 265, 305, 362, 370, 401}) p.fillRect(QRect(x, 0, 1, 302), kGuideGreen);
}

QImage sheet() {
  QImage sheet = blank(kSheetWidth, kSheetHeight, kBackgroundGreen);
  QPainter p(&sheet);
  paint_guides(p);

  place(p, "RoundAdd", states([this](State s) { return round_button(RoundGlyph::Plus, s); }));
  place(p, "RoundClose", states([this](State s) { return round_button(RoundGlyph::Cross, s); }));
  place(p, "RoundCopy", states([this](State s) { return round_button(RoundGlyph::Copy, s); }));
  place(p, "ToggleShown", states([this](State s) { return toggle(true, s); }));
  place(p, "ToggleHidden", states([this](State s) { return toggle(false, s); }));
  place(p, "SearchField", search_field());
  place(p, "IconbarBack", iconbar());
  place(p, "SideAdd", toolbar_face(FaceGlyph::Plus, true, false));
  place(p, "SideCopy", toolbar_face(FaceGlyph::Copy, false, false));
  place(p, "SideSync", toolbar_face(FaceGlyph::Crossing, false, false));
  place(p, "SideBlank1", toolbar_face(FaceGlyph::None, false, false));
  place(p, "SideBlank2", toolbar_face(FaceGlyph::None, false, true));
  place(p, "MessageBack", message_bar());
  place(p, "ArrowDown", states([this](State s) { return small_arrow(90, s); }));
  place(p, "ArrowRight", states([this](State s) { return small_arrow(0, s); }));
  {
    std::vector<QImage> turn;
    for (int n = 0; n < 6; ++n) turn.push_back(small_arrow(n * 18.0, State::Normal));
    place(p, "ArrowTurn", strip(turn));
  }
  place(p, "TabsGrey",
        tab_strip({kSideGrey, QColor(212, 214, 218), QColor(192, 195, 200), kPanel}));
  place(p, "TabsCream",
        tab_strip({kCream, QColor(246, 244, 234), QColor(224, 220, 202), kPanel}));
  place(p, "TabsWhite",
        tab_strip({kPanel, QColor(240, 242, 245), QColor(226, 229, 234), kPanel}));
  place(p, "FrameData", frame_strip({kPanel, kPanel}));
  place(p, "FrameArea", frame_strip({kCream, kPanel}));
  place(p, "FrameSide", frame_strip({kSideGrey, kPanel}));
  place(p, "GridParts", grid_parts());
  return sheet;
}
};

}  // namespace

QImage paint_sheet(int zoom) { return Art{zoom}.sheet(); }

}  // namespace skingen
