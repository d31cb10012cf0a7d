// A main window around a TGL_Form on the Qt toolkit, and a way to answer the
// modal dialogs and message boxes it opens.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/main_window.h"
#include "platform/qt/qt_toolkit.h"
#include "window/gl_form.h"

// Each window starts as on a first run: nothing remembered from another test.
inline bool ForgetSettings() {
  QSettings(QStringLiteral("Kinemo"), QStringLiteral("kinemo")).clear();
  return true;
}

struct TWindowFixture {
  TQtToolkit tk;
  std::unique_ptr<TGL_Form> form = std::make_unique<TGL_Form>(tk);
  bool first_run = ForgetSettings();
  std::unique_ptr<TMainWindow> window = std::make_unique<TMainWindow>(*form);
  std::vector<std::string> messages; // texts of the message boxes shown
  bool answer_yes = false;           // how questions are answered
  QTimer box_closer;

  TWindowFixture() {
    form->UseDataFolder(KINEMO_BUILD_DATA_DIR);
    tk.Attach(window.get());
    window->resize(1200, 700); // the whole toolbar in view
    // Message boxes are modal: a poll records and closes them.
    box_closer.setInterval(5);
    QObject::connect(&box_closer, &QTimer::timeout, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        messages.push_back(box->text().toStdString());
        if (box->button(QMessageBox::Yes))
          box->button(answer_yes ? QMessageBox::Yes : QMessageBox::No)->click();
        else
          box->accept();
      }
    });
    box_closer.start();
  }
  ~TWindowFixture() { window.reset(); }

  // Shows the window and waits until it has the keyboard.
  bool ShowActive() {
    window->show();
    QApplication::setActiveWindow(window.get());
    return QTest::qWaitForWindowActive(window.get(), 2000);
  }

  // When the next modal dialog opens: `fill` it, then accept (ok) or reject it.
  // Message boxes opened after it are recorded and closed.
  void Answer(std::function<void(QDialog&)> fill, bool ok) {
    QTimer::singleShot(0, window.get(), [this, fill, ok] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      fill(*dialog);
      if (ok)
        dialog->accept();
      else
        dialog->reject();
    });
  }

  // Runs a menu command by its item name.
  void Trigger(const char* name) { window->Action(QString::fromLatin1(name))->trigger(); }
};
