#pragma once
// Helpers for toolkit tests: synthetic pictures and encoded image bytes.
#include <QBuffer>
#include <QImage>

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/tk.h"

namespace tktest {

// A colour that differs for every pixel of pictures up to 4096 wide.
inline int32_t pattern_colour(int x, int y) {
  return tk_pack_colour((x * 7 + y) & 0xFF, (x + y * 3) & 0xFF, ((x >> 4) ^ (y >> 2) ^ (x * y)) & 0xFF);
}

// Numbered image of the given size filled with pattern_colour, built through
// the toolkit's own drawing.
inline int32_t pattern_image(int w, int h) {
  int32_t img = tk_create_image(-1, w, h);
  tk_start_drawing(tk_image_output(img));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) tk_draw_box(x, y, 1, 1, pattern_colour(x, y));
  tk_stop_drawing();
  return img;
}

inline std::vector<unsigned char> encode(const QImage& image, const char* format = "PNG") {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return {bytes.begin(), bytes.end()};
}

}  // namespace tktest
