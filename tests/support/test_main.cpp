// Test entry point: brings the toolkit up once (headless under the offscreen
// platform) before any test runs.
#include <gtest/gtest.h>

#include "toolkit/tk.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  tk_init_strings();
  tk_init_memory();
  tk_init_drawing();
  tk_init_fonts();
  tk_init_windows();
  tk_init_gadgets();
  tk_init_image_decoder();
  tk_init_images();
  tk_init_menus();
  tk_register_png_decoder();
  return RUN_ALL_TESTS();
}
