// The program's window on an X server, shown at a given size once its OpenGL
// view has drawn a frame: where the window tests start.
#pragma once

#include <QTest>
#include <gtest/gtest.h>

#include "platform/qt/gl_view.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_toolkit.h"
#include "window/gl_form.h"

struct TShownWindow {
  TQtToolkit toolkit;
  TGL_Form form{toolkit};
  TMainWindow window{form};

  TShownWindow() {
    form.UseDataFolder(KINEMO_BUILD_DATA_DIR);
    toolkit.Attach(&window);
  }

  // Shows the window at width x height and waits for the view's first frame;
  // says why when it cannot.
  ::testing::AssertionResult Show(int width, int height) {
    if (!window.GLView) return ::testing::AssertionFailure() << "no OpenGL on this display";
    window.resize(width, height);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window, 5000))
      return ::testing::AssertionFailure() << "the window was never shown";
    if (!QTest::qWaitFor([&] { return window.GLView->FramesShown() > 0; }, 5000))
      return ::testing::AssertionFailure() << "the view drew no frame";
    return ::testing::AssertionSuccess();
  }
};
