// Numbered gadgets: the parent stack, creation of every kind, the generic
// operations, focus and the inspection helpers.
//
// Sections: table · parent stack · creation · state, text and items ·
// geometry and looks · focus · freeing · inspection and native access.
#include <QApplication>

#include <vector>

#include "toolkit/tk.h"
#include "toolkit/tk_internal.h"
#include "toolkit/tk_native.h"
#include "toolkit/tk_widgets.h"

namespace tk {

// ---- table -----------------------------------------------------------------

namespace {
struct Gadget {
  QPointer<QWidget> widget;
  GadgetOps* ops = nullptr;  // the same object as widget
  int32_t handle = 0;
};
Table<Gadget>& gadgets() {
  static Table<Gadget> table(kGadgetBase, kImageBase);
  return table;
}

// The gadget's ops while its widget lives, nullptr otherwise.
GadgetOps* live(int32_t number) {
  Gadget* g = gadgets().find(number);
  return g && g->widget ? g->ops : nullptr;
}

// A widget goes away with its parent as well, so the table forgets a gadget
// when its widget is destroyed, however that happens.
void forget_gadget(int32_t number) {
  Gadget* g = gadgets().find(number);
  if (!g) return;
  drop_handle(g->handle);
  gadgets().items.erase(number);
}

// ---- parent stack ----------------------------------------------------------

// The widget new gadgets of a parent entry go into, nullptr once it is gone.
QWidget* area_of(const ParentEntry& entry) {
  if (TopWindow* top = window_by_handle(entry.handle)) return top->client();
  GadgetOps* ops = live(handle_number(entry.handle, HandleKind::Gadget));
  return ops ? ops->childArea() : nullptr;
}
bool area_alive(const ParentEntry& entry) { return area_of(entry) != nullptr; }
}  // namespace

void image_changed(int32_t image) {
  const Image* img = find_image(image);
  if (!img || !img->shown) return;
  const int32_t handle = img->handle;
  for (auto& [n, g] : gadgets().items)
    if (g.widget && g.ops->kind == GadgetKind::Image) {
      auto* shown = static_cast<ImageGadget*>(g.ops);
      if (shown->state() == handle) shown->refresh();
    }
}

void image_freed(int32_t handle, const QImage& last) {
  for (auto& [n, g] : gadgets().items)
    if (g.widget && g.ops->kind == GadgetKind::Image) {
      auto* shown = static_cast<ImageGadget*>(g.ops);
      if (shown->state() == handle) shown->keep(last);
    }
}

}  // namespace tk

using namespace tk;

int32_t tk_use_window_as_parent(int32_t windowHandle) {
  TopWindow* top = window_by_handle(windowHandle);
  if (!top) return 0;
  use_parent(ParentEntry{windowHandle, top->number()});
  return 1;
}

int32_t tk_open_gadget_list(int32_t gadget) {
  GadgetOps* ops = live(gadget);
  if (!ops || !ops->childArea()) return 0;
  push_parent(ParentEntry{gadgets().find(gadget)->handle, ops->windowNumber});
  return 1;
}

// The window stays the parent when every list is closed.
int32_t tk_close_gadget_list() { return pop_parent() ? 1 : 0; }

// ---- creation --------------------------------------------------------------

namespace {
// Creates a gadget of kind W in the current parent with the number asked
// for; 0 when there is no parent or the number is unusable.
template <typename W, typename... Args>
int32_t create(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h, Args&&... args) {
  ensure_app();
  const ParentEntry* parent = current_parent(area_alive);
  if (!parent) return 0;
  const int32_t n = gadgets().pick(number);
  if (n == 0) return 0;
  const ParentEntry at = *parent;
  tk_free_gadget(n);
  // Freeing the gadget under the number may have taken the area with it.
  QWidget* area = area_of(at);
  if (!area) return 0;
  const int32_t window = at.window;
  auto* widget = new W(area, std::forward<Args>(args)...);
  widget->number = n;
  widget->windowNumber = window;
  widget->place(QRect(x, y, std::max(0, w), std::max(0, h)));
  widget->show();
  gadgets().items[n] = Gadget{widget, widget, new_handle(HandleKind::Gadget, n)};
  QObject::connect(widget, &QObject::destroyed, [n] { forget_gadget(n); });
  return n;
}
}  // namespace

int32_t tk_create_text_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                              const std::string& text, int32_t) {
  return create<TextGadget>(number, x, y, w, h, qs(text));
}

int32_t tk_create_string_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                                const std::string& text, int32_t flags) {
  return create<StringGadget>(number, x, y, w, h, qs(text), flags);
}

int32_t tk_create_combo_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                               int32_t flags) {
  return create<ComboGadget>(number, x, y, w, h, flags);
}

int32_t tk_create_list_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                              int32_t flags) {
  return create<ListGadget>(number, x, y, w, h, flags);
}

// A new container is the current parent until tk_close_gadget_list.
int32_t tk_create_container_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                                   int32_t flags) {
  const int32_t n = create<ContainerGadget>(number, x, y, w, h, flags);
  if (n != 0) tk_open_gadget_list(n);
  return n;
}

int32_t tk_create_scroll_area_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                                     int32_t innerWidth, int32_t innerHeight, int32_t step,
                                     int32_t) {
  const int32_t n = create<ScrollAreaGadget>(number, x, y, w, h, innerWidth, innerHeight, step);
  if (n != 0) tk_open_gadget_list(n);
  return n;
}

int32_t tk_create_splitter_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                                  int32_t firstGadget, int32_t secondGadget, int32_t flags) {
  GadgetOps* first = live(firstGadget);
  GadgetOps* second = live(secondGadget);
  if (!first || !second || first == second) return 0;
  // A child that holds the splitter's own parent would become its own
  // ancestor; Qt then loops forever walking the parent chain.
  const ParentEntry* parent = current_parent(area_alive);
  const QWidget* area = parent ? area_of(*parent) : nullptr;
  for (GadgetOps* child : {first, second}) {
    const QWidget* w = child->widget();
    if (area && (w == area || w->isAncestorOf(area))) return 0;
  }
  return create<SplitterGadget>(number, x, y, w, h, first->widget(), second->widget(), flags);
}

int32_t tk_create_image_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                               int32_t bitmapHandle) {
  return create<ImageGadget>(number, x, y, w, h, bitmapHandle);
}

int32_t tk_create_button_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                                const std::string& text, int32_t flags) {
  return create<ButtonGadget>(number, x, y, w, h, qs(text), flags);
}

int32_t tk_create_check_box_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                                   const std::string& text, int32_t flags) {
  return create<CheckBoxGadget>(number, x, y, w, h, qs(text), flags);
}

int32_t tk_create_date_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                              const std::string& mask, int32_t date, int32_t) {
  return create<DateGadget>(number, x, y, w, h, qs(mask), date);
}

int32_t tk_create_tree_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                              int32_t flags) {
  return create<TreeGadget>(number, x, y, w, h, flags);
}

int32_t tk_create_editor_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                                int32_t flags) {
  return create<EditorGadget>(number, x, y, w, h, flags);
}

int32_t tk_create_scroll_bar_gadget(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h,
                                    int32_t minimum, int32_t maximum, int32_t pageLength,
                                    int32_t flags) {
  return create<ScrollBarGadget>(number, x, y, w, h, minimum, maximum, pageLength, flags);
}

// ---- state, text and items -------------------------------------------------

int32_t tk_gadget_exists(int32_t gadget) { return live(gadget) ? 1 : 0; }

int32_t tk_gadget_handle(int32_t gadget) {
  return live(gadget) ? gadgets().find(gadget)->handle : 0;
}

int32_t tk_set_gadget_state(int32_t gadget, int32_t value) {
  GadgetOps* ops = live(gadget);
  return ops && ops->setState(value) ? 1 : 0;
}

int32_t tk_get_gadget_state(int32_t gadget) {
  GadgetOps* ops = live(gadget);
  return ops ? ops->state() : 0;
}

int32_t tk_set_gadget_text(int32_t gadget, const std::string& text) {
  GadgetOps* ops = live(gadget);
  return ops && ops->setText(qs(text)) ? 1 : 0;
}

std::string tk_get_gadget_text(int32_t gadget) {
  GadgetOps* ops = live(gadget);
  return ops ? ops->text().toStdString() : std::string();
}

int32_t tk_add_gadget_item(int32_t gadget, int32_t position, const std::string& text,
                           int32_t bitmapHandle, int32_t flags) {
  GadgetOps* ops = live(gadget);
  return ops && ops->addItem(position, qs(text), image_by_handle(bitmapHandle), flags) ? 1 : 0;
}

int32_t tk_remove_gadget_item(int32_t gadget, int32_t position) {
  GadgetOps* ops = live(gadget);
  return ops && ops->removeItem(position) ? 1 : 0;
}

int32_t tk_set_gadget_attribute(int32_t gadget, int32_t attribute, int32_t value) {
  GadgetOps* ops = live(gadget);
  return ops && ops->setAttribute(attribute, value) ? 1 : 0;
}

int32_t tk_get_gadget_attribute(int32_t gadget, int32_t attribute) {
  GadgetOps* ops = live(gadget);
  return ops ? ops->attribute(attribute) : 0;
}

// ---- geometry and looks ----------------------------------------------------

namespace {
// The focus widget, also while Qt has not yet activated the window the
// focus was given in.
QWidget* focus_widget() {
  if (QWidget* f = QApplication::focusWidget()) return f;
  if (QWidget* active = QApplication::activeWindow()) return active->focusWidget();
  return nullptr;
}

// Qt would hand the focus of a widget that disappears to the next widget in
// the chain, which the platform never does; the window itself takes it.
void park_focus_outside(QWidget* w) {
  QWidget* f = focus_widget();
  if (f && (f == w || w->isAncestorOf(f))) w->window()->setFocus(Qt::OtherFocusReason);
}
}  // namespace

int32_t tk_set_gadget_colour(int32_t gadget, int32_t kind, int32_t colour) {
  GadgetOps* ops = live(gadget);
  return ops && ops->setColour(kind, colour) ? 1 : 0;
}

namespace {
// Hiding and disabling alike: state 0 gives the gadget back, anything else
// takes it out of reach (and takes the focus from it first).
int32_t set_reachable(int32_t gadget, int32_t state, void (QWidget::*apply)(bool)) {
  GadgetOps* ops = live(gadget);
  if (!ops) return 0;
  if (state != 0) park_focus_outside(ops->widget());
  (ops->widget()->*apply)(state == 0);
  return 1;
}
}  // namespace

int32_t tk_hide_gadget(int32_t gadget, int32_t state) {
  return set_reachable(gadget, state, &QWidget::setVisible);
}

int32_t tk_gadget_shown_in_window(int32_t gadget) {
  GadgetOps* ops = live(gadget);
  if (!ops) return -1;
  QWidget* widget = ops->widget();
  return widget->isVisibleTo(widget->window()) ? 1 : 0;
}

int32_t tk_disable_gadget(int32_t gadget, int32_t state) {
  return set_reachable(gadget, state, &QWidget::setEnabled);
}

int32_t tk_resize_gadget(int32_t gadget, int32_t x, int32_t y, int32_t w, int32_t h) {
  GadgetOps* ops = live(gadget);
  if (!ops) return 0;
  QWidget* widget = ops->widget();
  const QRect r(x == TK_KEEP ? widget->x() : x, y == TK_KEEP ? widget->y() : y,
                w == TK_KEEP ? widget->width() : std::max(0, w),
                h == TK_KEEP ? ops->reportedHeight() : std::max(0, h));
  ops->place(r);
  widget->update();
  return 1;
}

int32_t tk_gadget_x(int32_t gadget) {
  GadgetOps* ops = live(gadget);
  return ops ? ops->widget()->x() : 0;
}

int32_t tk_gadget_y(int32_t gadget) {
  GadgetOps* ops = live(gadget);
  return ops ? ops->widget()->y() : 0;
}

int32_t tk_gadget_width(int32_t gadget) {
  GadgetOps* ops = live(gadget);
  return ops ? ops->widget()->width() : 0;
}

int32_t tk_gadget_height(int32_t gadget) {
  GadgetOps* ops = live(gadget);
  return ops ? ops->reportedHeight() : 0;
}

// ---- focus -----------------------------------------------------------------

int32_t tk_focus_gadget(int32_t gadget) {
  if (gadget == -1) {
    if (QWidget* f = focus_widget()) f->window()->setFocus(Qt::OtherFocusReason);
    return 1;
  }
  GadgetOps* ops = live(gadget);
  if (!ops) return 0;
  QWidget* w = ops->widget();
  if (!w->window()->isActiveWindow()) w->window()->activateWindow();
  w->setFocus(Qt::OtherFocusReason);
  return 1;
}

int32_t tk_focused_gadget() {
  GadgetOps* ops = ops_of(focus_widget());
  return ops && live(ops->number) == ops ? ops->number : -1;
}

int32_t tk_focus_before(int32_t gadget, int32_t other) {
  GadgetOps* a = live(gadget);
  GadgetOps* b = live(other);
  if (!a || !b || a == b) return 0;
  QWidget* w = a->widget();
  QWidget* page = b->widget();
  QWidget* top = w->window();
  if (page->window() != top || page->isAncestorOf(w) || w->isAncestorOf(page)) return 0;
  // Qt keeps every widget of a window in one ring that starts at the window.
  for (QWidget* p = top->nextInFocusChain(); p != top; p = p->nextInFocusChain()) {
    if (p == w) return 0;  // already before
    if (p == page) break;
  }
  // The last widget before `other` that Tab stops at: the gadget goes after it.
  QWidget* previous = page->previousInFocusChain();
  while (previous != top && !(previous->focusPolicy() & Qt::TabFocus))
    previous = previous->previousInFocusChain();
  if (previous == top || previous == w) return 0;
  QWidget::setTabOrder(previous, w);
  return 1;
}

// ---- freeing ---------------------------------------------------------------

int32_t tk_free_gadget(int32_t gadget) {
  GadgetOps* ops = live(gadget);
  if (!ops) return 0;
  ops->number = 0;  // a gadget on its way out reports nothing more
  park_focus_outside(ops->widget());
  delete ops->widget();  // the destroyed signal clears the table entry
  return 1;
}

// ---- inspection and native access ------------------------------------------

int32_t tk_gadget_pixel(int32_t gadget, int32_t x, int32_t y) {
  GadgetOps* ops = live(gadget);
  if (!ops || ops->kind != GadgetKind::Image) return -1;
  return static_cast<ImageGadget*>(ops)->pixel(x, y);
}

int32_t tk_live_gadget_count() {
  int32_t n = 0;
  for (auto& [number, g] : gadgets().items) n += g.widget ? 1 : 0;
  return n;
}

QWidget* tk_gadget_widget(int32_t gadget) {
  GadgetOps* ops = live(gadget);
  return ops ? ops->widget() : nullptr;
}

QWidget* tk_native_widget(int32_t handle) {
  const HandleTarget* t = find_handle(handle);
  if (!t) return nullptr;
  if (t->kind == HandleKind::Window) return tk_window_widget(t->number);
  if (t->kind == HandleKind::Gadget) return tk_gadget_widget(t->number);
  return nullptr;
}

// ---- wheel, mouse cursor shape and typing focus ------------------------------

int32_t tk_set_gadget_cursor(int32_t gadget, int32_t shape) {
  GadgetOps* ops = live(gadget);
  if (!ops) return 0;
  QWidget* w = ops->widget();
  const Qt::CursorShape wanted = shape == TK_CURSOR_RESIZE_COLUMN ? Qt::SplitHCursor : Qt::ArrowCursor;
  // Setting the same shape again would cost a platform call on every move.
  if (!w->testAttribute(Qt::WA_SetCursor) || w->cursor().shape() != wanted) w->setCursor(wanted);
  return 1;
}

int32_t tk_left_button_down() {
  return (QGuiApplication::mouseButtons() & Qt::LeftButton) ? 1 : 0;
}

int32_t tk_gadget_takes_typing(int32_t gadget) {
  GadgetOps* ops = live(gadget);
  if (!ops) return 0;
  switch (ops->kind) {
    case GadgetKind::String:
    case GadgetKind::Combo:
    case GadgetKind::List:
    case GadgetKind::Date:
    case GadgetKind::Tree:
    case GadgetKind::Editor:
      return 1;
    default:
      return 0;
  }
}

int32_t tk_set_input_layout(int32_t gadget, int32_t alignment) {
  GadgetOps* ops = live(gadget);
  auto* input = ops && ops->kind == GadgetKind::String ? dynamic_cast<QLineEdit*>(ops->widget()) : nullptr;
  if (!input) return 0;
  const Qt::Alignment h = alignment == 1 ? Qt::AlignRight : alignment == 2 ? Qt::AlignHCenter : Qt::AlignLeft;
  input->setAlignment(h | Qt::AlignVCenter);
  input->end(false);
  return 1;
}
