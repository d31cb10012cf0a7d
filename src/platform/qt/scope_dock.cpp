#include "platform/qt/scope_dock.h"

#include <qcustomplot.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "dialogs/number_entry.h"
#include "dialogs/translated.h"
#include "files/csv_export.h"
#include "models/device_description.h"
#include "sim/scene.h"
#include "sim/scope_history.h"
#include "window/gl_form.h"

namespace {

const QColor kColours[TScopeDock::kTraces] = {QColor(0x1f, 0x77, 0xb4), QColor(0xd6, 0x27, 0x28),
                                              QColor(0x2c, 0xa0, 0x2c), QColor(0x94, 0x67, 0xbd)};

const TQuantityDescription& QuantityOf(const TScopeHistory& h, int channel) {
  return *h.Channels()[static_cast<std::size_t>(channel)].Quantity;
}

// "8 · PendTheta — Angle du pendule [°]": device, field, label, unit as shown.
QString TraceName(const TScopeHistory& h, int channel) {
  const TQuantityDescription& q = QuantityOf(h, channel);
  QString name = QStringLiteral("%1 · %2")
                     .arg(h.Channels()[static_cast<std::size_t>(channel)].Device)
                     .arg(DeviceTr(q.Label));
  if (*q.DisplayUnit()) name += QStringLiteral(" [%1]").arg(DeviceTr(q.DisplayUnit()));
  return name;
}

// A trace list: a name too long for the closed box loses letters from its
// label, never its device or its unit ("8 · Courant de com… [A]"); the whole
// name is in the tip and in the open list.
class TTraceBox : public QComboBox {
public:
  using QComboBox::QComboBox;

protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const int room =
        style()
            ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this)
            .width();
    const QFontMetrics metrics = fontMetrics();
    if (metrics.horizontalAdvance(option.currentText) > room) {
      const qsizetype at = option.currentText.lastIndexOf(QStringLiteral(" ["));
      const QString unit = at > 0 ? option.currentText.mid(at) : QString();
      option.currentText =
          metrics.elidedText(option.currentText.left(option.currentText.size() - unit.size()),
                             Qt::ElideRight, room - metrics.horizontalAdvance(unit)) +
          unit;
    }
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
  }
  bool event(QEvent* e) override {
    if (e->type() == QEvent::ToolTip && currentIndex() > 0) {
      QToolTip::showText(static_cast<QHelpEvent*>(e)->globalPos(), currentText(), this);
      return true;
    }
    return QComboBox::event(e);
  }
};

QString FreezeCaption(bool frozen) {
  return frozen ? Tr(QT_TRANSLATE_NOOP("Kinemo", "Reprendre"))
                : Tr(QT_TRANSLATE_NOOP("Kinemo", "Figer"));
}

} // namespace

TScopeDock::TScopeDock(TGL_Form& form, QWidget* parent)
    : QDockWidget(parent), form_(form), history_(std::make_unique<TScopeHistory>(form.Sim)) {
  SetTr(this, "windowTitle", QT_TRANSLATE_NOOP("Kinemo", "Oscilloscope"));
  setObjectName(QStringLiteral("Oscilloscope"));
  form_.Sim.TickObservers.push_back(history_.get());
  Build();
  FollowSelection();
  timer_.setInterval(kRefreshMs);
  connect(&timer_, &QTimer::timeout, this, [this] {
    if (!isVisible()) return;
    FollowSelection();
    Refresh();
  });
  timer_.start();
}

TScopeDock::~TScopeDock() {
  auto& observers = form_.Sim.TickObservers;
  observers.erase(std::remove(observers.begin(), observers.end(), history_.get()), observers.end());
}

void TScopeDock::Build() {
  auto* body = new QWidget(this);
  auto* column = new QVBoxLayout(body);
  column->setContentsMargins(4, 2, 4, 2);
  auto* row = new QHBoxLayout();
  column->addLayout(row);
  for (int i = 0; i < kTraces; ++i) {
    QComboBox* box = choice_[i] = new TTraceBox(body);
    box->setObjectName(QStringLiteral("Trace%1").arg(i + 1));
    box->setFocusPolicy(Qt::NoFocus); // the keys stay with the view
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(14);
    QPalette palette = box->palette();
    palette.setColor(QPalette::ButtonText, kColours[i]);
    box->setPalette(palette);
    connect(box, &QComboBox::currentIndexChanged, this, [this] { Rebuild(); });
    row->addWidget(box, 1);
  }
  window_ = new TNumberBox(body);
  window_->setObjectName(QStringLiteral("Window"));
  window_->setRange(1, 120);
  window_->setDecimals(0);
  window_->setValue(10);
  window_->setSuffix(QStringLiteral(" s"));
  SetTr(window_, "toolTip", QT_TRANSLATE_NOOP("Kinemo", "Durée affichée"));
  connect(window_, &QDoubleSpinBox::editingFinished, this, [this] {
    if (OnEditDone) OnEditDone();
  });
  connect(window_, &QDoubleSpinBox::valueChanged, this, [this] {
    plotted_ = ~std::uint64_t(0);
    Refresh();
  });
  own_axes_ = new QCheckBox(body);
  SetTr(own_axes_, "text", QT_TRANSLATE_NOOP("Kinemo", "Axes séparés"));
  own_axes_->setChecked(true);
  auto_scale_ = new QCheckBox(body);
  SetTr(auto_scale_, "text", QT_TRANSLATE_NOOP("Kinemo", "Échelle auto"));
  auto_scale_->setChecked(true);
  freeze_ = new QPushButton(FreezeCaption(false), body);
  freeze_->setCheckable(true);
  auto* export_csv = new QPushButton(body);
  SetTr(export_csv, "text", QT_TRANSLATE_NOOP("Kinemo", "Exporter en CSV…"));
  export_csv->setObjectName(QStringLiteral("ExportCsv"));
  for (QWidget* w : std::initializer_list<QWidget*>{own_axes_, auto_scale_, freeze_, export_csv})
    w->setFocusPolicy(Qt::NoFocus);
  connect(own_axes_, &QCheckBox::toggled, this, [this] { Rebuild(); });
  connect(auto_scale_, &QCheckBox::toggled, this, [this] {
    plotted_ = ~std::uint64_t(0);
    Refresh();
  });
  connect(freeze_, &QPushButton::toggled, this, [this](bool on) { SetFrozen(on); });
  connect(export_csv, &QPushButton::clicked, this, [this] { ExportClicked(); });
  row->addWidget(window_);
  row->addWidget(own_axes_);
  row->addWidget(auto_scale_);
  row->addWidget(freeze_);
  row->addWidget(export_csv);
  FillChoices();

  plot_ = new QCustomPlot(body);
  plot_->setObjectName(QStringLiteral("Plot"));
  // Low enough to leave the view half of a 1280x720 window.
  plot_->setMinimumHeight(120);
  plot_->setFocusPolicy(Qt::NoFocus);
  plot_->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
  // Thousands of points a trace: antialiasing would double the drawing time.
  plot_->setNotAntialiasedElements(QCP::aePlottables);
  plot_->xAxis->setLabel(QStringLiteral("t [s]"));
  plot_->legend->setVisible(true);
  plot_->legend->setFont(font());
  // The legend in a row of its own above the plot: inside, it hid the
  // traces' first second.
  plot_->plotLayout()->insertRow(0);
  plot_->plotLayout()->addElement(0, 0, plot_->legend);
  plot_->plotLayout()->setRowStretchFactor(0, 0.001);
  plot_->legend->setFillOrder(QCPLegend::foColumnsFirst);
  plot_->legend->setBorderPen(Qt::NoPen);
  // Four value axes: two on each side, used when each trace has its own.
  axes_[0] = plot_->yAxis;
  axes_[1] = plot_->yAxis2;
  axes_[2] = plot_->axisRect()->addAxis(QCPAxis::atLeft);
  axes_[3] = plot_->axisRect()->addAxis(QCPAxis::atRight);
  cursor_line_ = new QCPItemStraightLine(plot_);
  cursor_line_->setPen(QPen(Qt::gray, 1, Qt::DashLine));
  cursor_line_->setVisible(false);
  connect(plot_, &QCustomPlot::mouseMove, this, &TScopeDock::ShowCursor);
  plot_->installEventFilter(this);
  // While running, the time axis follows the window; drag and wheel act on
  // the time axis and every value axis.
  plot_->axisRect()->setRangeDragAxes({plot_->xAxis}, {axes_.begin(), axes_.end()});
  plot_->axisRect()->setRangeZoomAxes({plot_->xAxis}, {axes_.begin(), axes_.end()});
  column->addWidget(plot_, 1);

  cursor_ = new QLabel(body);
  cursor_->setObjectName(QStringLiteral("Cursor"));
  cursor_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  // Four long names and their values on two lines rather than one wider than
  // the screen, which would widen the window.
  cursor_->setWordWrap(true);
  column->addWidget(cursor_);
  setWidget(body);
}

void TScopeDock::Retranslate() {
  // The trace names, with the traces chosen kept.
  int chosen[kTraces];
  for (int i = 0; i < kTraces; ++i)
    chosen[i] = Trace(i);
  FillChoices();
  for (int i = 0; i < kTraces; ++i) {
    const QSignalBlocker block(choice_[i]);
    SetTrace(i, chosen[i]);
  }
  freeze_->setText(FreezeCaption(Frozen()));
  cursor_->clear();
  Rebuild();
}

int TScopeDock::Trace(int i) const {
  return choice_[i]->currentData().toInt();
}

void TScopeDock::SetTrace(int i, int channel) {
  choice_[i]->setCurrentIndex(std::max(0, choice_[i]->findData(channel)));
}

void TScopeDock::FillChoices() {
  layout_ = history_->Layout();
  for (QComboBox* box : choice_) {
    const QSignalBlocker block(box);
    box->clear();
    box->addItem(QStringLiteral("—"), -1);
    for (std::size_t c = 0; c < history_->Channels().size(); ++c)
      box->addItem(TraceName(*history_, static_cast<int>(c)), static_cast<int>(c));
  }
}

void TScopeDock::FollowSelection() {
  // A new device set (a scene): its quantities, and its selection's defaults.
  if (history_->Layout() != layout_) {
    FillChoices();
    followed_ = -1;
  }
  if (form_.Sim.RobSel == followed_) return;
  followed_ = form_.Sim.RobSel;
  const std::vector<const char*> defaults = DefaultTraces(*form_.Sim.Robots[followed_]);
  for (int i = 0; i < kTraces; ++i) {
    const QSignalBlocker block(choice_[i]);
    SetTrace(i,
             i < static_cast<int>(defaults.size()) ? history_->Find(followed_, defaults[i]) : -1);
  }
  Rebuild();
}

void TScopeDock::Rebuild() {
  plot_->clearGraphs();
  const bool own = own_axes_->isChecked();
  for (QCPAxis* axis : axes_) {
    axis->setVisible(false);
    axis->setLabel({});
  }
  axes_[0]->setVisible(true);
  // With an axis per trace, traces of one unit still share one: two
  // positions read on two scales would look alike when they are not.
  std::array<QString, kTraces> units;
  std::array<int, kTraces> users{};
  for (int i = 0; i < kTraces; ++i) {
    const int channel = Trace(i);
    if (channel < 0) continue;
    const QString unit = QString::fromUtf8(QuantityOf(*history_, channel).DisplayUnit());
    int a = 0;
    if (own) {
      a = i;
      for (int j = 0; j < i; ++j)
        if (users[j] > 0 && !unit.isEmpty() && units[j] == unit) a = j;
    }
    units[a] = unit;
    ++users[a];
    QCPAxis* axis = axes_[a];
    QCPGraph* graph = plot_->addGraph(plot_->xAxis, axis);
    graph->setPen(QPen(kColours[i], 1.5));
    graph->setName(TraceName(*history_, channel));
    graph->setProperty("channel", channel);
    axis->setVisible(true);
    axis->setTickLabels(true);
    const QColor colour = own && users[a] == 1 ? kColours[i] : QColor(Qt::black);
    axis->setLabelColor(colour);
    axis->setTickLabelColor(colour);
    if (own) axis->setLabel(unit);
  }
  plotted_ = ~std::uint64_t(0);
  Refresh();
}

void TScopeDock::Refresh() {
  if (Frozen() || history_->Version() == plotted_) return;
  plotted_ = history_->Version();
  ++refreshes_;
  const TScopeHistory& h = *history_;
  const std::size_t n = h.Count();
  const double latest = n ? h.Time(n - 1) : 0;
  const double span = window_->value();
  // The first sample inside the window, found by halving (times increase).
  std::size_t lo = 0, hi = n;
  while (lo < hi) {
    const std::size_t mid = (lo + hi) / 2;
    if (h.Time(mid) < latest - span)
      lo = mid + 1;
    else
      hi = mid;
  }
  // Per value axis: the least and greatest finite value shown, and the
  // coarsest resolution of its quantities.
  struct TExtent {
    double Min = HUGE_VAL, Max = -HUGE_VAL, Least = 0;
  };
  std::array<TExtent, kTraces> extent{};
  QVector<QCPGraphData> data(static_cast<int>(n - lo));
  for (int g = 0; g < plot_->graphCount(); ++g) {
    QCPGraph* graph = plot_->graph(g);
    const auto channel = static_cast<std::size_t>(graph->property("channel").toInt());
    const TQuantityDescription& q = *h.Channels()[channel].Quantity;
    TExtent& e = extent[static_cast<std::size_t>(
        std::find(axes_.begin(), axes_.end(), graph->valueAxis()) - axes_.begin())];
    e.Least = std::max(e.Least, std::abs(q.ShownResolution()));
    for (std::size_t k = lo; k < n; ++k) {
      const double v = h.Value(channel, k) * q.Scale;
      data[static_cast<int>(k - lo)] = QCPGraphData(h.Time(k), v);
      if (std::isfinite(v)) {
        e.Min = std::min(e.Min, v);
        e.Max = std::max(e.Max, v);
      }
    }
    graph->data()->set(data, true);
  }
  plot_->xAxis->setRange(std::max(0.0, latest - span), std::max(span, latest));
  if (auto_scale_->isChecked())
    for (std::size_t a = 0; a < axes_.size(); ++a) {
      const TScopeRange r = ScopeValueRange(extent[a].Min, extent[a].Max, extent[a].Least);
      axes_[a]->setRange(r.Lower, r.Upper);
    }
  if (!hovering_) cursor_->setText(Readout(latest, true));
  plot_->replot(QCustomPlot::rpQueuedReplot);
}

void TScopeDock::SetWindowSeconds(double seconds) {
  window_->setValue(seconds);
}

void TScopeDock::SetFrozen(bool frozen) {
  if (freeze_->isChecked() != frozen) freeze_->setChecked(frozen);
  freeze_->setText(FreezeCaption(frozen));
  if (!frozen) {
    plotted_ = ~std::uint64_t(0);
    Refresh();
  }
}

bool TScopeDock::Frozen() const {
  return freeze_->isChecked();
}

void TScopeDock::ShowCursor(QMouseEvent* event) {
  const double t = plot_->xAxis->pixelToCoord(event->position().x());
  hovering_ = true;
  cursor_line_->point1->setCoords(t, 0);
  cursor_line_->point2->setCoords(t, 1);
  cursor_line_->setVisible(true);
  cursor_->setText(Readout(t, false));
  plot_->replot(QCustomPlot::rpQueuedReplot);
}

void TScopeDock::HideCursor() {
  hovering_ = false;
  cursor_line_->setVisible(false);
  const double latest = history_->Count() ? history_->Time(history_->Count() - 1) : 0;
  // Frozen, the latest values are those of the plot, not of the simulation.
  double shown = latest;
  for (int g = 0; g < plot_->graphCount(); ++g)
    if (!plot_->graph(g)->data()->isEmpty()) shown = (plot_->graph(g)->data()->constEnd() - 1)->key;
  cursor_->setText(Readout(Frozen() ? shown : latest, true));
  plot_->replot(QCustomPlot::rpQueuedReplot);
}

QString TScopeDock::Readout(double t, bool latest) const {
  // In the window's language, like the plot's axes.
  const QLocale locale;
  QString text = QStringLiteral("t = %1 s").arg(locale.toString(t, 'f', 3));
  for (int g = 0; g < plot_->graphCount(); ++g) {
    const QCPGraph* graph = plot_->graph(g);
    const auto data = graph->data();
    if (data->isEmpty()) continue;
    auto it = latest ? data->constEnd() - 1 : data->findBegin(t, false);
    if (it == data->constEnd()) --it;
    text += QStringLiteral("    %1 = %2").arg(graph->name(), locale.toString(it->value, 'g', 6));
  }
  return text;
}

QString TScopeDock::CursorText() const {
  return cursor_->text();
}

bool TScopeDock::ExportCsv(const QString& path, bool shown_only) {
  std::vector<int> channels;
  for (int i = 0; i < kTraces; ++i)
    if (Trace(i) >= 0) channels.push_back(Trace(i));
  if (channels.empty())
    for (std::size_t c = 0; c < history_->Channels().size(); ++c)
      if (history_->Channels()[c].Device == form_.Sim.RobSel)
        channels.push_back(static_cast<int>(c));
  const QCPRange shown = plot_->xAxis->range();
  const int e = shown_only ? WriteHistoryCsv(*history_, channels, path.toStdString(), shown.lower,
                                             shown.upper)
                           : WriteHistoryCsv(*history_, channels, path.toStdString());
  if (e == 0) return true;
  if (OnError)
    OnError(Tr(QT_TRANSLATE_NOOP("Kinemo", "Impossible d'écrire %1 : %2"))
                .arg(path, CoreText(FileErrorText(e))));
  return false;
}

void TScopeDock::ExportClicked() {
  // Frozen or zoomed, the plot may show less than the history holds: ask.
  const QCPRange shown = plot_->xAxis->range();
  const std::size_t n = history_->Count();
  bool shown_only = false;
  if (n && (history_->Time(0) < shown.lower || history_->Time(n - 1) > shown.upper)) {
    auto seconds = [](double t) { return QLocale().toString(t, 'f', 2); };
    QMessageBox box(QMessageBox::Question, Tr(QT_TRANSLATE_NOOP("Kinemo", "Exporter en CSV")),
                    Tr(QT_TRANSLATE_NOOP("Kinemo", "Exporter le temps affiché (%1 à %2 s) ou tout "
                                                   "l'historique (%3 à %4 s) ?"))
                        .arg(seconds(std::max(shown.lower, history_->Time(0))),
                             seconds(std::min(shown.upper, history_->Time(n - 1))),
                             seconds(history_->Time(0)), seconds(history_->Time(n - 1))),
                    QMessageBox::Cancel, this);
    QPushButton* part =
        box.addButton(Tr(QT_TRANSLATE_NOOP("Kinemo", "Temps affiché")), QMessageBox::AcceptRole);
    box.addButton(Tr(QT_TRANSLATE_NOOP("Kinemo", "Tout l'historique")), QMessageBox::AcceptRole);
    box.setDefaultButton(part);
    if (box.exec() == QMessageBox::Cancel) return;
    shown_only = box.clickedButton() == part;
  }
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  const QString path = QFileDialog::getSaveFileName(
      this, Tr(QT_TRANSLATE_NOOP("Kinemo", "Exporter en CSV")),
      folder + QStringLiteral("/kinemo-oscilloscope.csv"), QStringLiteral("CSV (*.csv)"));
  if (!path.isEmpty()) ExportCsv(path, shown_only);
}

bool TScopeDock::eventFilter(QObject* watched, QEvent* event) {
  if (watched == plot_ && event->type() == QEvent::Leave) HideCursor();
  return QDockWidget::eventFilter(watched, event);
}

void TScopeDock::closeEvent(QCloseEvent* event) {
  QDockWidget::closeEvent(event);
  if (OnClosed) OnClosed();
}
