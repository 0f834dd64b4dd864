// Numbered windows, the menu bar, keyboard shortcuts and window screenshots.
//
// Sections: table · keyboard shortcuts · opening and closing · geometry ·
// mouse and activation · menus · screenshots · native access.
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPixmap>

#include <utility>
#include <optional>
#include <vector>

#include "toolkit/tk.h"
#include "toolkit/tk_internal.h"
#include "toolkit/tk_native.h"
#include "toolkit/tk_widgets.h"

namespace tk {

// ---- table -----------------------------------------------------------------

namespace {
struct Window {
  QPointer<TopWindow> top;
  int32_t handle = 0;
  int32_t paints = 0;                    // paint events of its widgets so far
};
Table<Window>& windows() {
  static Table<Window> table(kWindowBase, kGadgetBase);
  return table;
}
Window* live_window(int32_t number) {
  Window* w = windows().find(number);
  return w && w->top ? w : nullptr;
}
void forget_window(int32_t number) {
  Window* w = windows().find(number);
  if (!w) return;
  drop_handle(w->handle);
  forget_shortcuts(number);
  windows().items.erase(number);
}
}  // namespace

TopWindow* find_window(int32_t number) {
  Window* w = live_window(number);
  return w ? w->top.data() : nullptr;
}

TopWindow* window_by_handle(int32_t handle) {
  return find_window(handle_number(handle, HandleKind::Window));
}

// ---- keyboard shortcuts ----------------------------------------------------

int32_t virtual_key(int key) {
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
    return key;
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return TK_KEY_F1 + (key - Qt::Key_F1);
  static const std::pair<int, int32_t> kKeys[] = {
      {Qt::Key_Backspace, TK_KEY_BACKSPACE}, {Qt::Key_Tab, TK_KEY_TAB},
      {Qt::Key_Backtab, TK_KEY_TAB},         {Qt::Key_Return, TK_KEY_RETURN},
      {Qt::Key_Enter, TK_KEY_RETURN},        {Qt::Key_Pause, TK_KEY_PAUSE},
      {Qt::Key_Escape, TK_KEY_ESCAPE},       {Qt::Key_Space, TK_KEY_SPACE},
      {Qt::Key_PageUp, TK_KEY_PAGE_UP},      {Qt::Key_PageDown, TK_KEY_PAGE_DOWN},
      {Qt::Key_End, TK_KEY_END},             {Qt::Key_Home, TK_KEY_HOME},
      {Qt::Key_Left, TK_KEY_LEFT},           {Qt::Key_Up, TK_KEY_UP},
      {Qt::Key_Right, TK_KEY_RIGHT},         {Qt::Key_Down, TK_KEY_DOWN},
      {Qt::Key_Insert, TK_KEY_INSERT},       {Qt::Key_Delete, TK_KEY_DELETE},
  };
  for (const auto& [qt, code] : kKeys)
    if (qt == key) return code;
  return 0;
}

namespace {
// Whether the pointer may have moved relative to a window since it was last
// asked for: set by every event that reports or affects it.
bool& pointer_dirty() {
  static bool dirty = true;
  return dirty;
}

bool touches_pointer(QEvent::Type t) {
  switch (t) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::WindowStateChange:
      return true;
    default:
      return false;
  }
}

// Shortcuts act like accelerators: the key is matched against the table of
// the window it was typed in before any widget of it sees the key. The same
// filter notes every event that may move the pointer relative to a window,
// and counts paints per window.
class EventWatch : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (touches_pointer(e->type())) {
      pointer_dirty() = true;
      // Only the pointer's own events: a move or resize of a widget is the
      // program's doing, or comes with an event of its own.
      const QEvent::Type t = e->type();
      if (t != QEvent::Move && t != QEvent::Resize && t != QEvent::Show && t != QEvent::Hide &&
          t != QEvent::WindowStateChange)
        wake_untimed_wait();
    }
    if (e->type() == QEvent::Paint && watched->isWidgetType()) {
      auto* top = dynamic_cast<TopWindow*>(static_cast<QWidget*>(watched)->window());
      if (Window* win = top ? live_window(top->number()) : nullptr) ++win->paints;
      return false;
    }
    if (e->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto* top = dynamic_cast<TopWindow*>(static_cast<QWidget*>(watched)->window());
    if (!top) return false;
    Window* win = live_window(top->number());
    if (!win || !has_shortcuts(top->number())) return false;
    auto* key = static_cast<QKeyEvent*>(e);
    if (takes_own_key(watched, key)) return false;
    const int32_t vk = virtual_key(key->key());
    if (vk == 0) return false;
    int32_t code = vk;
    if (key->modifiers() & Qt::ShiftModifier) code |= TK_SHIFT;
    if (key->modifiers() & Qt::ControlModifier) code |= TK_CONTROL;
    if (key->modifiers() & Qt::AltModifier) code |= TK_ALT;
    int32_t id = 0;
    if (!find_shortcut(top->number(), code, id)) return false;
    post_event(TK_EVENT_MENU, top->number(), id, -1);
    return true;
  }
};
}  // namespace

void install_shortcut_filter() {
  static EventWatch* filter = nullptr;
  if (filter || !QCoreApplication::instance()) return;
  filter = new EventWatch;
  QCoreApplication::instance()->installEventFilter(filter);
}

QPoint pointer_position() {
  // On X11 asking for the pointer is a round trip to the server, fifty times
  // a second in an idle main loop. The server reports every pointer change
  // that concerns our windows as an event, so without one the last answer
  // still holds. Elsewhere (offscreen tests move the cursor without events)
  // it is asked every time.
  static const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
  static QPoint last;
  if (!x11 || pointer_dirty()) {
    last = QCursor::pos();
    pointer_dirty() = false;
  }
  return last;
}

}  // namespace tk

using namespace tk;

int32_t tk_add_shortcut(int32_t window, int32_t key, int32_t id) {
  Window* w = live_window(window);
  if (!w || key <= 0) return 0;
  set_shortcut(window, key, id);
  return 1;
}

int32_t tk_shortcut_changes() { return int32_t(shortcut_changes()); }

int32_t tk_remove_shortcut(int32_t window, int32_t key) {
  Window* w = live_window(window);
  if (!w) return 0;
  remove_shortcut(window, key);
  return 1;
}

// ---- opening and closing ---------------------------------------------------

int32_t tk_open_window(int32_t number, int32_t x, int32_t y, int32_t innerWidth,
                       int32_t innerHeight, const std::string& title, int32_t flags) {
  ensure_app();
  install_shortcut_filter();
  const int32_t n = windows().pick(number);
  if (n == 0) return 0;
  tk_close_window(n);
  auto* top = new TopWindow(n);
  top->setWindowTitle(qs(title));
  top->resize(std::max(1, innerWidth), std::max(1, innerHeight));
  top->move(x, y);
  top->relayout();
  windows().items[n] = Window{top, new_handle(HandleKind::Window, n)};

  Qt::WindowStates state = Qt::WindowNoState;
  if (flags & TK_WINDOW_MAXIMISED) state = Qt::WindowMaximized;
  if (flags & TK_WINDOW_MINIMISED) state = Qt::WindowMinimized;
  top->setWindowState(state);
  // The window holds the focus until a gadget takes it; otherwise Qt would
  // give it to the first input on activation.
  top->setFocus(Qt::OtherFocusReason);
  // The visible bit means the opposite here: it asks for a hidden window.
  if (!(flags & TK_WINDOW_HIDDEN)) {
    top->show();
    top->activateWindow();
  }
  return n;
}

int32_t tk_hide_window(int32_t window, int32_t state) {
  TopWindow* top = find_window(window);
  if (!top) return 0;
  if (state == 1) {
    top->hide();
  } else {
    top->show();  // keeps a maximised or minimised state
    top->activateWindow();
  }
  return 1;
}

int32_t tk_close_window(int32_t window) {
  Window* w = windows().find(window);
  if (!w) return 0;
  delete w->top.data();  // takes every gadget of the window with it
  forget_window(window);
  return 1;
}

void tk_close_all_windows() {
  std::vector<int32_t> numbers;
  for (auto& [n, w] : windows().items) numbers.push_back(n);
  for (int32_t n : numbers) tk_close_window(n);
}

int32_t tk_live_window_count() {
  int32_t n = 0;
  for (auto& [number, w] : windows().items) n += w.top ? 1 : 0;
  return n;
}

// ---- geometry --------------------------------------------------------------

int32_t tk_resize_window(int32_t window, int32_t x, int32_t y, int32_t innerWidth,
                         int32_t innerHeight) {
  TopWindow* top = find_window(window);
  if (!top) return 0;
  const QPoint pos(x == TK_KEEP ? top->x() : x, y == TK_KEEP ? top->y() : y);
  const QSize size(innerWidth == TK_KEEP ? top->width() : std::max(1, innerWidth),
                   innerHeight == TK_KEEP ? top->height() : std::max(1, innerHeight));
  if (pos != top->pos()) top->move(pos);
  if (size != top->size()) top->resize(size);
  top->relayout();  // a hidden window gets no resize event before it shows
  return 1;
}

int32_t tk_window_inner_width(int32_t window) {
  TopWindow* top = find_window(window);
  return top ? top->width() : 0;
}

// The top-level widget's height is the client's plus the menu bar's.
int32_t tk_window_inner_height(int32_t window) {
  TopWindow* top = find_window(window);
  return top ? top->height() : 0;
}

int32_t tk_window_x(int32_t window) {
  TopWindow* top = find_window(window);
  return top ? top->x() : 0;
}

int32_t tk_window_y(int32_t window) {
  TopWindow* top = find_window(window);
  return top ? top->y() : 0;
}

int32_t tk_window_handle(int32_t window) {
  Window* w = live_window(window);
  return w ? w->handle : 0;
}

// ---- mouse and activation --------------------------------------------------

namespace {
// Mouse position in client coordinates, nullopt outside the client area.
std::optional<QPoint> client_mouse(int32_t window) {
  TopWindow* top = find_window(window);
  if (!top) return std::nullopt;
  const QPoint p = top->client()->mapFromGlobal(pointer_position());
  if (!top->client()->rect().contains(p)) return std::nullopt;
  return p;
}
}  // namespace

int32_t tk_window_mouse_x(int32_t window) {
  const auto p = client_mouse(window);
  return p ? p->x() : -1;
}

int32_t tk_window_mouse_y(int32_t window) {
  const auto p = client_mouse(window);
  return p ? p->y() : -1;
}

int32_t tk_activate_window(int32_t window) {
  TopWindow* top = find_window(window);
  if (!top) return 0;
  top->raise();
  top->activateWindow();
  return 1;
}

int32_t tk_active_window() {
  auto* top = dynamic_cast<TopWindow*>(QApplication::activeWindow());
  return top && find_window(top->number()) == top ? top->number() : -1;
}

// ---- menus -----------------------------------------------------------------

namespace {
// The menu bar being built and its last title.
struct MenuBuild {
  QPointer<TopWindow> top;
  QPointer<QMenu> title;
  int32_t next = kMenuBase;
};
MenuBuild& menu_build() {
  static MenuBuild m;
  return m;
}
}  // namespace

int32_t tk_create_menu_bar(int32_t number, int32_t windowHandle) {
  TopWindow* top = window_by_handle(windowHandle);
  if (!top || number == 0 || number < -1) return 0;
  MenuBuild& m = menu_build();
  top->createMenuBar()->clear();
  m.top = top;
  m.title = nullptr;
  return number == -1 ? m.next++ : number;
}

int32_t tk_add_menu_title(const std::string& text) {
  MenuBuild& m = menu_build();
  if (!m.top || !m.top->menuBar()) return 0;
  m.title = m.top->menuBar()->addMenu(qs(text));
  m.top->relayout();  // the bar's height settles once it holds a title
  return 1;
}

int32_t tk_add_menu_item(int32_t id, const std::string& text) {
  MenuBuild& m = menu_build();
  if (!m.top || !m.title) return 0;
  QAction* action = m.title->addAction(qs(text));
  const int32_t window = m.top->number();
  QObject::connect(action, &QAction::triggered,
                   [window, id] { post_event(TK_EVENT_MENU, window, id, -1); });
  return 1;
}

// ---- screenshots -----------------------------------------------------------

int32_t tk_save_window_screenshot(int32_t window, const std::string& path) {
  TopWindow* top = find_window(window);
  if (!top || path.empty()) return 0;
  const QPixmap shot = top->grab();
  return shot.save(qs(path), "PNG") ? 1 : 0;
}

int32_t tk_window_paint_count(int32_t window) {
  Window* w = live_window(window);
  return w ? w->paints : 0;
}

// ---- native access ---------------------------------------------------------

QWidget* tk_window_client(int32_t window) {
  TopWindow* top = find_window(window);
  return top ? top->client() : nullptr;
}

QWidget* tk_window_widget(int32_t window) { return find_window(window); }
