#include "platform/qt/instruments_panel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "dialogs/number_entry.h"
#include "dialogs/translated.h"
#include "models/device_description.h"
#include "texts/quantity_text.h"
#include "window/gl_form.h"

namespace {

// A text of the device's description, in the window's language.
QString Text(const char* utf8) {
  return DeviceTr(utf8);
}

QGroupBox* Group(const QString& title, QWidget* contents) {
  auto* group = new QGroupBox(title);
  auto* layout = new QVBoxLayout(group);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(contents);
  return group;
}

QLabel* WrappedLabel(const QString& text) {
  auto* label = new QLabel(text);
  label->setWordWrap(true);
  return label;
}

} // namespace

TInstrumentsPanel::TInstrumentsPanel(TGL_Form& form, TDispatch dispatch, QWidget* parent)
    : QDockWidget(parent), form_(form), dispatch_(std::move(dispatch)) {
  SetTr(this, "windowTitle", QT_TRANSLATE_NOOP("Kinemo", "Instruments"));
  setObjectName(QStringLiteral("Instruments"));
  // Not floating: a separate window would keep the keys from the key map.
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
  setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
  setMinimumWidth(330);
  scroll_ = new QScrollArea(this);
  scroll_->setWidgetResizable(true);
  scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll_->setFrameShape(QFrame::NoFrame);
  setWidget(scroll_);
  separator_ = EntrySeparator();

  timer_.setInterval(kRefreshMs);
  connect(&timer_, &QTimer::timeout, this, [this] {
    FollowSelection();
    Refresh();
  });
  // Nothing is read while the panel is hidden.
  connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
    if (!visible) {
      timer_.stop();
      return;
    }
    FollowSelection();
    Refresh();
    timer_.start();
  });
}

void TInstrumentsPanel::FollowSelection() {
  if (!isVisible()) return;
  if (form_.Sim.RobSel != shown_index_ || form_.Sim.SetVersion() != shown_set_) Build();
}

void TInstrumentsPanel::Retranslate() {
  // Built again in the new language now, or when next shown.
  separator_ = EntrySeparator();
  shown_index_ = -1;
  FollowSelection();
  if (isVisible()) Refresh();
}

void TInstrumentsPanel::Build() {
  shown_index_ = form_.Sim.RobSel;
  shown_set_ = form_.Sim.SetVersion();
  shown_ = form_.Sim.Robots[static_cast<std::size_t>(shown_index_)];
  values_.clear();
  keys_.clear();
  parameters_.clear();
  const TDeviceDescription& d = shown_->Description();

  auto* content = new QWidget;
  auto* layout = new QVBoxLayout(content);
  auto* name = new QLabel(QStringLiteral("%1 · %2").arg(shown_index_).arg(Text(d.Name)));
  name->setObjectName(QStringLiteral("DeviceName"));
  QFont bold = name->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.25);
  name->setFont(bold);
  name->setWordWrap(true);
  layout->addWidget(name);
  auto* text = WrappedLabel(Text(d.Text));
  text->setObjectName(QStringLiteral("DeviceText"));
  layout->addWidget(text);
  layout->addWidget(Group(Tr(QT_TRANSLATE_NOOP("Kinemo", "Valeurs")), BuildValues(*shown_)));
  if (!d.Commands.empty())
    layout->addWidget(Group(Tr(QT_TRANSLATE_NOOP("Kinemo", "Touches")), BuildLegend(*shown_)));
  layout->addWidget(Group(Tr(QT_TRANSLATE_NOOP("Kinemo", "Paramètres")), BuildParameters(*shown_)));
  layout->addStretch(1);

  delete scroll_->takeWidget();
  scroll_->setWidget(content);
  ShowParameters();
}

QWidget* TInstrumentsPanel::BuildValues(const TRobot& robot) {
  auto* box = new QWidget;
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(8);
  grid->setColumnStretch(0, 1);
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  int row = 0;
  for (const TQuantityDescription& q : robot.Description().Quantities) {
    auto* label = WrappedLabel(Text(q.Label));
    auto* value = new QLabel;
    value->setObjectName(QStringLiteral("Value:") + QString::fromLatin1(q.Field));
    value->setFont(fixed);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Room for the widest 5-digit text, so that the column does not jump.
    value->setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QStringLiteral("-0.00012345")));
    grid->addWidget(label, row, 0);
    grid->addWidget(value, row, 1);
    grid->addWidget(new QLabel(Text(q.DisplayUnit())), row, 2);
    values_.push_back({FindField(robot, q.Field), q.Scale, value, q.ShownResolution()});
    ++row;
  }
  return box;
}

QWidget* TInstrumentsPanel::BuildLegend(const TRobot& robot) {
  auto* box = new QWidget;
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(10);
  grid->setColumnStretch(1, 1);
  int row = 0;
  bool keypad = false;
  for (const TCommandDescription& c : robot.Description().Commands) {
    QString caption;
    for (std::uint16_t key : c.Keys)
      caption += (caption.isEmpty() ? QString() : QStringLiteral(" / ")) +
                 DeviceTr(KeyCaption(key).c_str());
    auto* keys = new QLabel(QStringLiteral("<b>%1</b>").arg(caption));
    keys->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* action = WrappedLabel(Text(c.Action));
    grid->addWidget(keys, row, 0);
    grid->addWidget(action, row, 1);
    keys_.push_back({c.When ? FindField(robot, c.When) : TFieldRef{}, c.WhenOn, keys, action});
    for (std::uint16_t key : c.Keys)
      keypad = keypad || (key >= vk::Numpad0 && key <= vk::Numpad(9));
    ++row;
  }
  if (keypad) {
    auto* note = WrappedLabel(Tr(
        QT_TRANSLATE_NOOP("Kinemo", "Chiffres du pavé numérique (verr. num. active) ou de la "
                                    "rangée du haut. En gris : sans effet dans le mode actuel.")));
    QFont small = note->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    note->setFont(small);
    grid->addWidget(note, row, 0, 1, 2);
  }
  return box;
}

QWidget* TInstrumentsPanel::BuildParameters(const TRobot& robot) {
  const TDeviceDescription& d = robot.Description();
  if (d.Parameters.empty())
    return WrappedLabel(Tr(QT_TRANSLATE_NOOP("Kinemo", "Aucun paramètre réglable.")));
  auto* box = new QWidget;
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(8);
  grid->setColumnStretch(0, 1);
  int row = 0;
  int box_width = 0;
  for (const TParameterDescription& p : d.Parameters) {
    // Shown in the unit the live values use (degrees for an angle); the
    // device keeps its stored unit.
    const TParameterEditing e = EditingOf(p);
    auto* spin = new TNumberBox;
    spin->setObjectName(QString::fromLatin1(p.Field));
    spin->setDecimals(e.Decimals);
    spin->setRange(e.Min, e.Max);
    spin->setSingleStep(e.Step);
    spin->setKeyboardTracking(false); // a typed value counts once complete
    spin->setAccelerated(true);
    spin->setAlignment(Qt::AlignRight);
    // A box would take the focus from the wheel scrolling the panel past it,
    // and the next notches would change the device.
    spin->setFocusPolicy(Qt::StrongFocus);
    spin->installEventFilter(this);
    const int device = shown_index_;
    const char* field = p.Field;
    connect(spin, &QDoubleSpinBox::valueChanged, this, [this, device, field, e](double v) {
      dispatch_([this, device, field, v, e] { form_.SetParameter(device, field, e.Stored(v)); });
    });
    auto* label = WrappedLabel(Text(p.Label));
    label->setBuddy(spin);
    // Beside the box rather than in it: a gain's unit says how it acts, and
    // wraps where a box could not.
    auto* unit = WrappedLabel(Text(p.DisplayUnit()));
    grid->addWidget(label, row, 0);
    grid->addWidget(spin, row, 1);
    grid->addWidget(unit, row, 2);
    box_width = std::max(box_width, spin->sizeHint().width());
    parameters_.push_back({&p, e.Scale, FindField(robot, p.Field), spin});
    ++row;
  }
  // One width for every box, so that the values line up.
  for (const TParameterRow& r : parameters_)
    r.Box->setFixedWidth(box_width);
  auto* defaults = new QPushButton(Tr(QT_TRANSLATE_NOOP("Kinemo", "Valeurs d'origine")));
  defaults->setObjectName(QStringLiteral("Defaults"));
  // A button with the focus would take the space bar (the single step).
  defaults->setFocusPolicy(Qt::NoFocus);
  connect(defaults, &QPushButton::clicked, this, [this] {
    const int device = shown_index_;
    dispatch_([this, device] { form_.RestoreParameters(device); });
    for (const TParameterRow& row : parameters_)
      row.Box->clearFocus();
    ShowParameters();
  });
  grid->addWidget(defaults, row, 0, 1, 3);
  return box;
}

void TInstrumentsPanel::Refresh() {
  ++refreshes_;
  for (const TValueRow& row : values_) {
    // Numbers as they are; the words of a flag ("oui", "non") translated.
    const std::string shown = QuantityText(row.Field, row.Scale, separator_, row.Resolution);
    const QString text = DeviceTr(shown.c_str());
    if (row.Value->text() != text) row.Value->setText(text);
    // The full value, for whoever needs more than the digits that matter.
    const QString full = QString::number(row.Field.Get() * row.Scale, 'g', 17);
    if (row.Value->toolTip() != full) row.Value->setToolTip(full);
  }
  for (const TKeyRow& row : keys_) {
    const bool acts = !row.When || (row.When.Get() != 0) == row.WhenOn;
    if (row.Action->isEnabled() != acts) {
      row.Keys->setEnabled(acts);
      row.Action->setEnabled(acts);
    }
  }
  ShowParameters();
}

void TInstrumentsPanel::ShowParameters() {
  for (const TParameterRow& row : parameters_) {
    // The box being edited keeps what the user is typing.
    if (row.Box->hasFocus()) continue;
    const double v = row.Field.Get();
    const double shown = v * row.Scale;
    const double tolerance = 0.5 * std::pow(10.0, -row.Box->decimals());
    if (std::fabs(row.Box->value() - shown) > tolerance) {
      const QSignalBlocker block(row.Box);
      row.Box->setValue(shown);
    }
    // The value as stored, as scenes and `param:` write it, in full; the
    // range and the original value in the same unit.
    const TParameterDescription& p = *row.Parameter;
    const QString unit = *p.Unit ? QStringLiteral(" ") + Text(p.Unit) : QString();
    const QLocale locale;
    const QString tip = Tr(QT_TRANSLATE_NOOP("Kinemo", "%1 = %2 (de %3 à %4, %5 à l'origine)"))
                            .arg(QString::fromLatin1(p.Field),
                                 locale.toString(v, 'g', QLocale::FloatingPointShortest) + unit,
                                 locale.toString(p.Min), locale.toString(p.Max),
                                 locale.toString(p.Default, 'g', 6));
    if (row.Box->toolTip() != tip) row.Box->setToolTip(tip);
  }
}

void TInstrumentsPanel::closeEvent(QCloseEvent* event) {
  QDockWidget::closeEvent(event);
  if (OnClosed) OnClosed();
}

bool TInstrumentsPanel::eventFilter(QObject* watched, QEvent* event) {
  auto* box = qobject_cast<QDoubleSpinBox*>(watched);
  if (!box) return QDockWidget::eventFilter(watched, event);
  if (event->type() == QEvent::Wheel && !box->hasFocus()) {
    // The wheel scrolls the panel; only a box being edited takes it.
    QApplication::sendEvent(scroll_->verticalScrollBar(), event);
    return true;
  }
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
      if (key == Qt::Key_Escape) {
        // Leaving the box would take what was typed: leave it unheard, then
        // show the device's value again.
        const QSignalBlocker block(box);
        box->clearFocus();
      } else {
        box->interpretText();
        box->clearFocus();
      }
      ShowParameters();
      if (OnEditDone) OnEditDone();
      return true;
    }
  }
  return QDockWidget::eventFilter(watched, event);
}
