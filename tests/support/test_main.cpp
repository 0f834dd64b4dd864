// Test entry point: brings the toolkit up once (headless under the offscreen
// platform) before any test runs, as the program's start-up does.
#include <gtest/gtest.h>

#include "app/app.h"

using namespace zui;

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  init_toolkit();
  return RUN_ALL_TESTS();
}
