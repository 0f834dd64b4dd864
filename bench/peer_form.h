// The demo's screen written as a plain Qt Widgets form: the peer of the
// reaction benchmarks (bench_demo) and, as a program of its own
// (peer_form_window), of the start-up figures. Plain Qt only.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWidget>

#include <chrono>

namespace peer {

using Clock = std::chrono::steady_clock;

inline double seconds_since(Clock::time_point t0) {
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

// A left press and release posted to a widget, as the window system would
// deliver them; nothing is handled before the loop runs.
inline void post_left_click(QWidget* w, QPointF local, QPointF global) {
  QCoreApplication::postEvent(w, new QMouseEvent(QEvent::MouseButtonPress, local, global,
                                                 Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
  QCoreApplication::postEvent(w, new QMouseEvent(QEvent::MouseButtonRelease, local, global,
                                                 Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}

// Counts the paint events of one window's widgets.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* window) : window_(window) {}
  int count = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == window_)
      ++count;
    return false;
  }

 private:
  QWidget* window_;
};

// The demo's screen in plain Qt Widgets, as a form designer would lay it
// out: a sidebar with tabs, a case tree and tool buttons; a head area
// behind an arrow button with three tab pages of inputs and combos; a main
// area with version tabs and two item views of the demo's grid data.
struct PeerForm {
  QWidget window;
  QToolButton* arrow = nullptr;
  QWidget* head = nullptr;
  QTreeView* config = nullptr;
  QStandardItemModel configModel, calcModel, casesModel;
  PaintCounter paints{&window};
  bool toggled = false;

  PeerForm() {
    window.setWindowTitle("Peer form");
    window.move(220, 11);
    window.resize(1024, 710);
    auto* split = new QSplitter(&window);
    auto* outer = new QHBoxLayout(&window);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(split);

    auto* side = new QTabWidget;
    auto* cases = new QWidget;
    auto* casesLayout = new QVBoxLayout(cases);
    auto* tree = new QTreeView;
    tree->setHeaderHidden(true);
    for (const char* text : {"Case No. 4711", "Case Database", "My Queries"}) {
      auto* item = new QStandardItem(text);
      for (const char* child : {"Issues", "Workflows", "Documents"})
        item->appendRow(new QStandardItem(child));
      casesModel.appendRow(item);
    }
    tree->setModel(&casesModel);
    tree->expandAll();
    casesLayout->addWidget(tree);
    auto* tools = new QHBoxLayout;
    for (const char* text : {"+", "copy", "sync", "", ""}) {
      auto* button = new QToolButton;
      button->setText(text);
      tools->addWidget(button);
    }
    casesLayout->addLayout(tools);
    side->addTab(cases, "Cases");
    side->addTab(new QWidget, "Partners");
    side->addTab(new QWidget, "Products");
    split->addWidget(side);

    auto* centre = new QWidget;
    auto* centreLayout = new QVBoxLayout(centre);
    arrow = new QToolButton;
    arrow->setArrowType(Qt::DownArrow);
    centreLayout->addWidget(arrow);
    auto* headTabs = new QTabWidget;
    auto* caseData = new QWidget;
    auto* form = new QFormLayout(caseData);
    for (const char* text : {"Case No.", "Creator/Create-Date", "Case Caption"})
      form->addRow(text, new QLineEdit("4711"));
    for (const char* text : {"Case Type", "Resp. Person", "Case Phase", "Case Status"}) {
      auto* combo = new QComboBox;
      combo->addItems({"Inquiry", "Request", "Service", "Suggestion"});
      form->addRow(text, combo);
    }
    headTabs->addTab(caseData, "Case Data");
    headTabs->addTab(new QLineEdit("4711"), "Customer Data");
    headTabs->addTab(new QLineEdit("4711"), "Head Texts");
    head = headTabs;
    centreLayout->addWidget(head);
    QObject::connect(arrow, &QToolButton::clicked, [this] {
      head->setVisible(!head->isVisible());
      arrow->setArrowType(head->isVisible() ? Qt::DownArrow : Qt::RightArrow);
      toggled = true;
    });

    auto* versions = new QTabWidget;
    auto* data = new QTabWidget;
    auto* general = new QWidget;
    auto* generalForm = new QFormLayout(general);
    generalForm->addRow("Version Caption", new QLineEdit);
    generalForm->addRow("Version Type", new QComboBox);
    data->addTab(general, "General Version Data");
    auto* matrix = new QWidget;
    auto* matrixLayout = new QVBoxLayout(matrix);
    config = new QTreeView;
    configModel.setHorizontalHeaderLabels({"entity", "class", "property", "comment (editable)"});
    for (const char* top : {"test", "test2"}) {
      QList<QStandardItem*> parent{new QStandardItem(top), new QStandardItem("[parent]")};
      for (const char* group : {"A", "B"}) {
        QList<QStandardItem*> mid{new QStandardItem(top), new QStandardItem(group),
                                  new QStandardItem("[parent]")};
        for (const char* leaf : {"chair", "table"})
          mid.first()->appendRow({new QStandardItem(top), new QStandardItem(group),
                                  new QStandardItem(leaf), new QStandardItem("No comment")});
        parent.first()->appendRow(mid);
      }
      configModel.appendRow(parent);
    }
    config->setModel(&configModel);
    matrixLayout->addWidget(config);
    auto* calc = new QTreeView;
    calcModel.setHorizontalHeaderLabels({"col A (locked)", "col B", "col C (right)"});
    for (int i = 1; i <= 5; ++i) {
      const QString n = QString::number(i);
      calcModel.appendRow({new QStandardItem("cell A" + n), new QStandardItem("cell B" + n),
                           new QStandardItem("cell C" + n)});
    }
    calc->setModel(&calcModel);
    calc->setRootIsDecorated(false);
    matrixLayout->addWidget(calc);
    data->addTab(matrix, "grid matrix");
    data->setCurrentIndex(1);
    versions->addTab(data, "Version 1");
    versions->addTab(new QWidget, "Version 2");
    centreLayout->addWidget(versions);
    split->addWidget(centre);
    split->setSizes({220, 800});

    qApp->installEventFilter(&paints);
    window.show();
    config->setFocus();
    config->setCurrentIndex(configModel.index(0, 0));
    settle();
  }
  ~PeerForm() { qApp->removeEventFilter(&paints); }

  void settle() {
    const auto t0 = Clock::now();
    while (seconds_since(t0) < 0.2) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  void post_click(QWidget* w) {
    const QPointF local(w->width() / 2.0, w->height() / 2.0);
    post_left_click(w, local, w->mapToGlobal(local));
  }
  void post_key(QWidget* w, Qt::Key key) {
    QCoreApplication::postEvent(w, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    QCoreApplication::postEvent(w, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
  }
  // Handles events until `reacted` holds and the window has been painted
  // after that; false after 2 s.
  template <typename Reacted>
  bool run_until_redrawn(Reacted reacted) {
    const auto t0 = Clock::now();
    int before = -1;
    while (seconds_since(t0) < 2) {
      QCoreApplication::processEvents();
      if (before < 0 && reacted()) before = paints.count;
      else if (before >= 0 && paints.count > before) return true;
    }
    return false;
  }
};

}  // namespace peer
