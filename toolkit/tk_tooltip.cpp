// Balloon tooltips: there is no tooltip window class to attach, so a filter
// on the gadget's widget shows a styled popup.
#include <QEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QPalette>
#include <QPointer>
#include <QWidget>

#include "toolkit/tk.h"
#include "toolkit/tk_native.h"

namespace {

constexpr int kMaxTipWidth = 180;  // wrap longer texts onto more lines

// Lives as a child of the gadget's widget, so it goes with the gadget.
class BalloonTip : public QObject {
 public:
  BalloonTip(QWidget* owner, const std::string& text, const std::string& title)
      : QObject(owner), owner_(owner) {
    text_ = QString::fromUtf8(text.c_str()).toHtmlEscaped();
    if (!title.empty())
      text_ = "<b>" + QString::fromUtf8(title.c_str()).toHtmlEscaped() + "</b><br>" + text_;
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != owner_) return false;
    switch (event->type()) {
      case QEvent::ToolTip:
        show_at(static_cast<QHelpEvent*>(event)->globalPos());
        return true;
      case QEvent::Leave:
      case QEvent::Hide:
      case QEvent::MouseButtonPress:
        if (popup_) popup_->hide();
        break;
      default:
        break;
    }
    return false;
  }

 private:
  void show_at(const QPoint& globalPos) {
    if (!popup_) {
      popup_ = new QLabel(owner_, Qt::ToolTip | Qt::FramelessWindowHint);
      popup_->setAttribute(Qt::WA_TranslucentBackground);
      popup_->setTextFormat(Qt::RichText);
      popup_->setMargin(6);
      // The tooltip colours exchanged: a dark balloon with light text.
      const QPalette palette = owner_->palette();
      const QColor back = palette.color(QPalette::ToolTipText);
      const QColor front = palette.color(QPalette::ToolTipBase);
      popup_->setStyleSheet(QString("QLabel { background-color: %1; color: %2; "
                                    "border-radius: 6px; }")
                                .arg(back.name(), front.name()));
      popup_->setText(text_);
      // One line while it fits; longer texts wrap at the balloon's width.
      if (popup_->sizeHint().width() > kMaxTipWidth) {
        popup_->setWordWrap(true);
        popup_->setFixedWidth(kMaxTipWidth);
      }
    }
    popup_->adjustSize();
    popup_->move(globalPos + QPoint(8, 16));
    popup_->show();
  }

  QWidget* owner_;
  QString text_;
  QPointer<QLabel> popup_;
};

}  // namespace

void tk_attach_tooltip(int32_t handle, const std::string& text, const std::string& title) {
  QWidget* owner = tk_native_widget(handle);
  if (owner == nullptr || text.empty()) return;
  // Screen readers read the tip as the description, and as the name of a
  // gadget that has none of its own.
  owner->setAccessibleDescription(QString::fromUtf8(text.c_str()));
  if (owner->accessibleName().isEmpty()) owner->setAccessibleName(QString::fromUtf8(text.c_str()));
  owner->installEventFilter(new BalloonTip(owner, text, title));
}
