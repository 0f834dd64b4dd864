// The demo at twice the display scale, as a person on a 200 % desktop sees
// it: everything ZUI draws is drawn at the screen's resolution, not drawn at
// 1x and enlarged, and lies where it lies at 1x. A window on a screen of
// another scale than the one it started on is drawn at that scale.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>

namespace {

// Runs the demo offscreen with a scale factor or a screen configuration of
// the offscreen platform, and returns its screenshot.
QImage demo_screenshot(const QString& name, const QTemporaryDir& dir, const QString& scale,
                       const QString& platform = "offscreen") {
  const QString path = dir.filePath("demo-" + name + ".png");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", platform);
  env.insert("QT_SCALE_FACTOR", scale);
  env.insert("ZUI_SCREENSHOT", path);
  QProcess demo;
  demo.setProcessEnvironment(env);
  demo.start("./zui-demo", {});
  if (!demo.waitForFinished(30000)) {
    demo.kill();
    demo.waitForFinished(5000);
    return QImage();
  }
  return QImage(path).convertToFormat(QImage::Format_RGB32);
}

// Two screens side by side: the primary one at 1x, and at 2x the one the
// demo's window opens on.
QString two_screens(const QTemporaryDir& dir) {
  const QString path = dir.filePath("screens.json");
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return QString();
  file.write(R"({"screens": [
      {"name": "one", "x": 0, "y": 0, "width": 200, "height": 900, "dpr": 1.0},
      {"name": "two", "x": 200, "y": 0, "width": 2000, "height": 2000, "dpr": 2.0}]})");
  return "offscreen:configfile=" + path;
}

int differing_pixels(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}

// Two measures of sharpness, taken along the lines (rows or columns) of a
// band across edges. An edge is a run of steps of one sign between
// neighbouring pixels that together change the brightness by 40 or more;
// the pixels inside the run, between its first and last step, are its ramp.
// An edge drawn at the picture's own resolution has a ramp of about one
// pixel at most (antialiasing); enlarging a 1x picture smoothly to 2x
// spreads every edge over two or three device pixels.
double ramp_pixels_per_edge(const QImage& img, const QRect& band, bool rows) {
  int ramps = 0, edges = 0;
  const int lines = rows ? band.height() : band.width();
  const int length = rows ? band.width() : band.height();
  for (int line = 0; line < lines; ++line) {
    const auto at = [&](int i) {
      return qGray(img.pixel(rows ? QPoint(band.left() + i, band.top() + line)
                                  : QPoint(band.left() + line, band.top() + i)));
    };
    for (int i = 1; i < length;) {
      const int sign = at(i) > at(i - 1) ? 1 : -1;
      int total = 0, steps = 0;
      for (; i < length && sign * (at(i) - at(i - 1)) >= 6; ++i, ++steps)
        total += sign * (at(i) - at(i - 1));
      if (steps == 0) ++i;
      if (total >= 40) ++edges, ramps += steps - 1;
    }
  }
  return edges == 0 ? 0.0 : double(ramps) / edges;
}
// Enlarging without smoothing keeps ramps short but copies every pixel into
// a 2 x 2 block, so the second measure is detail finer than a logical pixel:
// the share of horizontal device-pixel pairs of one logical pixel that differ
// by 30 % of the band's contrast or more. Glyphs drawn at 2x have such
// detail; no enlargement of a 1x picture has.
double finer_than_a_pixel(const QImage& img, const QRect& band) {
  int lo = 255, hi = 0, finer = 0, pairs = 0;
  for (int y = band.top(); y <= band.bottom(); ++y)
    for (int x = band.left(); x <= band.right(); ++x)
      lo = std::min(lo, qGray(img.pixel(x, y))), hi = std::max(hi, qGray(img.pixel(x, y)));
  for (int y = band.top(); y <= band.bottom(); ++y)
    for (int x = band.left() & ~1; x + 1 <= band.right(); x += 2, ++pairs)
      finer += std::abs(qGray(img.pixel(x, y)) - qGray(img.pixel(x + 1, y))) * 10 >= 3 * (hi - lo);
  return pairs == 0 ? 0.0 : double(finer) / pairs;
}

QRect doubled(const QRect& r) { return QRect(r.topLeft() * 2, r.size() * 2); }

// Places on the demo's opening screen, in window coordinates at 1x.
struct Band {
  const char* what;
  QRect area;
  bool rows;  // judged along its rows (vertical edges) or its columns
};
const Band kBands[] = {
    {"caption of the tab \"Case Data\"", QRect(292, 70, 60, 14), true},
    {"left border of the head frame", QRect(246, 120, 16, 80), true},
    {"top border of the head frame", QRect(620, 82, 300, 14), false},
};

TEST(DisplayScaleE2E, TheDemoAtTwiceTheScaleIsDrawnAtTheScreensResolution) {
  QTemporaryDir dir;
  const QImage one = demo_screenshot("1x", dir, "1");
  const QImage two = demo_screenshot("2x", dir, "2");
  ASSERT_FALSE(one.isNull());
  ASSERT_FALSE(two.isNull());
  // The same layout in logical pixels: the window is twice as large in
  // device pixels.
  ASSERT_EQ(two.size(), one.size() * 2);
  // What a 1x drawing shown at 2x looks like, smoothed and not.
  const QImage smoothed = one.scaled(two.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const QImage doubledPixels = one.scaled(two.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);

  for (const Band& b : kBands) {
    SCOPED_TRACE(b.what);
    const double atOne = ramp_pixels_per_edge(one, b.area, b.rows);
    const double atTwo = ramp_pixels_per_edge(two, doubled(b.area), b.rows);
    const double enlarged = ramp_pixels_per_edge(smoothed, doubled(b.area), b.rows);
    EXPECT_GE(enlarged, 0.9) << "the band holds no edge worth judging";
    // As sharp in logical pixels as the 1x drawing, and well below the ramps
    // of the enlarged one.
    EXPECT_LE(atTwo, 2 * atOne + 0.5);
    EXPECT_LT(atTwo, 0.7 * enlarged) << atTwo << " vs " << enlarged;
  }
  const QRect glyphs = doubled(kBands[0].area);
  EXPECT_EQ(finer_than_a_pixel(doubledPixels, glyphs), 0.0);
  EXPECT_EQ(finer_than_a_pixel(smoothed, glyphs), 0.0);
  EXPECT_GE(finer_than_a_pixel(two, glyphs), 0.05);

  // The frame's one-pixel left border lies at the same logical place: the
  // darkest column of a row across it at 1x, two device columns at 2x.
  const int y = 160;
  int darkest = 246;
  for (int x = 246; x < 262; ++x)
    if (qGray(one.pixel(x, y)) < qGray(one.pixel(darkest, y))) darkest = x;
  EXPECT_EQ(two.pixel(2 * darkest, 2 * y), two.pixel(2 * darkest + 1, 2 * y + 1));
  EXPECT_LT(qGray(two.pixel(2 * darkest, 2 * y)), qGray(two.pixel(2 * darkest - 1, 2 * y)) - 40);
  EXPECT_LT(qGray(two.pixel(2 * darkest + 1, 2 * y)), qGray(two.pixel(2 * darkest + 2, 2 * y)) - 40);
}

// The demo starts on a 1x screen and its window opens on a 2x one: it is
// drawn at 2x as if it had started there (a little slack for Qt's own
// gadgets, which keep what they cached at the first scale).
TEST(DisplayScaleE2E, AWindowOnAScreenOfAnotherScaleIsDrawnAtThatScale) {
  QTemporaryDir dir;
  const QImage moved = demo_screenshot("moved", dir, "1", two_screens(dir));
  const QImage two = demo_screenshot("2x", dir, "2");
  ASSERT_EQ(moved.size(), QSize(2048, 1420));
  ASSERT_EQ(two.size(), moved.size());
  EXPECT_LT(differing_pixels(moved, two), moved.width() * moved.height() / 1000);
}

}  // namespace
