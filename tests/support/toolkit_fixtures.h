#pragma once
// Helpers for toolkit tests: synthetic pictures, encoded image bytes and a
// live window whose events the tests read back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QTest>

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/tk.h"
#include "toolkit/tk_native.h"

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

namespace tktest {

// ---- a live window --------------------------------------------------------

struct Event {
  int32_t kind, window, gadget, type;
};

// A shown window that is the parent for new gadgets; closed afterwards.
class WindowTest : public ::testing::Test {
 protected:
  int32_t window = 0;

  void SetUp() override {
    window = tk_open_window(-1, 40, 40, 400, 300, "Test", 0);
    ASSERT_NE(window, 0);
    ASSERT_NE(tk_use_window_as_parent(tk_window_handle(window)), 0);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(top()));
    drain();
  }
  void TearDown() override {
    tk_close_window(window);
    drain();
  }

  QWidget* top() { return tk_window_widget(window); }
  QWidget* client() { return tk_window_client(window); }

  // Drops whatever is queued now (moves, activations, resizes).
  void drain() {
    QApplication::processEvents();
    while (tk_wait_event(0) != 0) {
    }
  }
  // Every event that arrives within ms milliseconds, in order.
  std::vector<Event> events_for(int ms) {
    std::vector<Event> out;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
      const int32_t kind = tk_wait_event(5);
      if (kind != 0)
        out.push_back({kind, tk_last_event_window(), tk_last_event_gadget(), tk_last_event_type()});
    }
    return out;
  }
  // Types of the gadget events of one gadget within ms milliseconds.
  std::vector<int32_t> gadget_types(int32_t gadget, int ms = 60) {
    std::vector<int32_t> types;
    for (const Event& e : events_for(ms))
      if (e.kind == TK_EVENT_GADGET && e.gadget == gadget) types.push_back(e.type);
    return types;
  }
  // Identifiers of the menu events within ms milliseconds.
  std::vector<int32_t> menu_ids(int ms = 60) {
    std::vector<int32_t> ids;
    for (const Event& e : events_for(ms))
      if (e.kind == TK_EVENT_MENU) ids.push_back(e.gadget);
    return ids;
  }
  bool saw_kind(const std::vector<Event>& events, int32_t kind) {
    for (const Event& e : events)
      if (e.kind == kind) return true;
    return false;
  }
};

}  // namespace tktest
