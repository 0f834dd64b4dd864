// Images at a display scale: logical coordinates at every call, device
// pixels underneath, skin pieces cut from the sheet that suits the scale and
// cut again when the scale changes.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include <cstdint>
#include <functional>
#include <string>

#include "support/toolkit_fixtures.h"
#include "toolkit/skin_sheet.h"
#include "toolkit/tk.h"

namespace {

// The display scale of a test, set back to 1x afterwards.
class DisplayScale : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  void SetUp() override { tk_open_display(); }
  void TearDown() override {
    tk_set_display_scale(100);
    // The change's own event is no later test's.
    while (tk_wait_event(0) != 0) {
    }
  }

  // The device pixels of an image, as saved.
  QImage device_pixels(int32_t image) {
    const std::string path = dir.filePath("image.png").toStdString();
    if (tk_save_image(image, path) != 1) return QImage();
    return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
  }
  // A sheet decoded as a plain picture, at its own pixels.
  QImage decoded(const unsigned char* png, std::size_t size) {
    const int32_t image = tk_decode_image(-1, png, size);
    QImage pixels = device_pixels(image);
    tk_free_image(image);
    return pixels;
  }
  static int count(const QImage& img, QRgb colour) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) == colour;
    return n;
  }
};

const int32_t kRed = tk_pack_colour(255, 0, 0);
const int32_t kBlue = tk_pack_colour(0, 0, 255);

// A 9 x 5 image with the box (1, 1, 4, 2) and the straight line from (6, 0)
// to (6, 4), at each scale: the logical sizes stay, the device pixels cover
// each logical pixel with its rounded share, and reading by logical pixel
// finds the drawing.
TEST_F(DisplayScale, DrawingTakesLogicalPixelsAndSetsDevicePixels) {
  struct Row {
    int32_t percent;
    int deviceWidth, deviceHeight;  // of the 9 x 5 image
    int boxPixels, linePixels;      // device pixels each covers
  };
  const Row rows[] = {{100, 9, 5, 8, 5}, {150, 14, 8, 18, 16}, {200, 18, 10, 32, 20}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.percent);
    ASSERT_EQ(tk_set_display_scale(r.percent), 1);
    const int32_t img = tk_create_image(-1, 9, 5);
    tk_start_drawing(tk_image_output(img));
    tk_draw_box(1, 1, 4, 2, kRed);
    tk_draw_line(6, 0, 0, 4, kBlue);
    tk_stop_drawing();
    EXPECT_EQ(tk_image_width(img), 9);
    EXPECT_EQ(tk_image_height(img), 5);
    EXPECT_EQ(tk_image_scale(img), r.percent);
    EXPECT_EQ(tk_image_pixel(img, 1, 1), kRed);
    EXPECT_EQ(tk_image_pixel(img, 4, 2), kRed);
    EXPECT_EQ(tk_image_pixel(img, 5, 2), tk_pack_colour(0, 0, 0));
    const QImage device = device_pixels(img);
    EXPECT_EQ(device.width(), r.deviceWidth);
    EXPECT_EQ(device.height(), r.deviceHeight);
    EXPECT_EQ(count(device, qRgb(255, 0, 0)), r.boxPixels);
    EXPECT_EQ(count(device, qRgb(0, 0, 255)), r.linePixels);
    tk_free_image(img);
  }
  EXPECT_EQ(tk_set_display_scale(10), 0);
  EXPECT_EQ(tk_display_scale(), 200);
}

// Where the round "add" buttons lie on the 1x sheet.
constexpr int kPieceX = 241, kPieceY = 157, kPieceW = 64, kPieceH = 16;

// The piece as each scale and sheet pair must give it: the 2x sheet's own
// pixels at 2x, the 2x sheet smoothly reduced at 1.5x, the 1x sheet smoothly
// enlarged when there is no fitting 2x sheet, and the 1x pixels at 1x.
TEST_F(DisplayScale, SheetPiecesComeFromTheSheetThatSuitsTheScale) {
  const QImage normal = decoded(zui_skin_sheet_png, zui_skin_sheet_png_size);
  const QImage doubled = decoded(zui_skin_2x_sheet_png, zui_skin_2x_sheet_png_size);
  ASSERT_EQ(doubled.size(), normal.size() * 2);
  const QImage normalPiece = normal.copy(kPieceX, kPieceY, kPieceW, kPieceH);
  const QImage doubledPiece = doubled.copy(2 * kPieceX, 2 * kPieceY, 2 * kPieceW, 2 * kPieceH);
  const auto smooth = [](const QImage& from, int w, int h) {
    return from.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
  };
  enum class Pair { With2x, Without2x, WrongSize2x };
  struct Row {
    int32_t percent;
    Pair pair;
    QImage expected;
  };
  const Row rows[] = {
      {100, Pair::With2x, normalPiece},
      {200, Pair::With2x, doubledPiece},
      {150, Pair::With2x, smooth(doubledPiece, 96, 24)},
      {200, Pair::Without2x, smooth(normalPiece, 128, 32)},
      {200, Pair::WrongSize2x, smooth(normalPiece, 128, 32)},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.percent << " " << int(r.pair));
    ASSERT_EQ(tk_set_display_scale(r.percent), 1);
    const unsigned char* second = r.pair == Pair::With2x        ? zui_skin_2x_sheet_png
                                  : r.pair == Pair::WrongSize2x ? zui_skin_sheet_png
                                                                : nullptr;
    const std::size_t secondSize = r.pair == Pair::With2x        ? zui_skin_2x_sheet_png_size
                                   : r.pair == Pair::WrongSize2x ? zui_skin_sheet_png_size
                                                                 : 0;
    const int32_t sheet =
        tk_decode_sheet(-1, zui_skin_sheet_png, zui_skin_sheet_png_size, second, secondSize);
    ASSERT_NE(sheet, 0);
    EXPECT_EQ(tk_image_width(sheet), 410);
    const int32_t piece = tk_grab_image_region(sheet, -1, kPieceX, kPieceY, kPieceW, kPieceH);
    tk_free_image(sheet);
    EXPECT_EQ(tk_image_width(piece), kPieceW);
    EXPECT_EQ(tk_image_scale(piece), r.percent);
    EXPECT_TRUE(device_pixels(piece) == r.expected);
    tk_free_image(piece);
  }
  // The 1x sheet is required.
  EXPECT_EQ(tk_decode_sheet(-1, zui_skin_2x_sheet_png, 7, zui_skin_2x_sheet_png,
                            zui_skin_2x_sheet_png_size),
            0);
}

// A window moved to a screen of another scale: pieces keep their numbers and
// logical sizes and show the new scale's pixels; composed pictures follow
// when they are composed again; the program hears of it once.
TEST_F(DisplayScale, AScaleChangeCutsPiecesAgainAndAsksForNewPictures) {
  const QImage doubled = decoded(zui_skin_2x_sheet_png, zui_skin_2x_sheet_png_size);
  ASSERT_EQ(tk_set_display_scale(100), 1);
  const int32_t sheet = tk_decode_sheet(-1, zui_skin_sheet_png, zui_skin_sheet_png_size,
                                        zui_skin_2x_sheet_png, zui_skin_2x_sheet_png_size);
  const int32_t piece = tk_grab_image_region(sheet, -1, kPieceX, kPieceY, kPieceW, kPieceH);
  const int32_t half = tk_grab_image_region(piece, -1, 16, 0, 16, 16);  // a piece of a piece
  const int32_t beyond = tk_grab_image_region(piece, -1, 48, 0, 32, 16);  // half past its end
  tk_free_image(sheet);
  const int32_t canvas = tk_create_image(-1, 20, 10);
  while (tk_wait_event(0) != 0) {
  }

  ASSERT_EQ(tk_set_display_scale(200), 1);
  EXPECT_EQ(tk_image_width(piece), kPieceW);
  EXPECT_EQ(tk_image_scale(piece), 200);
  EXPECT_TRUE(device_pixels(piece) ==
              doubled.copy(2 * kPieceX, 2 * kPieceY, 2 * kPieceW, 2 * kPieceH));
  EXPECT_TRUE(device_pixels(half) == doubled.copy(2 * (kPieceX + 16), 2 * kPieceY, 32, 32));
  // Past the piece's end stays black, not the sheet beside it.
  const QImage past = device_pixels(beyond);
  EXPECT_EQ(tk_image_scale(beyond), 200);
  EXPECT_TRUE(past.copy(0, 0, 32, 32) == doubled.copy(2 * (kPieceX + 48), 2 * kPieceY, 32, 32));
  EXPECT_EQ(count(past.copy(32, 0, 32, 32), qRgb(0, 0, 0)), 32 * 32);
  EXPECT_EQ(tk_image_scale(canvas), 100);
  EXPECT_EQ(tk_resize_image(canvas, 20, 10), 1);
  EXPECT_EQ(tk_image_scale(canvas), 200);
  EXPECT_EQ(tk_wait_event(0), TK_EVENT_SCALE);
  // The same scale again changes nothing.
  EXPECT_EQ(tk_set_display_scale(200), 1);
  EXPECT_EQ(tk_wait_event(0), TK_EVENT_NONE);
  for (int32_t image : {piece, half, beyond, canvas}) tk_free_image(image);
}

// Laid-out texts are kept by text, font and scale, never beyond the bound
// (a full cache starts over), and forgotten when the scale changes; a text
// drawn from the cache looks as it did when it was laid out.
TEST_F(DisplayScale, LaidOutTextsAreBoundedAndForgottenOnAScaleChange) {
  ASSERT_EQ(tk_set_display_scale(100), 1);
  const int32_t previous = tk_text_cache_limit(3);
  const int32_t bold = tk_load_font(-1, "Arial", 12, TK_FONT_BOLD);
  const int32_t canvas = tk_create_image(-1, 60, 20);
  ASSERT_EQ(tk_start_drawing(tk_image_output(canvas)), 1);
  tk_drawing_mode(TK_DRAW_TRANSPARENT);
  tk_text_width("zz");
  tk_text_width("y");
  const int32_t firstWidth = tk_text_width("zz");
  struct Step {
    const char* what;
    std::function<void()> act;
    int32_t count;
  };
  const Step steps[] = {
      {"the same text again is found", [] { tk_text_width("zz"); }, 2},
      {"a third text fills the cache", [] { tk_text_width("x"); }, 3},
      {"a fourth starts it over", [] { tk_text_width("w"); }, 1},
      {"another font keeps its own", [&] {
         tk_drawing_font(tk_font_handle(bold));
         tk_text_width("w");
       }, 2},
      {"a scale change forgets them", [] { tk_set_display_scale(200); }, 0},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(tk_text_cache_count(), step.count) << step.what;
  }
  tk_stop_drawing();
  tk_text_cache_limit(previous);

  // Widths stay logical at the new scale; a cached drawing equals the first.
  EXPECT_EQ(tk_resize_image(canvas, 60, 20), 1);
  const int32_t other = tk_create_image(-1, 60, 20);
  QImage drawn[2];
  for (int i = 0; i < 2; ++i) {
    const int32_t image = i == 0 ? canvas : other;
    ASSERT_EQ(tk_start_drawing(tk_image_output(image)), 1);
    tk_draw_box(0, 0, 60, 20, kBlue);
    if (i == 0) EXPECT_EQ(tk_text_width("zz"), firstWidth);
    tk_draw_text(2, 2, "zz", kRed);
    tk_stop_drawing();
    drawn[i] = device_pixels(image);
  }
  EXPECT_TRUE(drawn[0] == drawn[1]);
  EXPECT_GT(count(drawn[0], QColor(0, 0, 255).rgb()), 0);
  EXPECT_LT(count(drawn[0], QColor(0, 0, 255).rgb()), 120 * 40);
  for (int32_t image : {canvas, other}) tk_free_image(image);
  while (tk_wait_event(0) != 0) {
  }
}

}  // namespace
