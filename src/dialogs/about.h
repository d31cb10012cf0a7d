// The About box: title, version, icon and credit lines.
#pragma once

#include <QDialog>

class QLabel;

class TDlgAbout : public QDialog {
public:
  explicit TDlgAbout(QWidget* parent = nullptr);

  QLabel* Label1; // title
  QLabel* Label4; // version
};
