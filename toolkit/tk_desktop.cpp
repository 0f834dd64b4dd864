// Desktop services: events posted from worker threads, question boxes, file
// dialogs, the clipboard and window titles.
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>

#include "toolkit/tk.h"
#include "toolkit/tk_internal.h"
#include "toolkit/tk_widgets.h"

using namespace tk;

int32_t tk_post_event(int32_t window, int32_t code) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr) return 0;
  // A queued call runs on the application's thread, which owns the queue;
  // posting a Qt event is safe from any thread.
  QMetaObject::invokeMethod(
      app, [window, code] { post_event(TK_EVENT_POSTED, window, code, -1); },
      Qt::QueuedConnection);
  return 1;
}

int32_t tk_ask_question(int32_t window, const std::string& title, const std::string& text,
                        int32_t buttons) {
  if (QCoreApplication::instance() == nullptr) return TK_ANSWER_CANCEL;
  QMessageBox box(QMessageBox::Question, QString::fromStdString(title),
                  QString::fromStdString(text), QMessageBox::NoButton, find_window(window));
  const struct {
    int32_t answer;
    QMessageBox::StandardButton button;
  } kButtons[] = {{TK_ANSWER_SAVE, QMessageBox::Save},
                  {TK_ANSWER_DISCARD, QMessageBox::Discard},
                  {TK_ANSWER_YES, QMessageBox::Yes},
                  {TK_ANSWER_NO, QMessageBox::No},
                  {TK_ANSWER_CANCEL, QMessageBox::Cancel}};
  for (const auto& b : kButtons)
    if (buttons & b.answer) box.addButton(b.button);
  box.setEscapeButton((buttons & TK_ANSWER_CANCEL) ? QMessageBox::Cancel : QMessageBox::No);
  const int chosen = box.exec();
  for (const auto& b : kButtons)
    if (chosen == b.button) return b.answer;
  return (buttons & TK_ANSWER_CANCEL) ? TK_ANSWER_CANCEL : TK_ANSWER_NO;
}

namespace {
QString folder_of(const std::string& start) {
  return start.empty() ? QString() : QFileInfo(QString::fromStdString(start)).absolutePath();
}
}  // namespace

std::string tk_open_file_dialog(int32_t window, const std::string& title,
                                const std::string& start, const std::string& filter) {
  if (QCoreApplication::instance() == nullptr) return {};
  return QFileDialog::getOpenFileName(find_window(window), QString::fromStdString(title),
                                      folder_of(start), QString::fromStdString(filter))
      .toStdString();
}

std::string tk_save_file_dialog(int32_t window, const std::string& title,
                                const std::string& start, const std::string& filter) {
  if (QCoreApplication::instance() == nullptr) return {};
  return QFileDialog::getSaveFileName(find_window(window), QString::fromStdString(title),
                                      QString::fromStdString(start), QString::fromStdString(filter))
      .toStdString();
}

int32_t tk_set_clipboard_text(const std::string& text) {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return 0;
  QGuiApplication::clipboard()->setText(QString::fromStdString(text));
  return 1;
}

std::string tk_get_clipboard_text() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return {};
  return QGuiApplication::clipboard()->text().toStdString();
}

int32_t tk_set_window_title(int32_t window, const std::string& title) {
  TopWindow* w = find_window(window);
  if (w == nullptr) return 0;
  w->setWindowTitle(QString::fromStdString(title));
  return 1;
}
