// The event surface: the demo screen under a stream of real Qt input (mouse
// moves, clicks and double-clicks anywhere, keys and typing, combo lists,
// focus changes, window resizes, splitter drags) and of raw toolkit events
// with arbitrary kinds, types, gadgets and shortcut identifiers, each
// followed by the real main-loop iteration, so dispatch_event and the
// application's reactions run.
//
// Sections: the long-lived screen · choices · input · raw events · checks ·
// between inputs · entry points.
//
// The screen lives for the whole run (building it per input would cost more
// than the input); between inputs open lists and editors are closed, the
// mouse leaves and the window gets its first size back.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QTest>
#include <QWidget>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/app.h"
#include "controls/controls.h"
#include "framework/framework.h"
#include "fuzz_checks.h"
#include "fuzz_input.h"
#include "grid/grid.h"
#include "toolkit/tk.h"
#include "toolkit/tk_native.h"

using namespace zui;

namespace {

// ---- the long-lived screen -------------------------------------------------
App* app = nullptr;
int32_t fakeNow = 0;  // the animation clock, moved on by the input
int32_t fake_clock() { return fakeNow; }
int32_t firstWidth = 0, firstHeight = 0;
int32_t objectCount = 0;  // the screen never gains or loses objects

constexpr int kMaxSteps = 48;
constexpr int kMaxIterations = 12;  // loop iterations that drain one action

QWidget* client() { return tk_window_client(app->state.mainWindow); }
QWidget* top() { return tk_window_widget(app->state.mainWindow); }

// Runs the main loop until its queue is empty (bounded), as the program
// would between two user actions.
// ZUI_FUZZ_TRACE=1 prints every action and what the loop reported.
bool trace = false;

void drain(int32_t tick) {
  for (int i = 0; i < kMaxIterations; ++i) {
    fakeNow += tick;
    main_loop_iteration(*app, 0);
    if (trace)
      std::fprintf(stderr, "  loop: kind %d type %d gadget %d mouse %d,%d -> %d '%s'\n",
                   app->lastKind, app->lastType, app->lastGadget, app->mouseX, app->mouseY,
                   app->uiCode, app->uiCode > 0 ? app->uiObject.c_str() : "");
    if (app->lastKind == TK_EVENT_NONE) break;
  }
}

// ---- choices ---------------------------------------------------------------
// One of the screen's named objects, by position in the registry.
NamedObject* some_object(ByteStream& in) {
  int k = in.range(0, objectCount - 1);
  for (NamedObject* o = app->ui.first; o; o = o->next)
    if (k-- == 0) return o;
  return app->ui.first;
}

// The objects a user works with: grids, skinned buttons, tab bars and the
// standard inputs. Points land on them more often than their area says.
std::vector<std::string> interactive;

// A point in client coordinates: inside a named object (its edges included),
// or anywhere in and around the window.
QPoint some_point(ByteStream& in) {
  const uint8_t how = in.byte() % 4;
  const NamedObject* o = nullptr;
  if (how == 0 && !interactive.empty()) {
    const std::string& name = interactive[in.range(0, int32_t(interactive.size()) - 1)];
    for (const NamedObject* p = app->ui.first; p && !o; p = p->next)
      if (p->name == name) o = p;
  } else if (how == 1) {
    o = some_object(in);
  }
  if (o != nullptr)
    return QPoint(o->absX + in.range(-1, o->width + 1), o->absY + in.range(-1, o->height + 1));
  const QWidget* c = client();
  return QPoint(in.range(-30, c->width() + 30), in.range(-30, c->height() + 30));
}

// The deepest widget under a client point, the client itself when none.
QWidget* widget_at(const QPoint& p) {
  QWidget* c = client();
  QWidget* w = c->childAt(p);
  return w != nullptr ? w : c;
}

Qt::KeyboardModifiers modifiers(ByteStream& in) {
  switch (in.byte() % 8) {
    case 0: return Qt::ShiftModifier;
    case 1: return Qt::ControlModifier;
    case 2: return Qt::AltModifier;
    default: return Qt::NoModifier;
  }
}

// ---- input -----------------------------------------------------------------
// Moves the cursor there and tells the widget under it, as a real move does.
QWidget* move_to(const QPoint& p) {
  QWidget* w = widget_at(p);
  const QPoint global = client()->mapToGlobal(p);
  QCursor::setPos(global);
  QTest::mouseMove(w, w->mapFromGlobal(global));
  return w;
}

void mouse_step(ByteStream& in) {
  const QPoint p = some_point(in);
  QWidget* w = move_to(p);
  const QPoint local = w->mapFromGlobal(client()->mapToGlobal(p));
  switch (in.byte() % 5) {
    case 0: break;  // a move only: hover and leave looks
    case 1: QTest::mouseClick(w, Qt::LeftButton, modifiers(in), local); break;
    case 2: QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, local); break;
    case 3: QTest::mouseClick(w, Qt::RightButton, Qt::NoModifier, local); break;
    default:
      // Press here, release elsewhere: a drag that ends outside.
      QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, local);
      QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, w->mapFromGlobal(client()->mapToGlobal(some_point(in))));
      break;
  }
}

void key_step(ByteStream& in) {
  const Qt::Key keys[] = {Qt::Key_Return,   Qt::Key_Escape, Qt::Key_Left,  Qt::Key_Right,
                          Qt::Key_Up,       Qt::Key_Down,   Qt::Key_PageUp, Qt::Key_PageDown,
                          Qt::Key_Space,    Qt::Key_Tab,    Qt::Key_Backspace, Qt::Key_Delete,
                          Qt::Key_Home,     Qt::Key_End,    Qt::Key_A,     Qt::Key_1,
                          Qt::Key_Enter,    Qt::Key_F4};
  QWidget* target = QApplication::focusWidget();
  if (target == nullptr) target = top();
  if (in.flag()) {
    QTest::keyClick(target, in.pick(keys), modifiers(in));
  } else {
    // QTest types printable ASCII only.
    std::string text = in.text(6);
    for (char& ch : text) ch = static_cast<char>(32 + static_cast<unsigned char>(ch) % 95);
    QTest::keyClicks(target, QString::fromLatin1(text.data(), int(text.size())));
  }
}

// Opens a combo's list (or the search-type list) and picks, moves in it or
// closes it again.
void combo_step(ByteStream& in) {
  const char* const combos[] = {"ComboHeadCaseType", "ComboHeadKeyAccount", "ComboHeadCasePhase",
                                "ComboHeadCaseStatus", "ComboVersionType",
                                "ComboVersionDestCountry"};
  auto* box = qobject_cast<QComboBox*>(tk_gadget_widget(get_gadget(app->ui, in.pick(combos))));
  if (box == nullptr) return;
  box->showPopup();
  drain(20);
  for (int n = in.range(0, 3); n > 0; --n) QTest::keyClick(box->view(), Qt::Key_Down);
  switch (in.byte() % 3) {
    case 0: QTest::keyClick(box->view(), Qt::Key_Return); break;
    case 1: QTest::keyClick(box->view(), Qt::Key_Escape); break;
    default: break;  // left open for the next steps
  }
}

void focus_step(ByteStream& in) {
  const NamedObject* o = some_object(in);
  if (in.flag()) tk_focus_gadget(o->gadget);
  else if (QWidget* w = tk_gadget_widget(o->gadget)) w->setFocus(Qt::MouseFocusReason);
  else tk_focus_gadget(-1);
}

void resize_step(ByteStream& in) {
  const int32_t w = in.flag() ? in.range(50, 2200) : firstWidth + in.range(-200, 200);
  const int32_t h = in.flag() ? in.range(50, 1400) : firstHeight + in.range(-150, 150);
  tk_resize_window(app->state.mainWindow, TK_KEEP, TK_KEEP, w, h);
}

// Presses the splitter's bar and drags it, as a user's drag does.
void splitter_step(ByteStream& in) {
  QWidget* w = tk_gadget_widget(app->state.splitterGadget);
  if (w == nullptr) return;
  const int from = tk_get_gadget_state(app->state.splitterGadget);
  const int to = in.range(-40, w->width() + 40);
  const int y = w->height() / 2;
  const QPoint start(from + 2, y);
  QCursor::setPos(w->mapToGlobal(start));
  QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, start);
  for (int i = 1, steps = in.range(1, 4); i <= steps; ++i) {
    const QPoint p(from + 2 + (to - from) * i / steps, y);
    QCursor::setPos(w->mapToGlobal(p));
    QTest::mouseMove(w, p);
  }
  QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(to + 2, y));
}

// ---- raw events ------------------------------------------------------------
// One dispatch of an event the toolkit could deliver, with the reactions the
// main loop runs after it: shortcut identifiers of the grid keys and any
// other, gadget event types of the dispatcher's table and any other.
void raw_step(ByteStream& in) {
  const int32_t kinds[] = {0, TK_EVENT_GADGET, TK_EVENT_MENU, TK_EVENT_RESIZED, TK_EVENT_MOVED};
  const int32_t types[] = {-1, 0, 1, 2, 3, 7, 8, 768, 1281, 65534, 65535, 14000, 14001, 14002};
  const int32_t kind = in.pick(kinds);
  const int32_t type = in.byte() % 5 == 0 ? in.i32() : in.pick(types);
  int32_t gadget = some_object(in)->gadget;
  if (kind == TK_EVENT_MENU) gadget = in.flag() ? in.range(GridKey::Return, GridKey::Space) : in.range(0, 2100);
  if (in.byte() % 6 == 0) gadget = in.i32();
  const QPoint p = some_point(in);
  app->lastKind = kind;
  app->lastType = type;
  app->lastGadget = gadget;
  app->mouseX = p.x();
  app->mouseY = p.y();
  fakeNow += in.range(0, 60);
  dispatch_event(app->ui, p.x(), p.y(), kind, type, gadget, gadget);
  app->uiCode = event_code(app->ui);
  if (app->uiCode > 0) {
    app->uiObject = event_object_name(app->ui);
    on_framework_event(*app);
  }
  if (kind == TK_EVENT_GADGET && type == TK_TYPE_LEFT_CLICK && gadget == app->state.splitterGadget)
    on_splitter_moved(*app);
  else if (kind == TK_EVENT_RESIZED)
    layout_demo(*app, 0);
  on_search_list_event(*app);
}

// ---- checks ----------------------------------------------------------------
NamedObject* named(const char* name) {
  for (NamedObject* o = app->ui.first; o; o = o->next)
    if (o->name == name) return o;
  return nullptr;
}

void check_screen() {
  check_registry(app->ui);
  check_parent_chains(app->ui);
  FUZZ_CHECK(app->ui.count == objectCount);
  const AppState& s = app->state;
  for (int8_t flag : {s.sidebarShown, s.headExpanded, s.mainExpanded, s.searchListOpen, s.searchActive})
    FUZZ_CHECK(flag == 0 || flag == 1);
  // An area is hidden exactly while it is collapsed.
  FUZZ_CHECK((named("ContainerHead")->hidden == 1) == (s.headExpanded == 0));
  FUZZ_CHECK((named("ContainerVersion")->hidden == 1) == (s.mainExpanded == 0));
  for (NamedObject* o = app->ui.first; o; o = o->next) {
    if (grid_record(*o) && grid_record(*o)->inputGadget != 0)
      FUZZ_CHECK(tk_gadget_exists(grid_record(*o)->inputGadget));
    if (button_record(*o)) FUZZ_CHECK(button_record(*o)->stripImage == 0 || tk_image_exists(button_record(*o)->stripImage));
  }
}

// ---- between inputs --------------------------------------------------------
void reset_screen() {
  for (NamedObject* o = app->ui.first; o; o = o->next) {
    if (grid_record(*o) && grid_record(*o)->inputGadget != 0) {
      const std::string name = o->name;
      close_editor(app->ui, name, 1);
      break;  // the registry position moved; at most one editor is open
    }
  }
  for (QComboBox* box : top()->findChildren<QComboBox*>()) box->hidePopup();
  QCursor::setPos(top()->mapToGlobal(QPoint(-200, -200)));
  tk_resize_window(app->state.mainWindow, TK_KEEP, TK_KEEP, firstWidth, firstHeight);
  drain(60);
}

void run(ByteStream& in) {
  for (int step = 0; step < kMaxSteps && !in.empty(); ++step) {
    const uint8_t op = in.byte() % 12;
    if (trace) std::fprintf(stderr, "step %d: action %d\n", step, op);
    switch (op) {
      case 0: case 1: case 2: case 3: mouse_step(in); break;
      case 4: case 5: key_step(in); break;
      case 6: combo_step(in); break;
      case 7: focus_step(in); break;
      case 8: resize_step(in); break;
      case 9: splitter_step(in); break;
      default: raw_step(in); break;
    }
    drain(in.range(0, 80));
    check_screen();
  }
}

}  // namespace

// ---- entry points ------------------------------------------------------------
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_start_toolkit();
  trace = std::getenv("ZUI_FUZZ_TRACE") != nullptr;
  app = new App;
  start_up(*app);
  app->ui.clock = fake_clock;
  FUZZ_CHECK(build_demo_screen(*app) == 1);
  firstWidth = tk_window_inner_width(app->state.mainWindow);
  firstHeight = tk_window_inner_height(app->state.mainWindow);
  objectCount = app->ui.count;
  for (const NamedObject* o = app->ui.first; o; o = o->next)
    if (o->kind == Kind::Grid || o->kind == Kind::SkinnedButton || o->kind == Kind::TabBar ||
        o->kind == Kind::Combo || o->kind == Kind::Input || o->kind == Kind::List)
      interactive.push_back(o->name);
  reset_screen();
  check_screen();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  ByteStream in(data, size);
  run(in);
  reset_screen();
  check_screen();
  return 0;
}
