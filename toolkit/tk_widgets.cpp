// The Qt widgets behind windows and gadgets, and how each gadget kind answers
// the generic operations.
//
// Sections: helpers · window · label and string input · combo box · list
// box · containers · splitter · image gadget · button, check box, date, tree,
// editor, scroll bar.
#include "toolkit/tk_widgets.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QWheelEvent>

#include "toolkit/tk.h"
#include "toolkit/tk_internal.h"

namespace tk {

// ---- helpers ---------------------------------------------------------------

namespace {
// The platform's button face: the default ground of windows and containers.
const QColor kButtonFace(0xF0, 0xF0, 0xF0);

// Gives a plain widget a ground of its own colour.
void fill_ground(QWidget* w, const QColor& colour) {
  w->setAutoFillBackground(true);
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, colour);
  w->setPalette(pal);
}

// Insert position for a list of `count` entries: -1 or beyond the end
// appends.
int insert_index(int32_t position, int count) {
  return position < 0 || position > count ? count : position;
}

QIcon icon_of(const QImage* image) {
  return image ? QIcon(QPixmap::fromImage(*image)) : QIcon();
}

// Blocks the "changed by the user" reports while the toolkit changes a
// widget itself.
struct Quiet {
  bool& flag;
  bool old;
  explicit Quiet(bool& f) : flag(f), old(f) { flag = true; }
  ~Quiet() { flag = old; }
};
}  // namespace

QColor to_qcolor(int32_t colour) { return QColor(packed_to_rgb(colour)); }

void GadgetOps::notify(int32_t type) const {
  if (number != 0) post_event(TK_EVENT_GADGET, windowNumber, number, type);
}

void GadgetOps::applyColours() {
  QWidget* w = widget();
  QPalette pal = QApplication::palette(w);
  if (front_ != -1) {
    const QColor c = to_qcolor(front_);
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
      pal.setColor(role, c);
  }
  if (back_ != -1) {
    const QColor c = to_qcolor(back_);
    for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) pal.setColor(role, c);
  }
  w->setAutoFillBackground(back_ != -1);
  w->setPalette(pal);
  w->update();
}

bool GadgetOps::setColour(int32_t colourKind, int32_t colour) {
  if (colourKind == 1) front_ = colour;
  else if (colourKind == 2) back_ = colour;
  else return false;
  applyColours();
  return true;
}

GadgetOps* ops_of(QWidget* w) {
  for (; w != nullptr; w = w->parentWidget()) {
    if (auto* ops = dynamic_cast<GadgetOps*>(w); ops && ops->number != 0) return ops;
    if (w->isWindow()) break;
  }
  return nullptr;
}

// ---- window ----------------------------------------------------------------

TopWindow::TopWindow(int32_t number)
    : QWidget(nullptr), number_(number), shownRatio_(device_scale()) {
  client_ = new QWidget(this);
  // A click on bare ground takes the focus, so an open cell editor or a
  // field loses it there as it would anywhere else.
  client_->setFocusPolicy(Qt::ClickFocus);
  fill_ground(client_, kButtonFace);
  client_->show();
}

QMenuBar* TopWindow::createMenuBar() {
  if (!menuBar_) {
    menuBar_ = new QMenuBar(this);
    menuBar_->setNativeMenuBar(false);
    menuBar_->show();
  }
  relayout();
  return menuBar_;
}

int32_t TopWindow::menuHeight() const {
  return menuBar_ && !menuBar_->isHidden() ? menuBar_->sizeHint().height() : 0;
}

void TopWindow::relayout() {
  const int mh = std::min<int>(menuHeight(), height());
  if (menuBar_) menuBar_->setGeometry(0, 0, width(), mh);
  client_->setGeometry(0, mh, width(), height() - mh);
}

// The title-bar close button only asks; the program decides.
void TopWindow::closeEvent(QCloseEvent* e) {
  e->ignore();
  post_event(TK_EVENT_CLOSE, number_, 0, -1);
}

void TopWindow::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  relayout();
  if (!(windowState() & Qt::WindowMinimized)) post_event(TK_EVENT_RESIZED, number_, 0, -1);
}

void TopWindow::moveEvent(QMoveEvent* e) {
  QWidget::moveEvent(e);
  post_event(TK_EVENT_MOVED, number_, 0, -1);
}

void TopWindow::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() == QEvent::ActivationChange && isActiveWindow())
    post_event(TK_EVENT_ACTIVATED, number_, 0, -1);
}

bool TopWindow::event(QEvent* e) {
  const bool done = QWidget::event(e);
  // Moved to a screen of another scale (or the screen's scale changed):
  // compose at the new one. Only a change counts, so a scale chosen through
  // tk_set_display_scale holds while the window stays where it is.
  if (e->type() == QEvent::ScreenChangeInternal || e->type() == QEvent::Show) {
    const double ratio = devicePixelRatioF();
    if (ratio != shownRatio_) {
      shownRatio_ = ratio;
      change_device_scale(ratio);
    }
  }
  return done;
}

// ---- label and string input ------------------------------------------------

TextGadget::TextGadget(QWidget* parent, const QString& text)
    : QLabel(text, parent), GadgetOps(GadgetKind::Text) {
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setWordWrap(true);
}

bool TextGadget::setText(const QString& t) {
  QLabel::setText(t);
  return true;
}

StringGadget::StringGadget(QWidget* parent, const QString& text, int32_t flags)
    : QLineEdit(text, parent), GadgetOps(GadgetKind::String) {
  setFrame(!(flags & TK_STRING_BORDERLESS));
  setCursorPosition(0);
  // Only what the user types counts as a change.
  QObject::connect(this, &QLineEdit::textEdited, [this] { notify(TK_TYPE_CHANGED); });
}

bool StringGadget::setText(const QString& t) {
  QLineEdit::setText(t);
  setCursorPosition(0);
  return true;
}

// A popup (menu, list) opening does not move the focus from the platform's
// point of view, so those focus changes are not reported.
void StringGadget::focusInEvent(QFocusEvent* e) {
  QLineEdit::focusInEvent(e);
  if (e->reason() != Qt::PopupFocusReason) notify(TK_TYPE_FOCUS);
}

void StringGadget::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  if (e->reason() != Qt::PopupFocusReason) notify(TK_TYPE_FOCUS_LOST);
}

// ---- combo box -------------------------------------------------------------

ComboGadget::ComboGadget(QWidget* parent, int32_t flags)
    : QComboBox(parent), GadgetOps(GadgetKind::Combo) {
  setEditable(flags & TK_COMBO_EDITABLE);
  setInsertPolicy(QComboBox::NoInsert);
  // activated comes only from the user: a pick in the list or a key on the
  // closed box.
  QObject::connect(this, &QComboBox::activated, [this] { notify(1); });
  if (lineEdit())
    QObject::connect(lineEdit(), &QLineEdit::textEdited, [this] { notify(5); });
}

bool ComboGadget::setState(int32_t index) {
  if (index < -1 || index >= count()) return false;
  setCurrentIndex(index);
  return true;
}

// A drop-down list selects the first item the text begins (ignoring case);
// an empty text clears the selection and an unmatched one changes nothing.
bool ComboGadget::setText(const QString& t) {
  if (isEditable()) {
    setEditText(t);
    return true;
  }
  if (t.isEmpty()) {
    setCurrentIndex(-1);
    return true;
  }
  for (int i = 0; i < count(); ++i)
    if (itemText(i).startsWith(t, Qt::CaseInsensitive)) {
      setCurrentIndex(i);
      return true;
    }
  return false;
}

bool ComboGadget::addItem(int32_t position, const QString& t, const QImage* icon, int32_t) {
  const int before = currentIndex();
  insertItem(insert_index(position, count()), icon_of(icon), t);
  // Adding never selects; the first item would otherwise become current.
  if (before == -1 && !isEditable()) setCurrentIndex(-1);
  return true;
}

bool ComboGadget::removeItem(int32_t position) {
  if (position < 0 || position >= count()) return false;
  const bool wasCurrent = position == currentIndex();
  QComboBox::removeItem(position);
  if (wasCurrent) setCurrentIndex(-1);
  return true;
}

// The requested height includes the opened list; the closed box keeps one
// line and the rest is the list's room.
void ComboGadget::place(const QRect& requested) {
  requestedHeight_ = requested.height();
  const int closed = std::min(requested.height(), kClosedHeight);
  setGeometry(requested.x(), requested.y(), requested.width(), std::max(closed, 0));
  const int room = requested.height() - kClosedHeight;
  setMaxVisibleItems(std::max(1, room / 16));
}

void ComboGadget::showPopup() {
  listOpen_ = true;
  notify(TK_TYPE_LIST_OPENED);
  QComboBox::showPopup();
  if (QWidget* popup = view() ? view()->window() : nullptr) {
    popup->removeEventFilter(this);
    popup->installEventFilter(this);
  }
}

// However the list closes, the close is reported after the pick it carries:
// Qt hides the list before announcing the chosen item, and the dispatcher
// needs the selection (1) while it still knows the list is open.
bool ComboGadget::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::Hide && listOpen_ && view() && watched == view()->window()) {
    listOpen_ = false;
    QTimer::singleShot(0, this, [this] { notify(TK_TYPE_LIST_CLOSED); });
  }
  return QComboBox::eventFilter(watched, e);
}

// ---- list box --------------------------------------------------------------

ListGadget::ListGadget(QWidget* parent, int32_t) : QListWidget(parent), GadgetOps(GadgetKind::List) {
  setFrameShape(QFrame::StyledPanel);
  setUniformItemSizes(true);
  // A platform list box scrolls vertically only; a wide item is clipped
  // rather than squeezing the rows under a horizontal bar.
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QObject::connect(this, &QListWidget::currentRowChanged, [this] {
    if (!quiet_) notify(1);
  });
  QObject::connect(this, &QListWidget::itemDoubleClicked, [this] { notify(2); });
}

bool ListGadget::setState(int32_t index) {
  if (index < -1 || index >= count()) return false;
  Quiet q(quiet_);
  setCurrentRow(index);
  if (index == -1) clearSelection();
  return true;
}

bool ListGadget::setText(const QString& t) {
  Quiet q(quiet_);
  if (t.isEmpty()) {
    setCurrentRow(-1);
    clearSelection();
    return true;
  }
  for (int i = 0; i < count(); ++i)
    if (item(i)->text().startsWith(t, Qt::CaseInsensitive)) {
      setCurrentRow(i);
      return true;
    }
  return false;
}

QString ListGadget::text() const {
  const QListWidgetItem* it = currentItem();
  return it ? it->text() : QString();
}

bool ListGadget::addItem(int32_t position, const QString& t, const QImage* icon, int32_t) {
  Quiet q(quiet_);
  insertItem(insert_index(position, count()), new QListWidgetItem(icon_of(icon), t));
  return true;
}

bool ListGadget::removeItem(int32_t position) {
  if (position < 0 || position >= count()) return false;
  Quiet q(quiet_);
  delete takeItem(position);
  return true;
}

int32_t ListGadget::attribute(int32_t attribute) const {
  if (attribute != TK_LIST_FIT_WIDTH && attribute != TK_LIST_FIT_HEIGHT) return 0;
  int32_t widest = 0;
  int32_t total = 0;
  for (int i = 0; i < count(); ++i) {
    const QSize size = sizeHintForIndex(indexFromItem(item(i)));
    widest = std::max(widest, size.width());
    total += size.height();
  }
  const int32_t frame = 2 * frameWidth();
  return (attribute == TK_LIST_FIT_WIDTH ? widest : total) + frame;
}

// ---- containers ------------------------------------------------------------

ContainerGadget::ContainerGadget(QWidget* parent, int32_t flags)
    : QWidget(parent), GadgetOps(GadgetKind::Container), border_(flags != 0) {
  setCursor(Qt::ArrowCursor);
  setFocusPolicy(Qt::ClickFocus);  // as the window's ground
  // It fills all of itself, so Qt need not paint what lies beneath it.
  QWidget::setAttribute(Qt::WA_OpaquePaintEvent);
}

bool ContainerGadget::setColour(int32_t colourKind, int32_t colour) {
  if (colourKind != 2) return false;
  back_ = colour;
  update();
  return true;
}

void ContainerGadget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), back_ == -1 ? kButtonFace : to_qcolor(back_));
  if (border_) {
    p.setPen(QColor(0xA0, 0xA0, 0xA0));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

ScrollAreaGadget::ScrollAreaGadget(QWidget* parent, int32_t innerWidth, int32_t innerHeight,
                                   int32_t step)
    : QScrollArea(parent), GadgetOps(GadgetKind::ScrollArea), step_(step) {
  inner_ = new QWidget;
  inner_->resize(std::max(0, innerWidth), std::max(0, innerHeight));
  fill_ground(inner_, kButtonFace);
  setWidget(inner_);
  setWidgetResizable(false);
  horizontalScrollBar()->setSingleStep(step);
  verticalScrollBar()->setSingleStep(step);
}

bool ScrollAreaGadget::setColour(int32_t colourKind, int32_t colour) {
  if (colourKind != 2) return false;
  fill_ground(inner_, colour == -1 ? kButtonFace : to_qcolor(colour));
  return true;
}

bool ScrollAreaGadget::setAttribute(int32_t attribute, int32_t value) {
  switch (attribute) {
    case 1: inner_->resize(std::max(0, value), inner_->height()); return true;
    case 2: inner_->resize(inner_->width(), std::max(0, value)); return true;
    case 3: horizontalScrollBar()->setValue(value); return true;
    case 4: verticalScrollBar()->setValue(value); return true;
    case 5:
      step_ = value;
      horizontalScrollBar()->setSingleStep(value);
      verticalScrollBar()->setSingleStep(value);
      return true;
    default: return false;
  }
}

int32_t ScrollAreaGadget::attribute(int32_t attribute) const {
  switch (attribute) {
    case 1: return inner_->width();
    case 2: return inner_->height();
    case 3: return horizontalScrollBar()->value();
    case 4: return verticalScrollBar()->value();
    case 5: return step_;
    default: return 0;
  }
}

// ---- splitter --------------------------------------------------------------

int32_t SplitterGeometry::dragged(int32_t wanted) const {
  const int32_t room = std::max(0, length - bar);
  int32_t p = std::min(wanted, length - bar - secondMinimum);
  p = std::max(p, firstMinimum);
  return std::clamp(p, 0, room);
}

int32_t SplitterGeometry::placed(int32_t wanted) const {
  if (length <= 0) return std::max(0, wanted);
  return std::clamp(wanted, 0, std::max(0, length - bar));
}

SplitterGadget::SplitterGadget(QWidget* parent, QWidget* first, QWidget* second, int32_t flags)
    : QWidget(parent), GadgetOps(GadgetKind::Splitter), first_(first), second_(second),
      vertical_(flags & TK_SPLITTER_VERTICAL) {
  geometry_.bar = (flags & TK_SPLITTER_THICK) ? TK_SPLITTER_BAR : 4;
  QWidget::setAttribute(Qt::WA_OpaquePaintEvent);  // fills all of itself
  setCursor(vertical_ ? Qt::SplitHCursor : Qt::SplitVCursor);
  for (QWidget* child : {first, second}) {
    child->setParent(this);
    // The children must not inherit the bar's cursor.
    if (!child->testAttribute(Qt::WA_SetCursor)) child->setCursor(Qt::ArrowCursor);
    child->show();
  }
}

QRect SplitterGadget::barRect() const {
  return vertical_ ? QRect(geometry_.position, 0, geometry_.bar, height())
                   : QRect(0, geometry_.position, width(), geometry_.bar);
}

void SplitterGadget::layoutChildren() {
  measure();
  const int p = geometry_.position;
  if (vertical_) {
    if (first_) first_->setGeometry(0, 0, p, height());
    if (second_) second_->setGeometry(geometry_.secondStart(), 0, geometry_.secondLength(), height());
  } else {
    if (first_) first_->setGeometry(0, 0, width(), p);
    if (second_) second_->setGeometry(0, geometry_.secondStart(), width(), geometry_.secondLength());
  }
  update();
}

bool SplitterGadget::setState(int32_t position) {
  measure();
  geometry_.position = geometry_.placed(position);
  layoutChildren();
  return true;
}

bool SplitterGadget::setAttribute(int32_t attribute, int32_t value) {
  if (attribute == 1) geometry_.firstMinimum = std::max(0, value);
  else if (attribute == 2) geometry_.secondMinimum = std::max(0, value);
  else return false;
  return true;
}

int32_t SplitterGadget::attribute(int32_t attribute) const {
  if (attribute == 1) return geometry_.firstMinimum;
  if (attribute == 2) return geometry_.secondMinimum;
  return 0;
}

void SplitterGadget::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  layoutChildren();
}

void SplitterGadget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kButtonFace);
  const QRect bar = barRect();
  p.fillRect(bar, QColor(0xE2, 0xE2, 0xE2));
  p.setPen(QColor(0xC4, 0xC4, 0xC4));
  if (vertical_) {
    p.drawLine(bar.topLeft(), bar.bottomLeft());
    p.drawLine(bar.topRight(), bar.bottomRight());
  } else {
    p.drawLine(bar.topLeft(), bar.topRight());
    p.drawLine(bar.bottomLeft(), bar.bottomRight());
  }
  // A short grip in the middle shows where to take the bar.
  p.setPen(QColor(0x90, 0x90, 0x90));
  const QPoint c = bar.center();
  for (int i = -2; i <= 2; ++i) {
    const QPoint dot = vertical_ ? QPoint(c.x(), c.y() + i * 4) : QPoint(c.x() + i * 4, c.y());
    p.drawPoint(dot);
  }
}

void SplitterGadget::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && barRect().contains(e->position().toPoint()))
    dragOffset_ = along(e->position().toPoint()) - geometry_.position;
}

void SplitterGadget::mouseMoveEvent(QMouseEvent* e) {
  if (dragOffset_ < 0 || !(e->buttons() & Qt::LeftButton)) return;
  measure();
  const int32_t p = geometry_.dragged(along(e->position().toPoint()) - dragOffset_);
  if (p == geometry_.position) return;
  geometry_.position = p;
  layoutChildren();
  notify(TK_TYPE_LEFT_CLICK);
}

void SplitterGadget::mouseReleaseEvent(QMouseEvent*) { dragOffset_ = -1; }

// ---- image gadget ----------------------------------------------------------

ImageGadget::ImageGadget(QWidget* parent, int32_t bitmapHandle)
    : QWidget(parent), GadgetOps(GadgetKind::Image) {
  // A grid is an image gadget and holds the keyboard focus.
  setFocusPolicy(Qt::ClickFocus);
  setCursor(Qt::ArrowCursor);
  setState(bitmapHandle);
}

bool ImageGadget::setState(int32_t bitmapHandle) {
  handle_ = bitmapHandle;
  kept_ = QImage();
  if (Image* img = find_image(handle_number(bitmapHandle, HandleKind::Image))) img->shown = true;
  update();
  return true;
}

void ImageGadget::refresh() { update(); }

void ImageGadget::keep(const QImage& last) { kept_ = last; }

// Drawing happens between two waits, never during a paint, so the live image
// is shown without a copy; holding a copy instead would make every drawing
// on a shown canvas copy the whole canvas first.
const QImage& ImageGadget::picture() const {
  const QImage* live = image_by_handle(handle_);
  return live ? *live : kept_;
}

int32_t ImageGadget::pixel(int32_t x, int32_t y) const {
  const QImage& shown = picture();
  if (shown.isNull() || x < 0 || y < 0) return -1;
  // The top-left device pixel of the logical one.
  const int dx = to_device(x, shown.devicePixelRatio()), dy = to_device(y, shown.devicePixelRatio());
  if (!shown.rect().contains(dx, dy)) return -1;
  return rgb_to_packed(shown.pixel(dx, dy));
}

void ImageGadget::paintEvent(QPaintEvent*) {
  const QImage& shown = picture();
  // The picture's device pixel ratio makes it cover its logical size: at the
  // screen's own ratio its pixels reach the screen one to one.
  QPainter p(this);
  if (!shown.isNull()) p.drawImage(0, 0, shown);
  paint_focus_mark(*this, p);
}

void ImageGadget::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) notify(TK_TYPE_LEFT_CLICK);
  else if (e->button() == Qt::RightButton) notify(TK_TYPE_RIGHT_CLICK);
  e->accept();
}

// The gadget that took the press gets the release wherever the mouse is now;
// whether it still counts is the dispatcher's to judge by the mouse position.
void ImageGadget::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) notify(TK_TYPE_LEFT_RELEASE);
  e->accept();
}

void ImageGadget::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) notify(TK_TYPE_LEFT_DOUBLE);
  else if (e->button() == Qt::RightButton) notify(TK_TYPE_RIGHT_DOUBLE);
  e->accept();
}

// Up and down, or sideways: a sideways wheel, or the wheel turned with Shift
// as every platform's own lists take it.
void ImageGadget::wheelEvent(QWheelEvent* e) {
  QPoint turn = e->angleDelta();
  if ((e->modifiers() & Qt::ShiftModifier) && turn.x() == 0) turn = QPoint(turn.y(), 0);
  if (number != 0 && turn.y() != 0)
    post_wheel_event(windowNumber, number, TK_TYPE_WHEEL, turn.y());
  else if (number != 0 && turn.x() != 0)
    post_wheel_event(windowNumber, number, TK_TYPE_WHEEL_SIDEWAYS, turn.x());
  e->accept();
}

// ---- push button and check box ---------------------------------------------

// Both report a click as type 0, the platform's "clicked" notification.
ButtonGadget::ButtonGadget(QWidget* parent, const QString& text, int32_t)
    : QPushButton(text, parent), GadgetOps(GadgetKind::Button) {
  QObject::connect(this, &QPushButton::clicked, [this] { notify(TK_TYPE_LEFT_CLICK); });
}

bool ButtonGadget::setState(int32_t pressed) {
  if (!isCheckable()) return false;
  setChecked(pressed != 0);
  return true;
}

bool ButtonGadget::setText(const QString& t) {
  QPushButton::setText(t);
  return true;
}

CheckBoxGadget::CheckBoxGadget(QWidget* parent, const QString& text, int32_t)
    : QCheckBox(text, parent), GadgetOps(GadgetKind::CheckBox) {
  QObject::connect(this, &QCheckBox::clicked, [this] { notify(TK_TYPE_LEFT_CLICK); });
}

// 1 checked, 0 unchecked, -1 in between.
bool CheckBoxGadget::setState(int32_t checked) {
  if (checked == -1) {
    setTristate(true);
    setCheckState(Qt::PartiallyChecked);
  } else {
    setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  }
  return true;
}

int32_t CheckBoxGadget::state() const {
  switch (checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return -1;
    default: return 0;
  }
}

bool CheckBoxGadget::setText(const QString& t) {
  QCheckBox::setText(t);
  return true;
}

// ---- date ------------------------------------------------------------------

QString DateGadget::qt_format(const QString& mask) {
  static const std::pair<const char*, const char*> codes[] = {
      {"%yyyy", "yyyy"}, {"%yy", "yy"}, {"%mm", "MM"}, {"%dd", "dd"},
      {"%hh", "HH"},     {"%ii", "mm"}, {"%ss", "ss"}};
  QString out;
  for (int i = 0; i < mask.size();) {
    bool matched = false;
    for (const auto& [code, qt] : codes) {
      const QString c = QString::fromLatin1(code);
      if (mask.mid(i, c.size()) == c) {
        out += QString::fromLatin1(qt);
        i += int(c.size());
        matched = true;
        break;
      }
    }
    if (matched) continue;
    const QChar ch = mask[i++];
    // Letters outside the codes are literal text.
    out += ch.isLetter() ? QStringLiteral("'") + ch + QStringLiteral("'") : QString(ch);
  }
  return out.isEmpty() ? QStringLiteral("dd.MM.yyyy") : out;
}

DateGadget::DateGadget(QWidget* parent, const QString& mask, int32_t date)
    : QDateTimeEdit(parent), GadgetOps(GadgetKind::Date) {
  setDisplayFormat(qt_format(mask));
  setCalendarPopup(true);
  setState(date);
  QObject::connect(this, &QDateTimeEdit::dateTimeChanged, [this] {
    if (!quiet_) notify(TK_TYPE_CHANGED);
  });
}

bool DateGadget::setState(int32_t seconds) {
  Quiet q(quiet_);
  setDateTime(seconds == 0 ? QDateTime::currentDateTime()
                           : QDateTime::fromSecsSinceEpoch(seconds));
  return true;
}

int32_t DateGadget::state() const { return int32_t(dateTime().toSecsSinceEpoch()); }

bool DateGadget::setText(const QString& t) {
  const QDateTime parsed = QDateTime::fromString(t, displayFormat());
  if (!parsed.isValid()) return false;
  Quiet q(quiet_);
  setDateTime(parsed);
  return true;
}

// ---- tree ------------------------------------------------------------------

TreeGadget::TreeGadget(QWidget* parent, int32_t) : QTreeWidget(parent), GadgetOps(GadgetKind::Tree) {
  setHeaderHidden(true);
  setColumnCount(1);
  QObject::connect(this, &QTreeWidget::itemClicked, [this] { notify(TK_TYPE_LEFT_CLICK); });
  QObject::connect(this, &QTreeWidget::itemDoubleClicked, [this] { notify(TK_TYPE_LEFT_DOUBLE); });
}

QList<QTreeWidgetItem*> TreeGadget::flat() const {
  QList<QTreeWidgetItem*> out;
  for (QTreeWidgetItemIterator it(const_cast<TreeGadget*>(this)); *it; ++it) out.push_back(*it);
  return out;
}

namespace {
int depth_of(const QTreeWidgetItem* item) {
  int d = 0;
  for (const QTreeWidgetItem* p = item->parent(); p; p = p->parent()) ++d;
  return d;
}
}  // namespace

bool TreeGadget::addItem(int32_t position, const QString& t, const QImage* icon, int32_t level) {
  const QList<QTreeWidgetItem*> items = flat();
  const int at = insert_index(position, int(items.size()));
  // The parent is the nearest item above at one level less; without one the
  // item goes to the root.
  QTreeWidgetItem* parent = nullptr;
  for (int i = at - 1; i >= 0 && level > 0; --i) {
    const int d = depth_of(items[i]);
    if (d == level - 1) {
      parent = items[i];
      break;
    }
    if (d < level - 1) break;
  }
  auto* item = new QTreeWidgetItem(QStringList{t});
  if (icon) item->setIcon(0, icon_of(icon));
  // Directly before the item that sat at `at`, when that one is a sibling.
  int index = parent ? parent->childCount() : topLevelItemCount();
  if (at < int(items.size()) && items[at]->parent() == parent)
    index = parent ? parent->indexOfChild(items[at]) : indexOfTopLevelItem(items[at]);
  if (parent) {
    parent->insertChild(index, item);
    parent->setExpanded(true);
  } else {
    insertTopLevelItem(index, item);
  }
  return true;
}

bool TreeGadget::removeItem(int32_t position) {
  const QList<QTreeWidgetItem*> items = flat();
  if (position < 0 || position >= int(items.size())) return false;
  delete items[position];
  return true;
}

bool TreeGadget::setState(int32_t index) {
  const QList<QTreeWidgetItem*> items = flat();
  if (index < -1 || index >= int(items.size())) return false;
  setCurrentItem(index == -1 ? nullptr : items[index]);
  return true;
}

int32_t TreeGadget::state() const { return int32_t(flat().indexOf(currentItem())); }

QString TreeGadget::text() const {
  const QTreeWidgetItem* it = currentItem();
  return it ? it->text(0) : QString();
}

bool TreeGadget::setText(const QString& t) {
  QTreeWidgetItem* it = currentItem();
  if (!it) return false;
  it->setText(0, t);
  return true;
}

// ---- editor ----------------------------------------------------------------

EditorGadget::EditorGadget(QWidget* parent, int32_t) : QTextEdit(parent), GadgetOps(GadgetKind::Editor) {
  setAcceptRichText(false);
  QObject::connect(this, &QTextEdit::textChanged, [this] {
    if (!quiet_) notify(TK_TYPE_CHANGED);
  });
}

bool EditorGadget::setText(const QString& t) {
  Quiet q(quiet_);
  setPlainText(t);
  return true;
}

namespace {
// Character offset where line `line` of the text starts, -1 beyond the end.
int line_start(const QString& text, int line) {
  int offset = 0;
  for (int i = 0; i < line; ++i) {
    const int nl = int(text.indexOf(QLatin1Char('\n'), offset));
    if (nl < 0) return -1;
    offset = nl + 1;
  }
  return offset;
}
}  // namespace

bool EditorGadget::addItem(int32_t position, const QString& t, const QImage*, int32_t) {
  Quiet q(quiet_);
  QTextCursor c(document());
  const int at = position < 0 ? -1 : line_start(toPlainText(), position);
  if (at < 0) c.movePosition(QTextCursor::End);
  else c.setPosition(at);
  c.insertText(t);
  return true;
}

bool EditorGadget::removeItem(int32_t position) {
  const QString all = toPlainText();
  const int from = position < 0 ? -1 : line_start(all, position);
  if (from < 0 || from > all.size()) return false;
  int to = int(all.indexOf(QLatin1Char('\n'), from));
  to = to < 0 ? int(all.size()) : to + 1;
  Quiet q(quiet_);
  QTextCursor c(document());
  c.setPosition(from);
  c.setPosition(to, QTextCursor::KeepAnchor);
  c.removeSelectedText();
  return true;
}

// ---- scroll bar ------------------------------------------------------------

ScrollBarGadget::ScrollBarGadget(QWidget* parent, int32_t minimum, int32_t maximum, int32_t page,
                                 int32_t flags)
    : QScrollBar((flags & 1) ? Qt::Vertical : Qt::Horizontal, parent),
      GadgetOps(GadgetKind::ScrollBar), minimum_(minimum), maximum_(maximum), page_(page) {
  applyRange();
  QObject::connect(this, &QScrollBar::valueChanged, [this] {
    if (!quiet_) notify(TK_TYPE_LEFT_CLICK);
  });
}

// The thumb covers a page, so the last position is maximum - page + 1.
void ScrollBarGadget::applyRange() {
  Quiet q(quiet_);
  const int32_t last = page_ > 0 ? maximum_ - page_ + 1 : maximum_;
  setRange(minimum_, std::max(minimum_, last));
  setPageStep(std::max(1, page_));
}

bool ScrollBarGadget::setState(int32_t position) {
  Quiet q(quiet_);
  setValue(position);
  return true;
}

bool ScrollBarGadget::setAttribute(int32_t attribute, int32_t value) {
  switch (attribute) {
    case 1: minimum_ = value; break;
    case 2: maximum_ = value; break;
    case 3: page_ = value; break;
    default: return false;
  }
  applyRange();
  return true;
}

int32_t ScrollBarGadget::attribute(int32_t attribute) const {
  switch (attribute) {
    case 1: return minimum_;
    case 2: return maximum_;
    case 3: return page_;
    default: return 0;
  }
}

}  // namespace tk
