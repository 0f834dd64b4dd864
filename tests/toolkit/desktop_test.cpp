// Desktop services: events posted from other threads, question boxes, the
// clipboard and window titles.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <thread>

#include "toolkit/tk.h"
#include "toolkit/tk_native.h"

TEST(Desktop, AWorkerThreadsEventArrivesInTheQueue) {
  const int32_t window = tk_open_window(-1, 0, 0, 200, 100, "posted", TK_WINDOW_HIDDEN);
  std::thread worker([window] { tk_post_event(window, 42); });
  worker.join();
  int32_t kind = TK_EVENT_NONE;
  for (int i = 0; i < 50 && kind != TK_EVENT_POSTED; ++i) kind = tk_wait_event(10);
  EXPECT_EQ(kind, TK_EVENT_POSTED);
  EXPECT_EQ(tk_last_event_window(), window);
  EXPECT_EQ(tk_last_event_menu(), 42);

  EXPECT_EQ(tk_set_window_title(window, "data.csv *"), 1);
  EXPECT_EQ(tk_window_widget(window)->windowTitle().toStdString(), "data.csv *");
  EXPECT_EQ(tk_set_clipboard_text("a\tb\n"), 1);
  EXPECT_EQ(tk_get_clipboard_text(), "a\tb\n");
  // The box answers with the button pressed, and Escape stays.
  const auto press = [](QMessageBox::StandardButton which) {
    QTimer::singleShot(50, [which] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box != nullptr) box->button(which)->click();
    });
  };
  const int32_t all = TK_ANSWER_SAVE | TK_ANSWER_DISCARD | TK_ANSWER_CANCEL;
  press(QMessageBox::Discard);
  EXPECT_EQ(tk_ask_question(window, "t", "Save?", all), TK_ANSWER_DISCARD);
  press(QMessageBox::Cancel);
  EXPECT_EQ(tk_ask_question(window, "t", "Save?", all), TK_ANSWER_CANCEL);
  tk_close_window(window);
}
