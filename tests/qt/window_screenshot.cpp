// "Capture d'écran…" on the real window (run under xvfb-run, also with a device
// pixel ratio of 2): the PNG holds the view's own frame at its size in device
// pixels; a file that cannot be written is said so, with its path.
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/qt/gl_view.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_toolkit.h"
#include "shown_window.h"
#include "window/gl_form.h"

namespace {
namespace KINEMO_UNITY_ID {

TEST(WindowScreenshot, ThePngIsTheViewsFrameInDevicePixels) {
  TShownWindow shown;
  ASSERT_TRUE(shown.Show(613, 390));
  [[maybe_unused]] auto& [toolkit, form, window] = shown;
  // On a loaded machine the view may be shown before it takes its screen's
  // scale; the PNG is compared once the view and the window agree on it.
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return window.GLView->devicePixelRatio() == window.devicePixelRatio(); }, 5000));

  const QString path = QDir::temp().filePath(QStringLiteral("kinemo_window_screenshot.png"));
  ASSERT_TRUE(window.SaveScreenshot(path));
  QImage saved(path);
  QImage grab = window.GLView->grabFramebuffer();
  ASSERT_FALSE(saved.isNull());
  EXPECT_EQ(saved.size(), QSize(window.GLView->PixelWidth(), window.GLView->PixelHeight()));
  grab.setDevicePixelRatio(1);
  EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB888),
            grab.convertToFormat(QImage::Format_RGB888));
  QFile::remove(path);

  // Message boxes are modal: a poll records and closes them.
  QStringList messages;
  QTimer closer;
  closer.setInterval(5);
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      messages << box->text();
      box->accept();
    }
  });
  closer.start();
  const QString nowhere = QStringLiteral("/nonexistent-folder/shot.png");
  EXPECT_FALSE(window.SaveScreenshot(nowhere));
  ASSERT_EQ(messages.size(), 1);
  // In French whatever the system's language, as every message of the window.
  EXPECT_EQ(messages[0], QStringLiteral("La capture d'écran n'a pas pu être enregistrée :\n") +
                             nowhere + QStringLiteral("\n(fichier ou dossier introuvable)"));
  window.close();
}

TEST(WindowScreenshot, TheProposedNameCarriesTheDateAndTime) {
  EXPECT_EQ(TMainWindow::ScreenshotName(QDateTime(QDate(2024, 5, 14), QTime(15, 30, 12))),
            QStringLiteral("kinemo-2024-05-14-153012.png"));
}

} // namespace KINEMO_UNITY_ID
} // namespace
