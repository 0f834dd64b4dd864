// The sheet's PNG encoding through libpng: 8-bit RGB, gAMA 1/2.2, a single
// IDAT chunk, IEND. The embedded decoder accepts exactly these features.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include "skin_gen.h"

namespace skingen {

namespace {

// Large enough that the whole compressed image fits one IDAT chunk: libpng
// emits a chunk each time this buffer fills.
constexpr std::size_t kIdatBuffer = 4 * 1024 * 1024;

struct File {
  std::FILE* f;
  ~File() {
    if (f) std::fclose(f);
  }
};

}  // namespace

bool write_sheet_png(const QImage& sheet, const char* path) {
  if (sheet.isNull()) return false;
  const QImage rgb = sheet.convertToFormat(QImage::Format_RGB888);
  const int w = rgb.width(), h = rgb.height();

  File file{std::fopen(path, "wb")};
  if (!file.f) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file.f);
  png_set_compression_level(png, 9);
  png_set_compression_buffer_size(png, kIdatBuffer);
  png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_gAMA_fixed(png, info, 45455);
  png_write_info(png, info);
  for (int y = 0; y < h; ++y) png_write_row(png, rgb.constScanLine(y));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fflush(file.f) == 0;
}

}  // namespace skingen
