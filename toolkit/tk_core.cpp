// Toolkit spine: Qt start-up, the initialisation calls, native handles, the
// posted-event queue with the waiting loop, the clock and colour packing.
//
// Sections: application · initialisation · handles · events · clock.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
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
  QApplication::setFont(default_gadget_font());
  // Windows open on the primary screen: compose at its scale from the start.
  if (QScreen* screen = QGuiApplication::primaryScreen())
    adopt_device_scale(screen->devicePixelRatio());
  install_accessible_factory();
}

// ---- handles ---------------------------------------------------------------

namespace {
struct HandleTable {
  std::unordered_map<int32_t, HandleTarget> items;
  int32_t next = kHandleBase;
};
HandleTable& handles() {
  static HandleTable table;
  return table;
}
}  // namespace

int32_t new_handle(HandleKind kind, int32_t number) {
  HandleTable& t = handles();
  // Every composed image takes a handle, so the counter wraps round (past
  // any handle still in use) rather than overflow.
  int32_t h = t.next;
  do {
    h = t.next;
    t.next = t.next == INT32_MAX ? kHandleBase : t.next + 1;
  } while (t.items.count(h) != 0);
  t.items[h] = {kind, number};
  return h;
}

void drop_handle(int32_t handle) { handles().items.erase(handle); }

const HandleTarget* find_handle(int32_t handle) {
  auto& items = handles().items;
  auto it = items.find(handle);
  return it == items.end() ? nullptr : &it->second;
}

int32_t handle_number(int32_t handle, HandleKind kind) {
  const HandleTarget* t = find_handle(handle);
  return t && t->kind == kind ? t->number : 0;
}

// ---- events ----------------------------------------------------------------

namespace {
struct PostedEvent {
  int32_t kind, window, gadget, type;
  int32_t wheel;  // wheel turn of a wheel event, else 0
};
struct EventState {
  std::deque<PostedEvent> queue;
  QEventLoop* waiting = nullptr;  // the loop of a wait in progress
  int32_t window = 0, gadget = 0, type = -1;
  int32_t wheel = 0;  // of the last event
};
EventState& events() {
  static EventState s;
  return s;
}
}  // namespace

namespace {
void push_event(const PostedEvent& e) {
  EventState& s = events();
  s.queue.push_back(e);
  if (s.waiting) s.waiting->quit();
}
}  // namespace

void post_event(int32_t kind, int32_t window, int32_t gadget, int32_t type) {
  push_event({kind, window, gadget, type, 0});
}

void post_wheel_event(int32_t window, int32_t gadget, int32_t type, int32_t delta) {
  push_event({TK_EVENT_GADGET, window, gadget, type, delta});
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
  EventState& s = events();
  s.type = -1;
  s.wheel = 0;
  if (s.queue.empty() && QCoreApplication::instance()) {
    // A wait with a time-out handles what is pending inside its own loop.
    if (timeoutMs == 0 || s.waiting) QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (s.queue.empty() && timeoutMs != 0 && !s.waiting) {
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
      s.waiting = &loop;
      loop.exec();
      s.waiting = nullptr;
    }
  }
  if (s.queue.empty()) return TK_EVENT_NONE;
  PostedEvent e = s.queue.front();
  s.queue.pop_front();
  s.window = e.window;
  s.gadget = e.gadget;
  s.type = e.type;
  s.wheel = e.wheel;
  return e.kind;
}

int32_t tk_last_event_window() { return events().window; }
int32_t tk_last_wheel_delta() { return events().wheel; }
int32_t tk_last_event_gadget() { return events().gadget; }
int32_t tk_last_event_menu() { return events().gadget; }
int32_t tk_last_event_type() { return events().type; }

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
