// Drawing onto images and fonts.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <functional>
#include <iterator>

#include "support/toolkit_fixtures.h"
#include "toolkit/tk.h"

namespace {

const int32_t kWhite = 0xFFFFFF;

// Fresh white canvas with drawing started on it.
struct Canvas {
  int32_t image;
  Canvas(int w, int h) : image(tk_create_image(-1, w, h)) {
    tk_start_drawing(tk_image_output(image));
    tk_draw_box(0, 0, w, h, kWhite);
  }
  ~Canvas() {
    tk_stop_drawing();
    tk_free_image(image);
  }
  int count(int32_t colour) const {
    int n = 0;
    for (int y = 0; y < tk_image_height(image); ++y)
      for (int x = 0; x < tk_image_width(image); ++x) n += tk_image_pixel(image, x, y) == colour;
    return n;
  }
  int32_t at(int x, int y) const { return tk_image_pixel(image, x, y); }
};

}  // namespace

TEST(Drawing, BoxesAreExact) {
  Canvas c(20, 20);
  const int32_t red = tk_pack_colour(255, 0, 0);
  EXPECT_EQ(red, 0xFF);
  tk_draw_box(4, 5, 1, 1, red);
  EXPECT_EQ(c.count(red), 1);
  EXPECT_EQ(c.at(4, 5), red);

  tk_draw_box(0, 0, 20, 20, kWhite);
  tk_drawing_mode(TK_DRAW_OUTLINE);
  tk_draw_box(2, 2, 5, 4, red);
  EXPECT_EQ(c.count(red), 2 * 5 + 2 * 2);
  EXPECT_EQ(c.at(6, 5), red);
  EXPECT_EQ(c.at(3, 3), kWhite);

  // Inverting twice restores the picture; clipping keeps it inside.
  tk_drawing_mode(TK_DRAW_INVERT);
  tk_draw_box(-5, -5, 10, 10, red);
  EXPECT_EQ(c.at(0, 0), 0);
  EXPECT_EQ(c.at(2, 2), 0xFFFFFF ^ red);
  tk_draw_box(-5, -5, 10, 10, red);
  EXPECT_EQ(c.at(0, 0), kWhite);
  EXPECT_EQ(c.at(2, 2), red);
  tk_drawing_mode(0);
  EXPECT_EQ(tk_draw_box(3, 3, 0, 5, red), 0);
}

TEST(Drawing, LinesIncludeBothEnds) {
  Canvas c(30, 30);
  tk_draw_line(5, 1, 0, 19, 0);
  EXPECT_EQ(c.count(0), 20);
  EXPECT_EQ(c.at(5, 1), 0);
  EXPECT_EQ(c.at(5, 20), 0);
  tk_draw_line(0, 0, 0, 0, 0x00FF00);
  EXPECT_EQ(c.at(0, 0), 0x00FF00);
  tk_draw_line(29, 29, -9, -9, 0x123456);
  EXPECT_EQ(c.count(0x123456), 10);
  EXPECT_EQ(c.at(20, 20), 0x123456);
  EXPECT_EQ(tk_draw_line(-2000000000, 0, 2000000000, 2000000000, 0), 1) << "wild lines are clipped";
}

TEST(Drawing, NothingHappensOutsideStartAndStop) {
  int32_t img = tk_create_image(-1, 8, 8);
  EXPECT_EQ(tk_draw_box(0, 0, 8, 8, kWhite), 0);
  EXPECT_EQ(tk_draw_line(0, 0, 7, 7, kWhite), 0);
  EXPECT_EQ(tk_draw_text(0, 0, "x"), 0);
  EXPECT_EQ(tk_text_width("abc"), 0);
  EXPECT_EQ(tk_text_height("abc"), 0);
  EXPECT_EQ(tk_image_pixel(img, 3, 3), 0);

  // Freeing the image being drawn on ends the drawing safely.
  int32_t other = tk_create_image(-1, 8, 8);
  EXPECT_EQ(tk_start_drawing(tk_image_output(img)), 1);
  EXPECT_EQ(tk_start_drawing(tk_image_output(other)), 1) << "a new start ends the previous";
  tk_free_image(other);
  EXPECT_EQ(tk_draw_box(0, 0, 8, 8, kWhite), 0);
  EXPECT_EQ(tk_start_drawing(12345), 0);
  tk_free_image(img);
}

TEST(Drawing, TextMeasuresAndBackground) {
  Canvas c(120, 30);
  EXPECT_EQ(tk_text_width(""), 0);
  EXPECT_EQ(tk_text_height(""), 0);
  int w = tk_text_width("Case data");
  EXPECT_GT(w, 20);
  EXPECT_LT(w, 120);
  EXPECT_GE(tk_text_height("Case data"), 11);
  EXPECT_GT(tk_text_width("Case dataCase data"), w);

  // Opaque mode fills the text box white; transparent mode leaves the
  // ground, so only the glyphs change pixels.
  tk_draw_box(0, 0, 120, 30, 0x00FF00);
  tk_draw_text(2, 2, "Mm", 0);
  EXPECT_EQ(c.at(2, 2), kWhite);
  tk_draw_box(0, 0, 120, 30, 0x00FF00);
  tk_drawing_mode(TK_DRAW_TRANSPARENT);
  tk_draw_text(2, 2, "Mm", 0);
  EXPECT_EQ(c.at(2, 2), 0x00FF00);
  EXPECT_GT(120 * 30 - c.count(0x00FF00), 10) << "glyphs were drawn";
}

// A clip keeps every kind of drawing inside its rectangle; a negative size
// lifts it, and a new start of drawing has none.
TEST(Drawing, ClipKeepsEveryDrawingInside) {
  const int32_t pattern = tktest::pattern_image(4, 4);
  const int32_t plain = tk_create_image(-1, 4, 4);  // one colour: filled, not smoothed
  const std::function<void()> painters[] = {
      [] { tk_draw_box(0, 0, 40, 40, 0xFF); },
      [] { tk_draw_line(0, 0, 39, 39, 0xFF); },
      [&] { tk_draw_image(tk_image_handle(pattern), 8, 8); },
      [&] { tk_draw_image(tk_image_handle(pattern), 0, 0, 40, 40); },
      [&] { tk_draw_image(tk_image_handle(plain), 0, 0, 40, 40); },
      [] { tk_draw_text(0, 10, "MMMMMMMMMM", 0xFF); },
  };
  Canvas c(40, 40);
  for (size_t i = 0; i < std::size(painters); ++i) {
    tk_start_drawing(tk_image_output(c.image));  // lifts the clip
    tk_draw_box(0, 0, 40, 40, kWhite);
    tk_drawing_clip(10, 10, 20, 20);
    painters[i]();
    int inside = 0, outside = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x)
        if (c.at(x, y) != kWhite) ++((x >= 10 && x < 30 && y >= 10 && y < 30) ? inside : outside);
    EXPECT_GT(inside, 0) << i;
    EXPECT_EQ(outside, 0) << i;
  }
  tk_drawing_clip(0, 0, -1, -1);
  tk_draw_box(0, 0, 40, 40, 0);
  EXPECT_EQ(c.count(0), 1600);
  tk_free_image(pattern);
  tk_free_image(plain);
}

TEST(Drawing, PicturesAtOwnSizeAndStretched) {
  int32_t src = tktest::pattern_image(4, 4);
  Canvas c(20, 20);
  tk_draw_image(tk_image_handle(src), 3, 3);
  EXPECT_EQ(c.at(3, 3), tktest::pattern_colour(0, 0));
  EXPECT_EQ(c.at(6, 6), tktest::pattern_colour(3, 3));
  EXPECT_EQ(c.at(7, 7), kWhite);
  tk_draw_image(tk_image_handle(src), 10, 10, 8, 8);
  EXPECT_NE(c.at(17, 17), kWhite);
  EXPECT_EQ(c.at(18, 18), kWhite);
  EXPECT_EQ(tk_draw_image(0, 0, 0), 0);
  tk_free_image(src);
}

// A one-colour ground tile stretched over an area (frames and grids do it on
// every drawing) covers exactly that area, clipped to the canvas, in its
// own colour.
TEST(Drawing, StretchedOneColourPictureFillsItsRectangle) {
  const int32_t tile = tk_create_image(-1, 20, 20);
  tk_start_drawing(tk_image_output(tile));
  tk_draw_box(0, 0, 20, 20, 0xD8E9EC);
  tk_stop_drawing();
  Canvas c(40, 30);
  tk_draw_image(tk_image_handle(tile), 5, 4, 27, 9);
  EXPECT_EQ(c.count(0xD8E9EC), 27 * 9);
  EXPECT_EQ(c.at(5, 4), 0xD8E9EC);
  EXPECT_EQ(c.at(31, 12), 0xD8E9EC);
  EXPECT_EQ(c.at(32, 12), kWhite);
  EXPECT_EQ(c.at(31, 13), kWhite);
  tk_draw_image(tk_image_handle(tile), -10, 20, 100, 100);
  EXPECT_EQ(c.count(0xD8E9EC), 27 * 9 + 40 * 10);
  tk_free_image(tile);
}

// Edge tiles, one colour per row (or per column), are stretched along that
// row (column) line by line: every pixel is still the one smoothing the
// whole rectangle gives, here taken from Qt's own smoothing.
TEST(Drawing, StretchedEdgeTilesMatchSmoothing) {
  for (const bool rowsFlat : {true, false}) {
    QImage tile(7, 9, QImage::Format_RGB32);
    for (int y = 0; y < tile.height(); ++y)
      for (int x = 0; x < tile.width(); ++x)
        tile.setPixel(x, y, qRgb(40 * (rowsFlat ? y : x) % 256, 200 - 9 * y - 7 * x, 90));
    const int32_t image = tk_create_image(-1, tile.width(), tile.height());
    tk_start_drawing(tk_image_output(image));
    for (int y = 0; y < tile.height(); ++y)
      for (int x = 0; x < tile.width(); ++x) {
        const QRgb p = rowsFlat ? tile.pixel(0, y) : tile.pixel(x, 0);
        tile.setPixel(x, y, p);
        tk_draw_box(x, y, 1, 1, qRed(p) | qGreen(p) << 8 | qBlue(p) << 16);
      }
    tk_stop_drawing();
    for (const QRect r : {QRect(3, 4, 50, 9), QRect(-5, 2, 31, 40), QRect(2, -6, 7, 60)}) {
      Canvas c(40, 30);
      tk_draw_image(tk_image_handle(image), r.x(), r.y(), r.width(), r.height());
      QImage expected(40, 30, QImage::Format_RGB32);
      expected.fill(Qt::white);
      QPainter p(&expected);
      p.setCompositionMode(QPainter::CompositionMode_Source);
      p.setRenderHint(QPainter::SmoothPixmapTransform, true);
      p.drawImage(r, tile);
      p.end();
      int differing = 0;
      for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
          const QRgb e = expected.pixel(x, y);
          differing += c.at(x, y) != (qRed(e) | qGreen(e) << 8 | qBlue(e) << 16);
        }
      EXPECT_EQ(differing, 0) << (rowsFlat ? "rows" : "columns") << " flat, " << r.x() << ","
                              << r.y() << " " << r.width() << "x" << r.height();
    }
    tk_free_image(image);
  }
}

TEST(Fonts, PointSizesAndStyles) {
  int32_t regular = tk_load_font(-1, "MS Sans Serif", 8, 0);
  int32_t bold = tk_load_font(-1, "MS Sans Serif", 8, TK_FONT_BOLD);
  int32_t big = tk_load_font(-1, "No Such Face", 20, 0);
  ASSERT_NE(regular, 0);
  ASSERT_NE(bold, 0);
  ASSERT_NE(big, 0) << "an unknown face falls back to a sans";
  EXPECT_EQ(tk_load_font(-1, "Arial", 0, 0), 0);
  EXPECT_NE(tk_font_handle(regular), tk_font_handle(bold));
  EXPECT_EQ(tk_font_handle(999), 0);

  Canvas c(10, 10);
  const std::string text = "Version data";
  int defaultWidth = tk_text_width(text);
  tk_drawing_font(tk_font_handle(regular));
  EXPECT_EQ(tk_text_width(text), defaultWidth) << "8 points is the default gadget font";
  tk_drawing_font(tk_font_handle(bold));
  EXPECT_GT(tk_text_width(text), defaultWidth);
  tk_drawing_font(tk_font_handle(big));
  EXPECT_GT(tk_text_height(text), 2 * 11);
  EXPECT_EQ(tk_drawing_font(12345), 0);
  tk_drawing_font(-1);
  EXPECT_EQ(tk_text_width(text), defaultWidth);
}

TEST(Clock, CountsMilliseconds) {
  int32_t a = tk_elapsed_ms();
  tk_wait_event(30);
  int32_t b = tk_elapsed_ms();
  EXPECT_GE(b - a, 25);
  EXPECT_LT(b - a, 1000);
}
