// The look-at preview: the sheet zoomed 3x, and under it a small mock-up of
// the demo screen assembled from the sheet's own pieces the way the controls
// cut, stretch and combine them (tab bars cell by cell, frames and grids
// from their tiles), zoomed 2x.
//
// Sections: cutting and text · tab bar · frame · grid · mock-up · page.
#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <string>
#include <vector>

#include "skin_gen.h"

namespace skingen {

namespace {

// ---- cutting and text ----------------------------------------------------------
QImage cut(const QImage& sheet, const char* name) {
  const SheetPiece& p = piece(name);
  return sheet.copy(p.x, p.y, p.w, p.h);
}

QImage frame_of(const QImage& strip, int n, int w) { return strip.copy(n * w, 0, w, strip.height()); }

// Stretched drawing, smoothed like the toolkit's resize.
void stretch(QPainter& p, const QImage& img, int x, int y, int w, int h) {
  if (w <= 0 || h <= 0) return;
  p.drawImage(x, y, img.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

QFont ui_font(bool bold = false) {
  QFont f("Liberation Sans");
  f.setPixelSize(11);
  f.setBold(bold);
  return f;
}

// Text with its box's top-left corner at (x, y), as the toolkit places it.
void text(QPainter& p, int x, int y, const QString& s, const QColor& c) {
  p.setPen(c);
  p.drawText(x, y + QFontMetrics(p.font()).ascent(), s);
}
int text_width(QPainter& p, const QString& s) { return QFontMetrics(p.font()).horizontalAdvance(s); }
int text_height(QPainter& p) { return QFontMetrics(p.font()).height(); }

// ---- tab bar (cells of 18 with one-pixel gaps, as the tab bar cuts them) ------
struct Tab {
  QString caption;
  int width;
};

void tab_bar(QPainter& p, const QImage& strip, int bx, int by, int W, const std::vector<Tab>& tabs,
             int selected) {
  constexpr int pw = 18;
  auto cell = [&](int n) { return strip.copy(n * (pw + 1), 0, n == 10 ? 9 : pw, 22); };
  int x = 0;
  bool overflow = false;
  for (int i = 0; i < int(tabs.size()); ++i) {
    const bool sel = i == selected;
    if (x + tabs[i].width > W) {
      p.drawImage(bx + x, by, cell(i - 1 == selected ? 8 : 2));
      x += pw;
      overflow = true;
      break;
    }
    int origin = x;
    if (i == 0) {
      p.drawImage(bx + x, by, cell(sel ? 5 : 0));
    } else {
      p.drawImage(bx + x, by, cell(sel ? 4 : i - 1 == selected ? 7 : 3));
      origin = x - pw / 2;
    }
    x += pw;
    for (int k = 0; k < tabs[i].width / pw - 1; ++k, x += pw) p.drawImage(bx + x, by, cell(sel ? 6 : 1));
    if (i == int(tabs.size()) - 1) {
      p.drawImage(bx + x, by, cell(sel ? 8 : 2));
      x += pw;
    }
    const int tw = text_width(p, tabs[i].caption);
    const int tx = origin + (i > 0 ? (tabs[i].width + pw - tw) / 2 : (tabs[i].width + pw / 2 - tw) / 2);
    text(p, bx + tx, by + (21 - text_height(p)) / 2, tabs[i].caption, Qt::black);
  }
  for (; x < W; x += pw) p.drawImage(bx + x, by, cell(9), 0, 0, std::min(pw, W - x), 22);
  if (overflow) p.drawImage(bx + W - 10, by, cell(10));
}

// ---- frame (twelve square pieces) ----------------------------------------------
// The box of a frame or a grid from the twelve tiles at the start of the
// strip (side s): centre and edges stretched, corners as they are, the top
// row with or without the caption band.
void tiled_box(QPainter& p, const QImage& strip, int s, int x, int y, int W, int H, bool cap) {
  auto pc = [&](int n) { return strip.copy(n * s, 0, s, s); };
  stretch(p, pc(11), x + s, y + s, W - 2 * s, H - 2 * s);
  stretch(p, pc(cap ? 1 : 9), x + s, y, W - 2 * s, s);
  stretch(p, pc(6), x + s, y + H - s, W - 2 * s, s);
  stretch(p, pc(3), x, y + s, s, H - 2 * s);
  stretch(p, pc(4), x + W - s, y + s, s, H - 2 * s);
  p.drawImage(x, y, pc(cap ? 0 : 8));
  p.drawImage(x + W - s, y, pc(cap ? 2 : 10));
  p.drawImage(x, y + H - s, pc(5));
  p.drawImage(x + W - s, y + H - s, pc(7));
}

void frame(QPainter& p, const QImage& strip, int x, int y, int W, int H, const QString& caption) {
  const int s = strip.height();
  const bool cap = !caption.isEmpty();
  tiled_box(p, strip, s, x, y, W, H, cap);
  if (cap) text(p, x + (W - text_width(p, caption)) / 2, y + (s - text_height(p)) / 2, caption, Qt::white);
}

// ---- grid (tiles, caption row and column, tree rows, cursor, arrows) ----------
struct Column {
  QString caption;
  int width;
  int orientation;  // 0 left, 1 right
};
struct Row {
  QString caption;
  int level;
  int isParent;  // 0 none, 1 collapsed, 16 expanded, 64 always open
  std::vector<QString> cells;
  int height = 20;
  bool expanderHovered = false;
  int turningFrame = -1;  // an expander animation frame 8..14
};
struct GridLook {
  bool borderless = false;
  bool gridLines = true;
  int captRowWidth = 0;
  int cursorRow = 0, cursorCol = 0;
  QColor selFront = Qt::black;
  QColor gridColor{0x5E, 0x5E, 0x5E};
  bool arrows = false;
};

void grid(QPainter& p, const QImage& parts, int gx, int gy, int W, int H,
          const std::vector<Column>& cols, const std::vector<Row>& rows, const GridLook& look) {
  constexpr int s = 20;
  auto t = [&](int n) { return parts.copy(n * s, 0, s, s); };
  const bool captions = !look.borderless && !cols.empty() && !cols[0].caption.isEmpty();
  p.save();
  p.setClipRect(gx, gy, W, H);
  if (look.borderless) stretch(p, t(11), gx, gy, W, H);
  else tiled_box(p, parts, s, gx, gy, W, H, captions);
  int y = 4;
  if (captions) {
    int x = 4;
    if (look.captRowWidth > 5) {
      x = look.captRowWidth;
      p.setPen(Qt::white);
      p.drawLine(gx + x - 1, gy + 1, gx + x - 1, gy + 20);
    }
    for (std::size_t k = 0; k < cols.size(); ++k) {
      const int tw = text_width(p, cols[k].caption);
      const int tx = cols[k].orientation == 1 ? x + cols[k].width - tw - 7 : x + 7;
      text(p, gx + tx, gy + 2, cols[k].caption, Qt::white);
      x += cols[k].width;
      if (look.gridLines && k + 1 < cols.size()) {
        p.setPen(Qt::white);
        p.drawLine(gx + x - 1, gy + 1, gx + x - 1, gy + 20);
      }
    }
    y = 20;
  }
  int collapse = -1;
  for (std::size_t n = 0; n < rows.size() && y < H; ++n) {
    const Row& r = rows[n];
    if (collapse >= 0 && r.level > collapse) continue;
    int x = 4;
    if (look.captRowWidth > 0 && !look.borderless) {
      stretch(p, t(1), gx, gy + y, look.captRowWidth - 1, r.height);
      p.setPen(Qt::white);
      p.drawLine(gx, gy + y, gx + look.captRowWidth, gy + y);
      text(p, gx + 7, gy + y + 2, r.caption, Qt::white);
      x = look.captRowWidth;
    }
    for (std::size_t k = 0; k < cols.size() && x < W; ++k) {
      int tx = x;
      const int ty = y + 1;
      if (k == 0) {
        tx += s * r.level;
        if (r.isParent > 0) {
          collapse = r.isParent < 16 ? r.level : -1;
          if (r.isParent < 64) {
            int f = (r.isParent >= 16 ? 4 : 0) + (r.expanderHovered ? 2 : 0);
            if (r.turningFrame >= 0) f = r.turningFrame;
            p.drawImage(gx + tx, gy + ty, parts.copy(f * s, s, s, s));
            tx += s;
          }
        }
      }
      QColor ink = Qt::black;
      if (int(n) == look.cursorRow && int(k) == look.cursorCol) {
        const int top = n > 0 && look.gridLines ? y + 1 : y;
        stretch(p, t(13), gx + tx, gy + top, cols[k].width - (tx - x), r.height);
        p.drawImage(gx + tx, gy + top, t(12));
        p.drawImage(gx + x + cols[k].width - s, gy + top, t(14));
        ink = look.selFront;
      }
      const QString& c = r.cells[k];
      const int tw = text_width(p, c);
      text(p, gx + (cols[k].orientation == 1 ? tx + cols[k].width - tw - 7 : tx + 4), gy + ty + 2, c,
           ink);
      if (look.gridLines && n + 1 < rows.size()) {
        p.setPen(look.gridColor);
        p.drawLine(gx + x, gy + y + r.height, gx + x + cols[k].width, gy + y + r.height);
      }
      x += cols[k].width;
      if (look.gridLines && k + 1 < cols.size()) {
        p.setPen(look.gridColor);
        p.drawLine(gx + x - 1, gy + y, gx + x - 1, gy + y + r.height);
      }
    }
    y += r.height;
  }
  if (look.arrows) {
    const int SW = parts.width();
    p.drawImage(gx + W - 54, gy + H - 19, parts.copy(SW - 50, 24, 32, 16));
    p.drawImage(gx + W - 19, gy + H - 35, parts.copy(SW - 16, 0, 16, 32));
  }
  p.restore();
}

// ---- mock-up ------------------------------------------------------------------------
void input(QPainter& p, int x, int y, int w, const QString& label, const QString& value) {
  text(p, x - 112, y + 4, label, Qt::black);
  p.fillRect(x, y, w, 20, Qt::white);
  p.setPen(QColor(122, 138, 153));
  p.drawRect(x, y, w - 1, 19);
  text(p, x + 4, y + 4, value, Qt::black);
}

QImage mockup(const QImage& sheet) {
  const int W = 770, H = 420;
  QImage img(W, H, QImage::Format_RGB32);
  img.fill(QColor(236, 233, 216));
  QPainter p(&img);
  p.setFont(ui_font());

  // Icon bar with toggle, message and search field.
  stretch(p, cut(sheet, "IconbarBack"), 0, 0, 1600, 40);
  p.drawImage(5, 10, frame_of(cut(sheet, "ToggleShown"), 0, 90));
  p.drawImage(362 - 150, 7, cut(sheet, "MessageBack"));
  {
    p.setFont(ui_font(true));
    const QString msg = "VIEW: Issues";
    text(p, 212 + (300 - text_width(p, msg)) / 2, 7 + (26 - text_height(p)) / 2, msg, Qt::black);
    p.setFont(ui_font());
  }
  p.drawImage(W - 160, 9, cut(sheet, "SearchField"));
  text(p, W - 132, 12 + 2, "search", QColor(170, 170, 170));

  // Sidebar.
  p.fillRect(0, 40, 220, H - 40, QColor(169, 169, 169));
  frame(p, cut(sheet, "FrameSide"), 5, 70, 210, 300, "");
  p.fillRect(10, 75, 200, 290, QColor(250, 250, 250));
  tab_bar(p, cut(sheet, "TabsGrey"), 9, 49, 202, {{"Cases", 60}, {"Partners", 60}, {"Products", 60}}, 0);
  {
    std::vector<Row> rows = {
        {"", 0, 64, {"Case No. 4711"}},  {"", 1, 0, {"Issues"}},
        {"", 1, 0, {"Workflows"}},       {"", 1, 0, {"Documents"}},
        {"", 0, 0, {""}, 10},            {"", 0, 64, {"Case Database"}},
        {"", 1, 0, {"New Case"}},        {"", 1, 0, {"Find Case"}},
        {"", 0, 0, {""}, 10},            {"", 0, 64, {"My Queries"}},
        {"", 1, 0, {"My Open Tasks"}},   {"", 1, 16, {"My Open Cases"}},
        {"", 2, 0, {"Case No. 4712"}},   {"", 2, 1, {"Case No. 4713"}},
        {"", 3, 0, {"(hidden)"}},        {"", 1, 1, {"Archive"}},
    };
    rows[15].expanderHovered = true;
    GridLook look;
    look.borderless = true;
    look.gridLines = false;
    look.cursorRow = 1;
    look.selFront = Qt::white;
    grid(p, cut(sheet, "GridParts"), 20, 85, 180, 270, {{"", 172, 0}}, rows, look);
  }
  const char* faces[] = {"SideAdd", "SideCopy", "SideSync", "SideBlank1", "SideBlank2"};
  for (int i = 0; i < 5; ++i) p.drawImage(9 + 40 * i, 380, cut(sheet, faces[i]));

  // Centre: head arrow, tab bar, round buttons, framed panel.
  const int cx = 220;
  p.drawImage(cx + 9, 49, frame_of(cut(sheet, "ArrowDown"), 0, 16));
  p.drawImage(cx + 9, 69, frame_of(cut(sheet, "ArrowRight"), 2, 16));
  tab_bar(p, cut(sheet, "TabsCream"), cx + 33, 49, 420,
          {{"Case Data", 120}, {"Customer Data", 120}, {"Head Texts", 120}}, 1);
  const char* rounds[] = {"RoundAdd", "RoundCopy", "RoundClose"};
  for (int i = 0; i < 3; ++i) p.drawImage(cx + 470 + 20 * i, 52, frame_of(cut(sheet, rounds[i]), i, 16));
  frame(p, cut(sheet, "FrameArea"), cx + 29, 70, 510, 340, "");
  p.fillRect(cx + 34, 75, 500, 330, QColor(250, 250, 250));
  tab_bar(p, cut(sheet, "TabsWhite"), cx + 38, 79, 490,
          {{"General Version Data", 160}, {"grid matrix", 160}, {"more", 90}, {"hidden", 120}}, 0);
  frame(p, cut(sheet, "FrameData"), cx + 34, 100, 500, 305, "");
  frame(p, cut(sheet, "FrameData"), cx + 44, 110, 480, 72, "Version General");
  input(p, cx + 160, 134, 340, "Version Caption", "first draft");
  input(p, cx + 160, 158, 160, "Version Type", "Demo A");
  {
    std::vector<Row> rows = {
        {"row 1", 0, 16, {"test", "[parent]", "", ""}},
        {"row 2", 1, 16, {"test", "A", "[parent]", ""}},
        {"row 3", 2, 0, {"test", "A", "chair", "No comment"}},
        {"row 4", 2, 0, {"test", "A", "table", "No comment"}},
        {"row 5", 1, 1, {"test", "B", "[parent]", ""}},
        {"row 6", 2, 0, {"test", "B", "chair", "No comment"}},
        {"row 7", 0, 1, {"test2", "[parent]", "", ""}},
        {"row 8", 1, 0, {"test2", "A", "[parent]", ""}},
        {"row 9", 0, 1, {"test3", "", "", ""}},
    };
    rows[4].expanderHovered = true;
    rows[6].turningFrame = 11;
    GridLook look;
    look.captRowWidth = 50;
    look.cursorRow = 2;
    look.cursorCol = 2;
    look.arrows = true;
    grid(p, cut(sheet, "GridParts"), cx + 44, 192, 480, 204,
         {{"entity", 120, 0}, {"class", 110, 0}, {"property", 90, 1}, {"comment", 160, 0}}, rows, look);
  }
  return img;
}

// ---- page ----------------------------------------------------------------------------
QImage zoom(const QImage& img, int factor) {
  return img.scaled(img.width() * factor, img.height() * factor, Qt::IgnoreAspectRatio,
                    Qt::FastTransformation);
}

}  // namespace

QImage paint_preview(const QImage& sheet) {
  const QImage big = zoom(sheet.copy(0, 0, kSheetWidth, 303), 3);
  const QImage demo = zoom(mockup(sheet), 2);
  const int margin = 20;
  QImage page(std::max(big.width(), demo.width()) + 2 * margin,
              big.height() + demo.height() + 3 * margin, QImage::Format_RGB32);
  page.fill(QColor(60, 64, 72));
  QPainter p(&page);
  p.drawImage(margin, margin, big);
  p.drawImage(margin, big.height() + 2 * margin, demo);
  return page;
}

}  // namespace skingen
