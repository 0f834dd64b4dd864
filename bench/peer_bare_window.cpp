// The peer of the demo's start-up, idle and memory figures: a bare Qt 6
// window with one label, as large as the demo's window and at the same
// place. It prints "shown" on stdout once the window has been drawn, the
// same moment the demo reports with ZUI_REPORT_SHOWN, and then idles in
// Qt's own event loop until it is closed or ended.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "bench/first_paint.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  peer::FirstPaint firstPaint;
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
