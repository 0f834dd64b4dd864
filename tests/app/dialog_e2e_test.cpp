// The dialog example driven end to end through real Qt input: its buttons
// fire on release, Return in the name field greets, icon buttons explain
// themselves.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QLabel>
#include <QTest>
#include <functional>

// The example is built against the installed package; here it is compiled
// from its source folder.
#include "../../examples/dialog/dialog.h"
#include "toolkit/tk_native.h"

using namespace zui;

namespace {

class DialogScreen : public ::testing::Test {
 protected:
  Dialog d;
  bool clicked = false;  // the last turns reported a click on the clear face

  void SetUp() override {
    ASSERT_NE(init_toolkit(), 0);
    load_skin(d.skin);
    ASSERT_EQ(build_dialog(d), 1);
    park_mouse();
    run_for(100);
  }
  void TearDown() override {
    close_dialog(d);
    free_skin_pieces(d.skin);
  }

  QWidget* widget(const std::string& name) { return tk_gadget_widget(get_gadget(d.ui, name)); }
  NamedObject& object(const std::string& name) { return *lookup_object(d.ui, name); }
  std::string field() { return tk_get_gadget_text(get_gadget(d.ui, "InputName")); }
  // A point of the named object in its gadget's coordinates.
  QPoint at(const std::string& name, int dx, int dy) {
    const NamedObject& o = object(name);
    const QPoint global =
        tk_window_client(d.window)->mapToGlobal(QPoint(o.absX + dx, o.absY + dy));
    return widget(name)->mapFromGlobal(global);
  }
  // The cursor goes to `p` of the gadget that holds the mouse now.
  void move_to(QWidget* w, QPoint p) {
    QCursor::setPos(w->mapToGlobal(p));
    QTest::mouseMove(w, p);
  }
  void park_mouse() { QCursor::setPos(tk_window_widget(d.window)->mapToGlobal(QPoint(-200, -200))); }
  bool run_until(const std::function<bool()>& done, int timeoutMs = 2000) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
      dialog_turn(d, 20);
      if (event_code(d.ui) == Code::LeftClick && event_object_name(d.ui) == "ButtonClear")
        clicked = true;
      if (done()) return true;
    }
    return done();
  }
  void run_for(int ms) { run_until([] { return false; }, ms); }
  // The frame of the clear face's strip the gadget shows, -1 when none.
  int clear_frame() {
    const int32_t g = get_gadget(d.ui, "ButtonClear");
    for (int n = 0; n < 4; ++n) {
      bool same = true;
      for (int y = 0; y < 20 && same; ++y)
        for (int x = 0; x < 40 && same; ++x)
          same = tk_gadget_pixel(g, x, y) == tk_image_pixel(d.clearStrip, n * 40 + x, y);
      if (same) return n;
    }
    return -1;
  }
};

}  // namespace

TEST_F(DialogScreen, ButtonsFireOnReleaseAndAPressDraggedOffIsCancelled) {
  QWidget* clear = widget("ButtonClear");
  const QPoint on = at("ButtonClear", 20, 10);
  const QPoint off = at("ButtonClear", 20, -60);  // over the frame above
  auto look = [&] { return button_record(object("ButtonClear"))->look; };

  set_text(d.ui, "InputName", "Ada", 1);
  move_to(clear, on);
  ASSERT_TRUE(run_until([&] { return look() == Look::Hover; }));
  EXPECT_EQ(clear_frame(), 2);
  QTest::mousePress(clear, Qt::LeftButton, Qt::NoModifier, on);
  ASSERT_TRUE(run_until([&] { return look() == Look::Pressed; }));
  run_for(60);
  EXPECT_EQ(clear_frame(), 1);
  EXPECT_EQ(field(), "Ada");  // nothing yet
  EXPECT_FALSE(clicked);
  QTest::mouseRelease(clear, Qt::LeftButton, Qt::NoModifier, on);
  ASSERT_TRUE(run_until([&] { return field().empty(); }));
  EXPECT_TRUE(clicked);
  EXPECT_EQ(look(), Look::Hover);
  EXPECT_EQ(clear_frame(), 2);

  // Pressed, dragged off, let go: nothing happens and the face rests.
  clicked = false;
  set_text(d.ui, "InputName", "Ada", 1);
  QTest::mousePress(clear, Qt::LeftButton, Qt::NoModifier, on);
  ASSERT_TRUE(run_until([&] { return look() == Look::Pressed; }));
  move_to(clear, off);
  ASSERT_TRUE(run_until([&] { return look() == Look::Resting; }));
  QTest::mouseRelease(clear, Qt::LeftButton, Qt::NoModifier, off);
  run_for(150);
  EXPECT_FALSE(clicked);
  EXPECT_EQ(field(), "Ada");
  EXPECT_EQ(clear_frame(), 0);

  // Dragged off and back on before letting go: it clicks after all.
  move_to(clear, on);
  QTest::mousePress(clear, Qt::LeftButton, Qt::NoModifier, on);
  ASSERT_TRUE(run_until([&] { return look() == Look::Pressed; }));
  move_to(clear, off);
  ASSERT_TRUE(run_until([&] { return look() == Look::Resting; }));
  move_to(clear, on);
  ASSERT_TRUE(run_until([&] { return look() == Look::Pressed; }));
  QTest::mouseRelease(clear, Qt::LeftButton, Qt::NoModifier, on);
  ASSERT_TRUE(run_until([&] { return field().empty(); }));
  EXPECT_TRUE(clicked);
}

TEST_F(DialogScreen, ReturnInTheNameFieldGreets) {
  QWidget* input = widget("InputName");
  QTest::mouseClick(input, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
  run_for(60);
  QTest::keyClicks(QApplication::focusWidget(), "Ada");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_TRUE(run_until(
      [&] { return tk_get_gadget_text(get_gadget(d.ui, "TextGreeting")) == "Hello, Ada!"; }));
}

TEST_F(DialogScreen, IconButtonsExplainThemselves) {
  const std::pair<const char*, const char*> tips[] = {
      {"ButtonGreet", "say hello"}, {"ButtonClear", "clear the name"},
      {"ButtonClose", "close the dialog"}};
  for (const auto& [name, text] : tips) {
    QWidget* w = widget(name);
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), w->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(w, &help);
    QLabel* shown = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
      auto* label = qobject_cast<QLabel*>(top);
      if (label && label->isVisible() && label->parentWidget() == w) shown = label;
    }
    ASSERT_NE(shown, nullptr) << name;
    EXPECT_EQ(shown->text().toStdString(), text);
    shown->hide();
  }
}
