// The scope: a dock at the bottom of the main window plotting up to four
// described quantities of any device against simulated time, over a rolling
// window (10 s by default, 1 to 120 s). The samples come from a TScopeHistory
// that follows every tick, so the curves do not depend on the redraw rate;
// the plot itself is redrawn at most 20 times a second. Traces start as the
// selected device's defaults and follow the selection; each may have its own
// axis or share one; the mouse zooms and pans (freeze first to look back),
// and a cursor line reads time and values. "Exporter en CSV…" writes the
// recorded history of the traces shown, or of every quantity of the
// selected device when no trace is chosen.
#pragma once

#include <QDockWidget>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QCustomPlot;
class QCPAxis;
class QCPItemStraightLine;
class QDoubleSpinBox;
class QLabel;
class QMouseEvent;
class QPushButton;
class TGL_Form;
class TScopeHistory;

class TScopeDock : public QDockWidget {
public:
  static constexpr int kTraces = 4;
  static constexpr int kRefreshMs = 50;

  explicit TScopeDock(TGL_Form& form, QWidget* parent = nullptr);
  ~TScopeDock() override;

  const TScopeHistory& History() const { return *history_; }
  // The history channel shown by trace i, or -1.
  int Trace(int i) const;
  void SetTrace(int i, int channel);
  // Traces set to the defaults of the selected device, if it changed.
  void FollowSelection();
  // Shows the trace names and captions in the language installed.
  void Retranslate();
  // Plots the history again (the timer does it while the dock is shown).
  void Refresh();
  void SetWindowSeconds(double seconds);
  void SetFrozen(bool frozen);
  bool Frozen() const;
  // Writes the CSV, of the time the plot shows or of the whole history;
  // false after showing why.
  bool ExportCsv(const QString& path, bool shown_only = false);
  QCustomPlot* Plot() const { return plot_; }
  QString CursorText() const;
  int Refreshes() const { return refreshes_; }

  // A message for the user (the window shows it as its other messages).
  std::function<void(const QString&)> OnError;
  // Enter in the window's box: the keys go back to the view.
  std::function<void()> OnEditDone;
  // Closed with its own title-bar button.
  std::function<void()> OnClosed;

protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void Build();
  // The trace lists from the history's channels.
  void FillChoices();
  void Rebuild(); // graphs and axes for the traces chosen
  void ShowCursor(QMouseEvent* event);
  // The pointer left the plot: the readout shows the latest values again.
  void HideCursor();
  // "t = … s" and each trace's value at t (the latest sample when `latest`).
  QString Readout(double t, bool latest) const;
  void ExportClicked();

  TGL_Form& form_;
  std::unique_ptr<TScopeHistory> history_;
  std::array<QComboBox*, kTraces> choice_{};
  QDoubleSpinBox* window_ = nullptr;
  QCheckBox* own_axes_ = nullptr;
  QCheckBox* auto_scale_ = nullptr;
  QPushButton* freeze_ = nullptr;
  QLabel* cursor_ = nullptr;
  QCustomPlot* plot_ = nullptr;
  QCPItemStraightLine* cursor_line_ = nullptr;
  std::array<QCPAxis*, kTraces> axes_{};
  QTimer timer_;
  int followed_ = -1;        // the selection the traces were set for
  std::uint64_t layout_ = 0; // the history's channels the lists show
  std::uint64_t plotted_ = ~std::uint64_t(0);
  int refreshes_ = 0;
  bool hovering_ = false; // the pointer is on the plot: the readout follows it
};
