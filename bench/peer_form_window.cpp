// The peer of the demo's start-up that builds the same screen: the plain Qt
// Widgets form of bench/peer_form.h, at the demo's size and place. It
// prints "shown" on stdout once the window has been drawn and then idles
// in Qt's own event loop until it is closed or ended.
#include <QApplication>

#include "bench/first_paint.h"
#include "bench/peer_form.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  peer::FirstPaint firstPaint;
  app.installEventFilter(&firstPaint);
  peer::PeerForm form;  // shows itself
  return app.exec();
}
