// Image decoding from arbitrary bytes: tk_decode_image either refuses (0) or
// yields a usable image that frees cleanly.
#include <cstddef>
#include <cstdint>

#include "fuzz_input.h"
#include "toolkit/tk.h"

using namespace zui;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start_toolkit();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const int32_t image = tk_decode_image(-1, data, size);
  if (image == 0) return 0;
  const int32_t w = tk_image_width(image);
  const int32_t h = tk_image_height(image);
  FUZZ_CHECK(w > 0 && h > 0);
  // Every corner is a real pixel.
  FUZZ_CHECK(tk_image_pixel(image, 0, 0) >= 0);
  FUZZ_CHECK(tk_image_pixel(image, w - 1, h - 1) >= 0);
  FUZZ_CHECK(tk_image_pixel(image, w, h - 1) == -1);
  FUZZ_CHECK(tk_free_image(image) == 1);
  FUZZ_CHECK(tk_image_exists(image) == 0);
  return 0;
}
