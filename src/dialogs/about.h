// The About box: title, version, icon and credit lines.
#pragma once

#include <QDialog>

class QIcon;
class QLabel;

class TDlgAbout : public QDialog {
public:
  // The window passes the program icon in, so dialogs need nothing of the platform.
  explicit TDlgAbout(const QIcon& icon, QWidget* parent = nullptr);

  QLabel* Label1; // title
  QLabel* Label4; // version
};
