// The instruments panel: a dock on the right of the main window that shows the
// selected device as its description gives it: name and purpose, its live
// values with units, its key legend (keys that do not act in the device's
// present mode greyed), and its parameters as spin boxes (in the unit of the
// values: angles in degrees) with a button that puts back the constructor's
// values. Values are read again at most 20 times
// a second, whatever the tick rate; edits go through TGL_Form::SetParameter
// and take effect at the next tick.
#pragma once

#include <QDockWidget>
#include <QTimer>
#include <functional>
#include <vector>

#include "models/field_access.h"

class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QScrollArea;
class TGL_Form;
class TRobot;
struct TParameterDescription;

class TInstrumentsPanel : public QDockWidget {
public:
  // `dispatch` runs a form handler as the window's events do.
  using TDispatch = std::function<void(const std::function<void()>&)>;
  TInstrumentsPanel(TGL_Form& form, TDispatch dispatch, QWidget* parent = nullptr);

  // Shows the selected device if the selection moved; cheap otherwise (the
  // window calls it after every handler).
  void FollowSelection();
  // Reads the values, the legend's modes and the parameters again.
  void Refresh();
  // Shows the device again in the language installed.
  void Retranslate();

  static constexpr int kRefreshMs = 50;
  int Refreshes() const { return refreshes_; }
  // The device shown (its index), -1 before the first one.
  int ShownDevice() const { return shown_index_; }

  // Enter or Escape in a parameter box: the keys go back to the view.
  std::function<void()> OnEditDone;
  // Closed with its own title-bar button.
  std::function<void()> OnClosed;

protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  struct TValueRow {
    TFieldRef Field;
    double Scale;
    QLabel* Value;
    double Resolution; // as shown
  };
  struct TKeyRow {
    TFieldRef When;
    bool WhenOn;
    QLabel* Keys;
    QLabel* Action;
  };
  struct TParameterRow {
    const TParameterDescription* Parameter;
    double Scale; // shown value = stored value x Scale
    TFieldRef Field;
    QDoubleSpinBox* Box;
  };

  void Build();
  QWidget* BuildValues(const TRobot& robot);
  QWidget* BuildLegend(const TRobot& robot);
  QWidget* BuildParameters(const TRobot& robot);
  void ShowParameters();

  TGL_Form& form_;
  TDispatch dispatch_;
  QScrollArea* scroll_ = nullptr;
  QTimer timer_;
  const TRobot* shown_ = nullptr;
  int shown_index_ = -1;
  std::uint64_t shown_set_ = 0; // the set the shown device belongs to
  int refreshes_ = 0;
  char separator_ = '.';
  std::vector<TValueRow> values_;
  std::vector<TKeyRow> keys_;
  std::vector<TParameterRow> parameters_;
};
