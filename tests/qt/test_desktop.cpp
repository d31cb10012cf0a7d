// Whether the program may open a window, and how a stop signal closes it.
#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>

#include "io/stop_signals.h"
#include "platform/qt/desktop.h"

TEST(Desktop, AWindowNeedsADisplayOrAChosenPlatform) {
  struct TCase {
    const char *Qpa, *Display, *Wayland;
    bool Expected;
  } cases[] = {
      {nullptr, nullptr, nullptr, false},    {"", "", "", false},
      {nullptr, ":0", nullptr, true},        {nullptr, nullptr, "wayland-0", true},
      {"offscreen", nullptr, nullptr, true},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(DisplayAvailable(c.Qpa, c.Display, c.Wayland), c.Expected)
        << (c.Qpa ? c.Qpa : "-") << " " << (c.Display ? c.Display : "-");
}

// A stop signal closes the window as its close box does, a modal dialog first.
TEST(Desktop, AStopSignalClosesTheModalDialogThenTheWindow) {
  struct TWindow : QWidget {
    int Closes = 0;
    void closeEvent(QCloseEvent* e) override {
      ++Closes;
      QWidget::closeEvent(e);
    }
  };
  for (const int sig : {SIGINT, SIGTERM}) {
    TStopSignals stop;
    TWindow window;
    CloseOnStopSignal(window);
    window.show();
    QDialog dialog(&window);
    dialog.setModal(true);
    dialog.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &dialog);
    ::raise(sig);
    for (int i = 0; i < 250 && window.isVisible(); ++i)
      QTest::qWait(20);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(window.Closes, 1);
    EXPECT_EQ(TStopSignals::Received(), sig);
  }
}
