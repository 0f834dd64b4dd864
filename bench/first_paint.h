// The moment a peer program reports its window drawn: "shown" on stdout
// right after the first paint pass, the moment the demo reports with
// ZUI_REPORT_SHOWN. Plain Qt only.
#pragma once

#include <QEvent>
#include <QObject>
#include <QTimer>

#include <cstdio>

namespace peer {

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

}  // namespace peer
