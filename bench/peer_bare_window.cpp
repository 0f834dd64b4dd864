// The peer of the demo's start-up, idle and memory figures: a bare Qt 6
// window with one label, as large as the demo's window and at the same
// place. It prints "shown" on stdout once the window has been drawn, the
// same moment the demo reports with ZUI_REPORT_SHOWN, and then idles in
// Qt's own event loop until it is closed or ended.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

// The first paint event starts the paint pass; the line goes out right after
// that pass (and the flush that ends it) has been handled.
class FirstPaint : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (!seen_ && e->type() == QEvent::Paint) {
      seen_ = true;
      QTimer::singleShot(0, [] {
        std::fputs("shown\n", stdout);
        std::fflush(stdout);
      });
    }
    return false;
  }

 private:
  bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  FirstPaint firstPaint;
  app.installEventFilter(&firstPaint);

  QWidget window;
  window.setWindowTitle("Bare window");
  window.move(220, 11);
  window.resize(1024, 710);
  QLabel label("A bare window with one label", &window);
  label.move(20, 20);
  window.show();
  return app.exec();
}
