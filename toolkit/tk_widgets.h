#pragma once
// The Qt widgets behind windows and gadgets. Each gadget kind answers the
// generic gadget operations through GadgetOps; what a kind does not support
// keeps the default, which does nothing and reports failure.
//
// Sections: gadget interface · window · plain kinds · list kinds ·
// containers · splitter · image gadget · the rest.
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextEdit>
#include <QTreeWidget>
#include <QWidget>

#include <algorithm>
#include <cstdint>

namespace tk {

// ---- gadget interface ------------------------------------------------------

enum class GadgetKind {
  Text, String, Combo, List, Container, Splitter, Image,
  Button, CheckBox, Date, Tree, Editor, ScrollArea, ScrollBar
};

// Packed 0xBBGGRR colour as a Qt colour.
QColor to_qcolor(int32_t colour);

class GadgetOps {
 public:
  explicit GadgetOps(GadgetKind k) : kind(k) {}
  virtual ~GadgetOps() = default;
  virtual QWidget* widget() = 0;

  virtual bool setState(int32_t) { return false; }
  virtual int32_t state() const { return 0; }
  virtual bool setText(const QString&) { return false; }
  virtual QString text() const { return {}; }
  virtual bool addItem(int32_t /*position*/, const QString&, const QImage* /*icon*/,
                       int32_t /*flags*/) {
    return false;
  }
  virtual bool removeItem(int32_t) { return false; }
  virtual bool setAttribute(int32_t, int32_t) { return false; }
  virtual int32_t attribute(int32_t) const { return 0; }
  // Kind 1 front (text) colour, kind 2 background; -1 restores the default.
  virtual bool setColour(int32_t colourKind, int32_t colour);
  // Where gadgets go while this gadget is the open gadget list; nullptr for
  // kinds that cannot hold gadgets.
  virtual QWidget* childArea() { return nullptr; }
  // Places the widget; kinds whose visible size differs from the requested
  // one (the combo box) override it.
  virtual void place(const QRect& requested) { widget()->setGeometry(requested); }
  virtual int32_t reportedHeight() { return widget()->height(); }

  const GadgetKind kind;
  int32_t number = 0;  // gadget number
  int32_t windowNumber = 0;  // window the gadget's events name

 protected:
  // Posts a gadget event of this gadget.
  void notify(int32_t type) const;
  // Rebuilds the palette from the application's with the colours set here.
  void applyColours();
  int32_t front_ = -1, back_ = -1;
  // Set while the toolkit itself changes the widget, so that only the
  // user's changes are reported.
  bool quiet_ = false;
};

// The ops of a widget or of its nearest gadget ancestor (the edit field
// inside a combo box answers as the combo box); nullptr when none.
GadgetOps* ops_of(QWidget* w);

// ---- window ----------------------------------------------------------------

// A top-level window: the menu bar over the client area. The inner height
// counts the menu bar in.
class TopWindow : public QWidget {
 public:
  explicit TopWindow(int32_t number);
  QWidget* client() const { return client_; }
  QMenuBar* menuBar() const { return menuBar_; }
  QMenuBar* createMenuBar();
  int32_t number() const { return number_; }
  int32_t menuHeight() const;
  void relayout();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void changeEvent(QEvent* e) override;
  bool event(QEvent* e) override;

 private:
  int32_t number_;
  QWidget* client_;
  QMenuBar* menuBar_ = nullptr;
  double shownRatio_;  // display scale the window last showed at
};

// ---- plain kinds -----------------------------------------------------------

class TextGadget : public QLabel, public GadgetOps {
 public:
  TextGadget(QWidget* parent, const QString& text);
  QWidget* widget() override { return this; }
  bool setText(const QString& t) override;
  QString text() const override { return QLabel::text(); }
};

class StringGadget : public QLineEdit, public GadgetOps {
 public:
  StringGadget(QWidget* parent, const QString& text, int32_t flags);
  QWidget* widget() override { return this; }
  bool setText(const QString& t) override;
  QString text() const override { return QLineEdit::text(); }

 protected:
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
};

// ---- list kinds ------------------------------------------------------------

class ComboGadget : public QComboBox, public GadgetOps {
 public:
  ComboGadget(QWidget* parent, int32_t flags);
  QWidget* widget() override { return this; }
  bool setState(int32_t index) override;
  int32_t state() const override { return currentIndex(); }
  bool setText(const QString& t) override;
  QString text() const override { return currentText(); }
  bool addItem(int32_t position, const QString& t, const QImage* icon, int32_t flags) override;
  bool removeItem(int32_t position) override;
  void place(const QRect& requested) override;
  int32_t reportedHeight() override { return requestedHeight_; }
  void showPopup() override;
  bool listOpen() const { return listOpen_; }

  // The closed box is one line high whatever height is requested.
  static constexpr int kClosedHeight = 20;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  int32_t requestedHeight_ = 0;
  bool listOpen_ = false;
};

class ListGadget : public QListWidget, public GadgetOps {
 public:
  ListGadget(QWidget* parent, int32_t flags);
  QWidget* widget() override { return this; }
  bool setState(int32_t index) override;
  int32_t state() const override { return currentRow(); }
  bool setText(const QString& t) override;
  QString text() const override;
  bool addItem(int32_t position, const QString& t, const QImage* icon, int32_t flags) override;
  bool removeItem(int32_t position) override;
  int32_t attribute(int32_t attribute) const override;
};

// ---- containers ------------------------------------------------------------

class ContainerGadget : public QWidget, public GadgetOps {
 public:
  ContainerGadget(QWidget* parent, int32_t flags);
  QWidget* widget() override { return this; }
  bool setColour(int32_t colourKind, int32_t colour) override;
  QWidget* childArea() override { return this; }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  bool border_;
};

class ScrollAreaGadget : public QScrollArea, public GadgetOps {
 public:
  ScrollAreaGadget(QWidget* parent, int32_t innerWidth, int32_t innerHeight, int32_t step);
  QWidget* widget() override { return this; }
  QWidget* childArea() override { return inner_; }
  bool setColour(int32_t colourKind, int32_t colour) override;
  // 1 inner width, 2 inner height, 3 x scroll position, 4 y, 5 scroll step.
  bool setAttribute(int32_t attribute, int32_t value) override;
  int32_t attribute(int32_t attribute) const override;

 private:
  QWidget* inner_;  // the scrolled area that holds the children
  int32_t step_;
};

// ---- splitter --------------------------------------------------------------

// Pure geometry of a splitter, shared by layout, painting and dragging.
struct SplitterGeometry {
  int32_t length = 0;  // extent along the bar's axis of movement
  int32_t bar = 0;     // bar thickness
  int32_t position = 0;
  int32_t firstMinimum = 0, secondMinimum = 0;

  // Where a drag to `wanted` leaves the bar: inside the minimum sizes, the
  // first one winning when both cannot hold.
  int32_t dragged(int32_t wanted) const;
  // Where a position set by the program lands: anywhere the bar fits.
  int32_t placed(int32_t wanted) const;
  int32_t secondStart() const { return position + bar; }
  int32_t secondLength() const { return std::max(0, length - position - bar); }
};

class SplitterGadget : public QWidget, public GadgetOps {
 public:
  SplitterGadget(QWidget* parent, QWidget* first, QWidget* second, int32_t flags);
  QWidget* widget() override { return this; }
  bool setState(int32_t position) override;
  int32_t state() const override { return geometry_.position; }
  bool setAttribute(int32_t attribute, int32_t value) override;
  int32_t attribute(int32_t attribute) const override;
  QRect barRect() const;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void layoutChildren();
  // Takes the current extent along the bar's axis into the geometry.
  void measure() { geometry_.length = vertical_ ? width() : height(); }
  int32_t along(const QPoint& p) const { return vertical_ ? p.x() : p.y(); }

  QPointer<QWidget> first_, second_;
  bool vertical_;
  SplitterGeometry geometry_;
  int32_t dragOffset_ = -1;  // -1 while not dragging
};

// ---- image gadget ----------------------------------------------------------

class ImageGadget : public QWidget, public GadgetOps {
 public:
  ImageGadget(QWidget* parent, int32_t bitmapHandle);
  QWidget* widget() override { return this; }
  // A tab bar is a container: its gadgets lie over its picture and are
  // hidden and moved with it.
  QWidget* childArea() override { return this; }
  // The state is the bitmap handle; the gadget shows that image as it is,
  // and keeps its last picture when the image is freed.
  bool setState(int32_t bitmapHandle) override;
  int32_t state() const override { return handle_; }
  // The image behind the shown handle was drawn into or rescaled.
  void refresh();
  // The image behind the shown handle is being freed; `last` is its picture.
  void keep(const QImage& last);
  int32_t pixel(int32_t x, int32_t y) const;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  const QImage& picture() const;

  int32_t handle_ = 0;
  QImage kept_;  // the picture of a freed image, null while the image lives
};

// ---- the rest --------------------------------------------------------------

class ButtonGadget : public QPushButton, public GadgetOps {
 public:
  ButtonGadget(QWidget* parent, const QString& text, int32_t flags);
  QWidget* widget() override { return this; }
  bool setState(int32_t pressed) override;
  int32_t state() const override { return isChecked() ? 1 : 0; }
  bool setText(const QString& t) override;
  QString text() const override { return QPushButton::text(); }
};

class CheckBoxGadget : public QCheckBox, public GadgetOps {
 public:
  CheckBoxGadget(QWidget* parent, const QString& text, int32_t flags);
  QWidget* widget() override { return this; }
  bool setState(int32_t checked) override;
  int32_t state() const override;
  bool setText(const QString& t) override;
  QString text() const override { return QCheckBox::text(); }
};

class DateGadget : public QDateTimeEdit, public GadgetOps {
 public:
  // The mask uses %yyyy %yy %mm %dd %hh %ii %ss; the date is seconds since
  // 1970 (0 = now).
  DateGadget(QWidget* parent, const QString& mask, int32_t date);
  QWidget* widget() override { return this; }
  bool setState(int32_t seconds) override;
  int32_t state() const override;
  bool setText(const QString& t) override;
  QString text() const override { return QDateTimeEdit::text(); }
  static QString qt_format(const QString& mask);
};

class TreeGadget : public QTreeWidget, public GadgetOps {
 public:
  TreeGadget(QWidget* parent, int32_t flags);
  QWidget* widget() override { return this; }
  // Items are addressed by their index in display order; the flags of an
  // added item are its level below the root.
  bool setState(int32_t index) override;
  int32_t state() const override;
  QString text() const override;
  bool setText(const QString& t) override;
  bool addItem(int32_t position, const QString& t, const QImage* icon, int32_t level) override;
  bool removeItem(int32_t position) override;

 private:
  QList<QTreeWidgetItem*> flat() const;
};

class EditorGadget : public QTextEdit, public GadgetOps {
 public:
  EditorGadget(QWidget* parent, int32_t flags);
  QWidget* widget() override { return this; }
  bool setText(const QString& t) override;
  QString text() const override { return toPlainText(); }
  // Items are lines; an added text is inserted as it is (it carries its own
  // line end).
  bool addItem(int32_t position, const QString& t, const QImage* icon, int32_t flags) override;
  bool removeItem(int32_t position) override;
};

class ScrollBarGadget : public QScrollBar, public GadgetOps {
 public:
  ScrollBarGadget(QWidget* parent, int32_t minimum, int32_t maximum, int32_t page,
                  int32_t flags);
  QWidget* widget() override { return this; }
  bool setState(int32_t position) override;
  int32_t state() const override { return value(); }
  // 1 minimum, 2 maximum, 3 page length.
  bool setAttribute(int32_t attribute, int32_t value) override;
  int32_t attribute(int32_t attribute) const override;

 private:
  void applyRange();
  int32_t minimum_, maximum_, page_;
};

}  // namespace tk
