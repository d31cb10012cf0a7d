// The scope as the user meets it: the selected device's traces, a sample at
// every tick whatever the redraw rate, the rolling window, freezing, the
// cursor readout and the CSV export.
#include <qcustomplot.h>

#include <QLabel>
#include <QLocale>
#include <gtest/gtest.h>

#include "models/device_description.h"
#include "platform/qt/scope_dock.h"
#include "qt_fixture.h"
#include "sim/scope_history.h"

namespace {
namespace KINEMO_UNITY_ID {

std::vector<std::string> Fields(const TScopeDock& scope) {
  std::vector<std::string> fields;
  for (int i = 0; i < TScopeDock::kTraces; ++i)
    if (scope.Trace(i) >= 0)
      fields.push_back(scope.History().Channels()[scope.Trace(i)].Quantity->Field);
  return fields;
}

TEST(ScopeDock, FollowsTheSelectionAndPlotsEveryTickAsTheDeviceHadIt) {
  TWindowFixture f;
  ASSERT_TRUE(f.ShowActive());
  TScopeDock& scope = *f.window->Scope;
  EXPECT_FALSE(scope.isVisible());
  f.Trigger("Oscilloscope1");
  ASSERT_TRUE(scope.isVisible());
  EXPECT_EQ(f.window->dockWidgetArea(&scope), Qt::BottomDockWidgetArea);
  EXPECT_EQ(Fields(scope), (std::vector<std::string>{"PendTheta", "CurrentCmd", "Secteur"}));

  f.window->Dispatch([&] {
    f.form->SelectDevice(6);
    f.form->AnimateClick();
  });
  scope.FollowSelection();
  EXPECT_EQ(Fields(scope), (std::vector<std::string>{"Fx", "PosX", "Phase"}));

  // Ticks faster than any redraw: every one is kept, as the device had it.
  const TScopeHistory& h = scope.History();
  const int fx = scope.Trace(0);
  const TFieldRef ref = FindField(*f.form->Sim.Robots[6], "Fx");
  for (int t = 0; t < 200; ++t) {
    f.window->Dispatch([&] { f.form->Timer1Timer(); });
    ASSERT_EQ(h.Value(static_cast<std::size_t>(fx), h.Count() - 1), ref.Get()) << t;
  }
  ASSERT_EQ(h.Count(), 200u);
  scope.Refresh();
  const QCPGraph* graph = scope.Plot()->graph(0);
  EXPECT_EQ(graph->dataCount(), 200);
  EXPECT_EQ((graph->data()->constEnd() - 1)->value, ref.Get());
  EXPECT_EQ((graph->data()->constEnd() - 1)->key, f.form->Sim.SimTime);
  EXPECT_EQ(scope.Plot()->legend->itemCount(), 3);

  // A one-second window holds the last second only.
  scope.SetWindowSeconds(1);
  EXPECT_NEAR(scope.Plot()->graph(0)->dataCount(), 101, 1);

  // Frozen, the plot stays while the simulation goes on.
  scope.SetFrozen(true);
  f.window->Dispatch([&] { f.form->Timer1Timer(); });
  scope.Refresh();
  EXPECT_EQ((scope.Plot()->graph(0)->data()->constEnd() - 1)->key, h.Time(h.Count() - 2));
  scope.SetFrozen(false);
  EXPECT_EQ((scope.Plot()->graph(0)->data()->constEnd() - 1)->key, f.form->Sim.SimTime);

  // The cursor reads time and values under the pointer.
  QWidget* plot = scope.Plot();
  QMouseEvent move(QEvent::MouseMove, QPointF(plot->width() / 2, plot->height() / 2),
                   plot->mapToGlobal(QPointF(plot->width() / 2, plot->height() / 2)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(plot, &move);
  EXPECT_TRUE(scope.CursorText().startsWith(QStringLiteral("t = ")))
      << scope.CursorText().toStdString();
  EXPECT_TRUE(scope.CursorText().contains(QStringLiteral("[N] = ")));

  // Reset robots starts the history again.
  f.window->Dispatch([&] { f.form->ResetrobotsClick(); });
  scope.Refresh();
  EXPECT_EQ(scope.Plot()->graph(0)->dataCount(), 0);
}

TEST(ScopeDock, AxesReadTheValuesAndTheReadoutAndHistoryFollowTheRun) {
  TWindowFixture f;
  ASSERT_TRUE(f.ShowActive());
  TScopeDock& scope = *f.window->Scope;
  f.Trigger("Oscilloscope1");
  const TScopeHistory& h = scope.History();
  // The carriage's angle, current and sector, and its position, nearly or
  // wholly constant over 30 single ticks, then the set-point as a fifth
  // quantity in degrees where the angle is.
  scope.SetTrace(3, h.Find(8, "PosX"));
  for (int t = 0; t < 30; ++t)
    f.window->Dispatch([&] { f.form->PasAPas1Click(); });
  for (int round = 0; round < 40; ++round) { // many refreshes: no range may creep
    f.window->Dispatch([&] { f.form->PasAPas1Click(); });
    scope.Refresh();
  }
  QCustomPlot& plot = *scope.Plot();
  for (int g = 0; g < plot.graphCount(); ++g) {
    const QCPGraph& graph = *plot.graph(g);
    const double v = (graph.data()->constEnd() - 1)->value;
    const QCPRange r = graph.valueAxis()->range();
    SCOPED_TRACE(graph.name().toStdString());
    // Drawn at its value, inside the middle of the axis, on a span that tick
    // labels of six digits can tell apart.
    EXPECT_GT(v, r.lower + r.size() / 4);
    EXPECT_LT(v, r.upper - r.size() / 4);
    EXPECT_GT(r.size(), 1e-4 * std::max(std::abs(r.lower), std::abs(r.upper)));
    EXPECT_LT(r.size(), 1e3 * std::max(1.0, std::abs(v)));
  }
  // Quantities of one unit share an axis, others keep their own.
  scope.SetTrace(1, h.Find(8, "ThetaRef"));
  EXPECT_EQ(plot.graph(0)->valueAxis(), plot.graph(1)->valueAxis());
  EXPECT_NE(plot.graph(0)->valueAxis(), plot.graph(3)->valueAxis());

  // Off the plot, the readout says the latest values: after resuming, after
  // a reset.
  const auto readout_time = [&] {
    scope.Refresh();
    return QLocale().toDouble(scope.CursorText().section(' ', 2, 2));
  };
  EXPECT_NEAR(readout_time(), h.Time(h.Count() - 1), 5e-4);
  scope.SetFrozen(true);
  f.window->Dispatch([&] { f.form->PasAPas1Click(); });
  scope.SetFrozen(false);
  EXPECT_NEAR(readout_time(), f.form->Sim.SimTime, 5e-4);
  f.window->Dispatch([&] { f.form->ResetrobotsClick(); });
  EXPECT_EQ(readout_time(), 0);

  // Opening a scene starts a new history: the run left behind is not shown
  // nor exported.
  const QString scene = QDir::temp().filePath(
      QStringLiteral("kinemo_scope_scene_%1.json").arg(QCoreApplication::applicationPid()));
  for (int t = 0; t < 5; ++t)
    f.window->Dispatch([&] { f.form->PasAPas1Click(); });
  ASSERT_TRUE(f.form->SaveScene(scene.toStdString()));
  for (int t = 0; t < 20; ++t)
    f.window->Dispatch([&] { f.form->PasAPas1Click(); });
  f.window->Dispatch([&] { ASSERT_TRUE(f.form->OpenScene(scene.toStdString())); });
  f.window->Dispatch([&] { f.form->PasAPas1Click(); });
  scope.FollowSelection();
  scope.Refresh();
  QFile::remove(scene);
  ASSERT_EQ(h.Count(), 1u);
  EXPECT_EQ(plot.graph(0)->dataCount(), 1);
  EXPECT_NEAR(readout_time(), f.form->Sim.SimTime, 5e-4);
}

TEST(ScopeDock, ExportsTheTracesOrTheSelectedDeviceAndSaysWhenItCannot) {
  TWindowFixture f;
  ASSERT_TRUE(f.ShowActive());
  TScopeDock& scope = *f.window->Scope;
  f.window->Dispatch([&] { f.form->AnimateClick(); });
  for (int t = 0; t < 3; ++t)
    f.window->Dispatch([&] { f.form->Timer1Timer(); });
  const QString path = QDir::temp().filePath(
      QStringLiteral("kinemo_scope_%1.csv").arg(QCoreApplication::applicationPid()));
  ASSERT_TRUE(scope.ExportCsv(path));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  // Beside what scripts read, the angle as the plot shows it.
  EXPECT_EQ(file.readLine(), QByteArray("t [s],PendTheta [rad],CurrentCmd [A],Secteur,Angle du "
                                        "pendule [°]\r\n"));
  file.close();
  // Zoomed in on the second tick: that row alone.
  scope.Plot()->xAxis->setRange(0.015, 0.025);
  ASSERT_TRUE(scope.ExportCsv(path, true));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  file.readLine();
  EXPECT_TRUE(file.readAll().startsWith("0.02,"));
  file.close();
  for (int i = 0; i < TScopeDock::kTraces; ++i)
    scope.SetTrace(i, -1);
  ASSERT_TRUE(scope.ExportCsv(path));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray header = file.readLine();
  const auto& quantities = f.form->Sim.Robots[8]->Description().Quantities;
  EXPECT_EQ(header.count(','),
            static_cast<int>(quantities.size()) +
                std::count_if(quantities.begin(), quantities.end(),
                              [](const TQuantityDescription& q) { return q.Scale != 1; }));
  EXPECT_EQ(file.readAll().count('\n'), 3);
  file.remove();

  EXPECT_FALSE(scope.ExportCsv(QStringLiteral("/nonexistent-folder/x.csv")));
  ASSERT_EQ(f.messages.size(), 1u);
  EXPECT_EQ(f.messages[0],
            "Impossible d'écrire /nonexistent-folder/x.csv : fichier ou dossier introuvable");
}

} // namespace KINEMO_UNITY_ID
} // namespace
