// Toolkit spine of the Qt backend: start-up, the initialisation calls, the
// waiting loop over the posted-event queue, the clock and colour packing.
//
// Sections: application · events · initialisation · clock.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QProxyStyle>
#include <QScreen>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "toolkit/tk.h"
#include "toolkit/tk_internal.h"

namespace tk {

// ---- application -----------------------------------------------------------

namespace {

bool env_set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// What the platform says while it starts is held back: a start that fails
// then ends with one line instead of the platform's page of advice, and a
// good start hands every message on unchanged.
struct HeldMessage {
  QtMsgType type;
  int line;
  std::string file, function, category, text;
};
struct StartMessages {
  QtMessageHandler previous = nullptr;
  std::vector<HeldMessage> held;
};
StartMessages& start_messages() {
  static StartMessages s;
  return s;
}

void hold_start_message(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) {
    // The platform aborts after this returns; a missing display is no crash.
    const char* display =
        env_set("DISPLAY") ? std::getenv("DISPLAY") : std::getenv("WAYLAND_DISPLAY");
    std::fprintf(stderr, "%s: cannot open the display \"%s\"\n", program_invocation_short_name,
                 display != nullptr ? display : "");
    std::_Exit(1);
  }
  auto text_of = [](const char* s) { return std::string(s != nullptr ? s : ""); };
  start_messages().held.push_back({type, context.line, text_of(context.file),
                                   text_of(context.function), text_of(context.category),
                                   text.toStdString()});
}

// The platform's style with one change: the menu bar's overflow mark is
// drawn here. Reading it from the style's resources would load every
// picture plug-in Qt has, about a millisecond of each start, and nothing
// else in the toolkit reads pictures through Qt.
class DrawnMarkStyle : public QProxyStyle {
 public:
  QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                     const QWidget* widget) const override {
    if (which != SP_ToolBarHorizontalExtensionButton && which != SP_ToolBarVerticalExtensionButton)
      return QProxyStyle::standardIcon(which, option, widget);
    QPixmap mark(8, 8);
    mark.fill(Qt::transparent);
    QPainter p(&mark);
    p.setPen(QPen(Qt::black, 1.2));
    p.setRenderHint(QPainter::Antialiasing);
    const bool across = which == SP_ToolBarHorizontalExtensionButton;
    for (int k : {0, 4}) {  // two chevrons, pointing where the rest lies
      if (across)
        p.drawPolyline(QPolygonF({QPointF(k + 0.5, 1), QPointF(k + 3.5, 4), QPointF(k + 0.5, 7)}));
      else
        p.drawPolyline(QPolygonF({QPointF(1, k + 0.5), QPointF(4, k + 3.5), QPointF(7, k + 0.5)}));
    }
    return QIcon(mark);
  }
};

}  // namespace

void ensure_app() {
  if (QCoreApplication::instance()) return;
  // Without any display Qt would abort; run headless instead.
  if (!env_set("QT_QPA_PLATFORM") && !env_set("DISPLAY") && !env_set("WAYLAND_DISPLAY"))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "zui";
  static char* argv[] = {name, nullptr};
  StartMessages& messages = start_messages();
  messages.previous = qInstallMessageHandler(hold_start_message);
  new QApplication(argc, argv);  // lives until the process ends
  qInstallMessageHandler(messages.previous);
  for (const HeldMessage& m : messages.held) {
    const QMessageLogContext context(m.file.c_str(), m.line, m.function.c_str(),
                                     m.category.c_str());
    messages.previous(m.type, context, QString::fromStdString(m.text));
  }
  messages.held.clear();
  QApplication::setStyle(new DrawnMarkStyle);  // the application owns it
  QApplication::setFont(default_gadget_font());
  // Windows open on the primary screen: compose at its scale from the start.
  if (QScreen* screen = QGuiApplication::primaryScreen())
    adopt_device_scale(screen->devicePixelRatio());
  install_accessible_factory();
}

// ---- events ----------------------------------------------------------------

namespace {
// The loop of a wait in progress; a posted event quits it.
QEventLoop*& waiting() {
  static QEventLoop* loop = nullptr;
  return loop;
}
// True while the wait in progress has no time-out.
bool& untimed() {
  static bool value = false;
  return value;
}
void wake_waiting() {
  if (waiting()) waiting()->quit();
}
}  // namespace

void wake_untimed_wait() {
  if (untimed()) wake_waiting();
}

}  // namespace tk

using namespace tk;

// ---- initialisation --------------------------------------------------------
// Each call may come first; all of them are harmless when repeated.

int32_t tk_open_display() {
  if (QCoreApplication::instance()) return 1;
  // Unchosen, the platform is the X one or, with a compositor, Wayland; the
  // X platform needs a display name. Any other choice is left to the
  // platform (the fatal-message guard covers it).
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  const bool chosen = platform != nullptr && *platform != '\0';
  if (!chosen && !env_set("DISPLAY") && !env_set("WAYLAND_DISPLAY")) return 0;
  if (chosen && std::strncmp(platform, "xcb", 3) == 0 && !env_set("DISPLAY")) return 0;
  ensure_app();
  return 1;
}

void tk_init_strings() { ensure_app(); }
void tk_init_memory() { ensure_app(); }
void tk_init_drawing() { ensure_app(); }
void tk_init_fonts() { ensure_app(); }
void tk_init_windows() { ensure_app(); }
void tk_init_gadgets() { ensure_app(); }
void tk_init_image_decoder() { ensure_app(); }
void tk_init_images() { ensure_app(); }
void tk_init_menus() { ensure_app(); }
void tk_register_png_decoder() { ensure_app(); }

// ---- events ----------------------------------------------------------------

int32_t tk_wait_event(int32_t timeoutMs) {
  clear_last_type();
  if (!events_pending() && QCoreApplication::instance()) {
    set_event_waker(wake_waiting);
    // A wait with a time-out handles what is pending inside its own loop.
    if (timeoutMs == 0 || waiting()) QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (!events_pending() && timeoutMs != 0 && !waiting()) {
      // The loop sleeps in the event dispatcher until input, a posted
      // event (post_event quits it) or the timer.
      QEventLoop loop;
      QTimer timer;
      if (timeoutMs > 0) {
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(timeoutMs);
      }
      waiting() = &loop;
      untimed() = timeoutMs < 0;
      loop.exec();
      untimed() = false;
      waiting() = nullptr;
    }
  }
  return take_event();
}

int32_t tk_last_event_window() { return last_event().window; }
int32_t tk_last_wheel_delta() { return last_event().wheel; }
int32_t tk_last_event_gadget() { return last_event().gadget; }
int32_t tk_last_event_menu() { return last_event().gadget; }
int32_t tk_last_event_type() { return last_event().type; }

// ---- clock and colour ------------------------------------------------------

int32_t tk_elapsed_ms() {
  static QElapsedTimer clock = [] {
    QElapsedTimer t;
    t.start();
    return t;
  }();
  // Wraps like a 32-bit tick count.
  return static_cast<int32_t>(static_cast<uint32_t>(clock.elapsed()));
}

int32_t tk_pack_colour(int32_t red, int32_t green, int32_t blue) {
  return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
