// Decoding from memory: PNG through libpng (any bit depth and colour type,
// expanded to 8-bit RGB, alpha dropped) and uncompressed "BM" bitmaps.
// Every length is checked against the buffer: bad bytes give a null image.
#include <png.h>

#include <QImage>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <vector>

#include "toolkit/tk.h"
#include "toolkit/tk_internal.h"

namespace tk {

namespace {

struct Source {
  const unsigned char* data;
  std::size_t size;
  std::size_t pos;
};

void read_from_memory(png_structp png, png_bytep out, png_size_t length) {
  auto* src = static_cast<Source*>(png_get_io_ptr(png));
  if (length > src->size - src->pos) png_error(png, "truncated");
  std::memcpy(out, src->data + src->pos, length);
  src->pos += length;
}

// Problems are answered with a null image, never printed.
void on_png_error(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void on_png_warning(png_structp, png_const_charp) {}

uint32_t read_u32(const unsigned char* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t read_u16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t read_u32_big(const unsigned char* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

}  // namespace

QImage decode_png(const unsigned char* data, std::size_t size) {
  if (size < 8 || png_sig_cmp(data, 0, 8) != 0) return {};
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, on_png_error, on_png_warning);
  if (!png) return {};
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return {};
  }
  Source src{data, size, 0};
  // Everything the jump may cross lives outside this frame's locals that
  // change after setjmp, so it stays valid after a longjmp.
  QImage* result = new QImage();
  std::vector<png_bytep>* rows = new std::vector<png_bytep>();
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    delete rows;
    delete result;
    return {};
  }
  png_set_read_fn(png, &src, read_from_memory);
  png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
  png_read_info(png, info);

  png_uint_32 width = png_get_image_width(png, info);
  png_uint_32 height = png_get_image_height(png, info);
  if (int64_t(width) * height > kMaxImagePixels) png_error(png, "too large");
  int colourType = png_get_color_type(png, info);
  if (png_get_bit_depth(png, info) == 16) png_set_strip_16(png);
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_expand_gray_1_2_4_to_8(png);
    png_set_gray_to_rgb(png);
  }
  png_set_strip_alpha(png);  // also drops a tRNS chunk: images are opaque
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != png_size_t(width) * 3) png_error(png, "layout");

  *result = QImage(int(width), int(height), QImage::Format_RGB888);
  if (result->isNull()) png_error(png, "out of memory");
  rows->resize(height);
  for (png_uint_32 y = 0; y < height; ++y) (*rows)[y] = result->scanLine(int(y));
  png_read_image(png, rows->data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);

  QImage out = result->convertToFormat(QImage::Format_RGB32);
  delete rows;
  delete result;
  return out;
}

QImage decode_bmp(const unsigned char* data, std::size_t size) {
  // File header (14 bytes) and the information header's first 16 bytes.
  if (size < 14 + 16 || data[0] != 'B' || data[1] != 'M') return {};
  uint32_t offset = read_u32(data + 10);
  uint32_t infoSize = read_u32(data + 14);
  if (infoSize < 40 || size < 14 + std::size_t(infoSize)) return {};
  int32_t width = int32_t(read_u32(data + 18));
  int32_t height = int32_t(read_u32(data + 22));
  uint16_t bits = read_u16(data + 28);
  uint32_t compression = read_u32(data + 30);
  if (compression != 0 || (bits != 24 && bits != 32)) return {};
  bool topDown = height < 0;
  int64_t h = topDown ? -int64_t(height) : height;
  if (width <= 0 || h <= 0 || width > kMaxImageSide || h > kMaxImageSide ||
      int64_t(width) * h > kMaxImagePixels)
    return {};
  int64_t bytesPerPixel = bits / 8;
  int64_t stride = (width * bytesPerPixel + 3) & ~int64_t(3);
  if (offset > size || int64_t(size - offset) < stride * h) return {};

  QImage out(width, int(h), QImage::Format_RGB32);
  if (out.isNull()) return {};
  for (int64_t row = 0; row < h; ++row) {
    const unsigned char* in = data + offset + row * stride;
    int y = int(topDown ? row : h - 1 - row);
    QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int32_t x = 0; x < width; ++x, in += bytesPerPixel) line[x] = qRgb(in[2], in[1], in[0]);
  }
  return out;
}

bool peek_size(const unsigned char* data, std::size_t size, int64_t& width, int64_t& height) {
  // PNG: the signature, then IHDR first with its width and height.
  if (size >= 24 && png_sig_cmp(data, 0, 8) == 0 && std::memcmp(data + 12, "IHDR", 4) == 0) {
    width = read_u32_big(data + 16);
    height = read_u32_big(data + 20);
    return true;
  }
  if (size >= 26 && data[0] == 'B' && data[1] == 'M') {
    width = int32_t(read_u32(data + 18));
    height = int32_t(read_u32(data + 22));
    if (height < 0) height = -height;  // top-down rows
    return width >= 0;
  }
  return false;
}

}  // namespace tk

int32_t tk_peek_image_size(const void* data, std::size_t size, int32_t* width, int32_t* height) {
  int64_t w = 0, h = 0;
  const bool known = data && tk::peek_size(static_cast<const unsigned char*>(data), size, w, h);
  // Sizes past int32 are no picture anyone can have; they read as the largest.
  if (width) *width = known ? int32_t(std::min<int64_t>(w, INT32_MAX)) : 0;
  if (height) *height = known ? int32_t(std::min<int64_t>(h, INT32_MAX)) : 0;
  return known ? 1 : 0;
}
