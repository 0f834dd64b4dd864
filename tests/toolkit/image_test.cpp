// Images: decoding from memory, grabbing, rescaling, copies and unknown
// numbers.
#include <gtest/gtest.h>
#include <zlib.h>

#include <QColor>
#include <QImage>

#include "support/toolkit_fixtures.h"
#include "toolkit/tk.h"
#include "toolkit/tk_image_owner.h"

using tktest::encode;
using tktest::pattern_colour;
using tktest::pattern_image;

namespace {

int32_t decode(const std::vector<unsigned char>& bytes) {
  return tk_decode_image(-1, bytes.data(), bytes.size());
}

// A valid PNG whose header claims the given size; the CRC is fixed up so
// only the size can make it fail.
std::vector<unsigned char> png_claiming(uint32_t w, uint32_t h) {
  QImage small(2, 2, QImage::Format_RGB32);
  small.fill(Qt::red);
  std::vector<unsigned char> bytes = encode(small);
  // Signature (8), IHDR length (4), "IHDR" (4), then width and height.
  for (int i = 0; i < 4; ++i) {
    bytes[16 + i] = (w >> (24 - 8 * i)) & 0xFF;
    bytes[20 + i] = (h >> (24 - 8 * i)) & 0xFF;
  }
  uLong crc = crc32(0, bytes.data() + 12, 17);
  for (int i = 0; i < 4; ++i) bytes[29 + i] = (crc >> (24 - 8 * i)) & 0xFF;
  return bytes;
}

}  // namespace

TEST(ImageDecode, PngOfEveryColourTypeBecomesOpaqueRgb) {
  QImage rgb(5, 3, QImage::Format_RGB32);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) rgb.setPixel(x, y, qRgb(x * 50, y * 80, 17));
  int32_t img = decode(encode(rgb));
  ASSERT_NE(img, 0);
  EXPECT_EQ(tk_image_width(img), 5);
  EXPECT_EQ(tk_image_height(img), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(tk_image_pixel(img, x, y), tk_pack_colour(x * 50, y * 80, 17));

  // Palette, grey, 16-bit and alpha variants all end up as 8-bit RGB.
  QImage grey(4, 1, QImage::Format_Grayscale8);
  for (int x = 0; x < 4; ++x) grey.setPixel(x, 0, qRgb(x * 60, x * 60, x * 60));
  int32_t g = decode(encode(grey));
  ASSERT_NE(g, 0);
  EXPECT_EQ(tk_image_pixel(g, 3, 0), tk_pack_colour(180, 180, 180));

  QImage indexed = rgb.convertToFormat(QImage::Format_Indexed8);
  int32_t p = decode(encode(indexed));
  ASSERT_NE(p, 0);
  EXPECT_EQ(tk_image_pixel(p, 4, 2), tk_pack_colour(200, 160, 17));

  QImage deep(2, 2, QImage::Format_RGBX64);
  deep.fill(QColor(10, 20, 30));
  int32_t d = decode(encode(deep));
  ASSERT_NE(d, 0);
  EXPECT_EQ(tk_image_pixel(d, 1, 1), tk_pack_colour(10, 20, 30));

  QImage alpha(2, 2, QImage::Format_ARGB32);
  alpha.fill(qRgba(40, 50, 60, 255));
  alpha.setPixel(0, 0, qRgba(40, 50, 60, 0));
  int32_t a = decode(encode(alpha));
  ASSERT_NE(a, 0);
  EXPECT_EQ(tk_image_pixel(a, 1, 0), tk_pack_colour(40, 50, 60));
  for (int32_t n : {img, g, p, d, a}) tk_free_image(n);
}

TEST(ImageDecode, UncompressedBitmapWithRowPadding) {
  // 3 pixels wide: 9 bytes of pixels padded to 12 per row, rows bottom-up.
  QImage src(3, 2, QImage::Format_RGB888);
  src.setPixel(0, 0, qRgb(255, 0, 0));
  src.setPixel(2, 0, qRgb(0, 0, 255));
  src.setPixel(1, 1, qRgb(1, 2, 3));
  std::vector<unsigned char> bmp = encode(src, "BMP");
  ASSERT_EQ(bmp[0], 'B');
  int32_t img = decode(bmp);
  ASSERT_NE(img, 0);
  EXPECT_EQ(tk_image_pixel(img, 0, 0), tk_pack_colour(255, 0, 0));
  EXPECT_EQ(tk_image_pixel(img, 2, 0), tk_pack_colour(0, 0, 255));
  EXPECT_EQ(tk_image_pixel(img, 1, 1), tk_pack_colour(1, 2, 3));
  tk_free_image(img);

  bmp.resize(bmp.size() - 5);
  EXPECT_EQ(decode(bmp), 0) << "truncated pixel data";
}

TEST(ImageDecode, BadBytesGiveZero) {
  EXPECT_EQ(tk_decode_image(-1, nullptr, 100), 0);
  unsigned char one = 0x89;
  EXPECT_EQ(tk_decode_image(-1, &one, 0), 0);
  std::vector<unsigned char> garbage(300);
  for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = (i * 131 + 7) & 0xFF;
  EXPECT_EQ(decode(garbage), 0);
  garbage[0] = 'B';
  garbage[1] = 'M';
  EXPECT_EQ(decode(garbage), 0);

  QImage pic(40, 30, QImage::Format_RGB32);
  pic.fill(Qt::blue);
  std::vector<unsigned char> png = encode(pic);
  for (std::size_t cut = 0; cut < png.size(); cut += 7) {
    std::vector<unsigned char> part(png.begin(), png.begin() + cut);
    EXPECT_EQ(tk_decode_image(-1, part.data(), part.size()), 0) << "cut at " << cut;
  }
  std::vector<unsigned char> corrupt = png;
  corrupt[corrupt.size() / 2] ^= 0x5A;
  EXPECT_EQ(decode(corrupt), 0);

  EXPECT_EQ(decode(png_claiming(100000, 4)), 0);
  EXPECT_EQ(decode(png_claiming(16384, 16384)), 0) << "too many pixels";
  EXPECT_EQ(decode(png_claiming(0, 4)), 0);
}

TEST(ImageRegion, GrabMatchesTheSourcePixelForPixel) {
  int32_t sheet = pattern_image(410, 400);
  int32_t piece = tk_grab_image_region(sheet, -1, 241, 157, 64, 16);
  ASSERT_NE(piece, 0);
  EXPECT_EQ(tk_image_width(piece), 64);
  EXPECT_EQ(tk_image_height(piece), 16);
  int mismatches = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 64; ++x)
      mismatches += tk_image_pixel(piece, x, y) != pattern_colour(241 + x, 157 + y);
  EXPECT_EQ(mismatches, 0);

  // A strip far wider than its source: the part outside stays black.
  int32_t strip = tk_grab_image_region(sheet, -1, 380, 390, 1000, 20);
  ASSERT_NE(strip, 0);
  EXPECT_EQ(tk_image_pixel(strip, 0, 0), pattern_colour(380, 390));
  EXPECT_EQ(tk_image_pixel(strip, 29, 9), pattern_colour(409, 399));
  EXPECT_EQ(tk_image_pixel(strip, 30, 0), 0);
  EXPECT_EQ(tk_image_pixel(strip, 0, 10), 0);
  EXPECT_EQ(tk_image_pixel(strip, 999, 19), 0);

  int32_t before = tk_grab_image_region(sheet, -1, -5, -5, 10, 10);
  EXPECT_EQ(tk_image_pixel(before, 4, 4), 0);
  EXPECT_EQ(tk_image_pixel(before, 5, 5), pattern_colour(0, 0));
  int32_t outside = tk_grab_image_region(sheet, -1, 5000, -9000, 8, 8);
  EXPECT_EQ(tk_image_pixel(outside, 7, 7), 0);

  EXPECT_EQ(tk_grab_image_region(sheet, -1, 0, 0, 0, 5), 0);
  EXPECT_EQ(tk_grab_image_region(12345, -1, 0, 0, 5, 5), 0);
  for (int32_t n : {sheet, piece, strip, before, outside}) tk_free_image(n);
}

TEST(ImageLifecycle, CreateCopyResizeFree) {
  int32_t black = tk_create_image(-1, 30, 20);
  ASSERT_GT(black, 0x1000) << "numbers never look like menu identifiers";
  EXPECT_EQ(tk_image_pixel(black, 29, 19), 0);
  EXPECT_EQ(tk_image_pixel(black, 30, 0), -1);
  EXPECT_EQ(tk_create_image(-1, 0, 10), 0);
  EXPECT_EQ(tk_create_image(-1, 100000, 10), 0);

  int32_t copy = tk_copy_image(black, -1);
  ASSERT_NE(copy, 0);
  tk_start_drawing(tk_image_output(copy));
  tk_draw_box(0, 0, 30, 20, tk_pack_colour(9, 9, 9));
  tk_stop_drawing();
  EXPECT_EQ(tk_image_pixel(black, 3, 3), 0) << "a copy shares no pixels";

  // Rescaling keeps number and handle and averages neighbours.
  int32_t handle = tk_image_handle(black);
  tk_start_drawing(tk_image_output(black));
  tk_draw_box(0, 0, 15, 20, tk_pack_colour(200, 200, 200));
  tk_stop_drawing();
  EXPECT_NE(tk_resize_image(black, 2, 1), 0);
  EXPECT_EQ(tk_image_width(black), 2);
  EXPECT_EQ(tk_image_handle(black), handle);
  EXPECT_GT(tk_image_pixel(black, 0, 0) & 0xFF, 150);
  EXPECT_LT(tk_image_pixel(black, 1, 0) & 0xFF, 50);
  EXPECT_EQ(tk_resize_image(black, 0, 5), 0);
  EXPECT_EQ(tk_image_width(black), 2);

  EXPECT_EQ(tk_free_image(black), 1);
  EXPECT_EQ(tk_image_exists(black), 0);
  EXPECT_EQ(tk_image_width(black), 0);
  EXPECT_EQ(tk_image_handle(black), 0);
  EXPECT_EQ(tk_free_image(black), 0);
  EXPECT_EQ(tk_image_pixel(black, 0, 0), -1);
  EXPECT_EQ(tk_copy_image(black, -1), 0);
  EXPECT_EQ(tk_image_exists(copy), 1);
  tk_free_image(copy);
}

// An owned image is freed exactly once, whichever way its owner goes.
TEST(ImageOwner, FreesOnceWhenResetMovedOrDestroyed) {
  const int32_t before = tk_live_image_count();
  {
    TkImage a(tk_create_image(-1, 4, 4));
    TkImage b(tk_create_image(-1, 4, 4));
    EXPECT_EQ(tk_live_image_count(), before + 2);
    a = std::move(b);  // a's first image goes, b's moves over
    EXPECT_EQ(tk_live_image_count(), before + 1);
    EXPECT_FALSE(b);
    a.reset(a.get());  // holding the same image again frees nothing
    EXPECT_TRUE(a);
    const int32_t kept = a.release();
    EXPECT_EQ(tk_live_image_count(), before + 1);
    tk_free_image(kept);
  }
  EXPECT_EQ(tk_live_image_count(), before);
}
