#include "dialogs/about.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "dialogs/dialog_frame.h"
#include "dialogs/translated.h"

TDlgAbout::TDlgAbout(const QIcon& icon, QWidget* parent) : QDialog(parent) {
  SetFixedForm(*this, QT_TRANSLATE_NOOP("Kinemo", "About"), 256, 175);

  auto* bevel = new QFrame(this);
  bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
  bevel->setGeometry(8, 8, 241, 121);

  auto* image1 = new QLabel(this);
  image1->setObjectName(QStringLiteral("Image1"));
  image1->setGeometry(32, 32, 32, 32);
  image1->setPixmap(icon.pixmap(32, 32));

  auto place = [this](const char* name, const char* text, int x, int y) {
    auto* label = new QLabel(this);
    SetTr(label, "text", text);
    label->setObjectName(QString::fromLatin1(name));
    label->move(x, y);
    return label;
  };
  Label1 = place("Label1", QT_TRANSLATE_NOOP("Kinemo", "Kinemo"), 88, 24);
  QFont title = Label1->font();
  title.setBold(true);
  Label1->setFont(title);
  Label1->adjustSize();
  Label4 = place("Label4", QT_TRANSLATE_NOOP("Kinemo", "v 2.3"), 90, 43);
  place("Label2", QT_TRANSLATE_NOOP("Kinemo", "Robots, moteurs linéaires"), 88, 72);
  place("Label3", QT_TRANSLATE_NOOP("Kinemo", "Logiciel libre, 2024"), 88, 96);

  auto* ok = new QPushButton(this);
  SetTr(ok, "text", QT_TRANSLATE_NOOP("Kinemo", "OK"));
  ok->setObjectName(QStringLiteral("OKBtn"));
  ok->setGeometry(90, 136, 75, 33);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
