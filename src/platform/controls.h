// Plain value models of the window's controls. TGL_Form reads and writes them;
// the platform layer mirrors them into real widgets and turns real events into
// handler calls, so the controller runs and is tested without any toolkit.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct TTimer {
  bool Enabled = false;
  int Interval = 1000; // milliseconds; 0 delivers no events
};

// Decides when a periodic timer fires. Events never queue: after a handler that
// overran several periods, exactly one event is due, then the period restarts.
class TTimerSchedule {
public:
  // True when an event is due at now_ms; call once per poll.
  bool Due(const TTimer& timer, long long now_ms) {
    if (!timer.Enabled || timer.Interval <= 0) {
      armed_ = false;
      return false;
    }
    if (!armed_) {
      armed_ = true;
      last_ms_ = now_ms;
      return false;
    }
    if (now_ms - last_ms_ >= timer.Interval) {
      last_ms_ = now_ms;
      return true;
    }
    return false;
  }

private:
  bool armed_ = false;
  long long last_ms_ = 0;
};

struct TScrollBar {
  int Min = 0;
  int Max = 100;
  int Position = 0;
  // Fires whenever the position changes, also when code sets it.
  std::function<void()> OnChange;

  void SetPosition(int p) {
    if (p < Min) p = Min;
    if (p > Max) p = Max;
    if (p == Position) return;
    Position = p;
    if (OnChange) OnChange();
  }
};

struct TComboBox {
  std::vector<std::string> Items;
  int ItemIndex = -1;
};

struct TStatusPanel {
  std::string Text;
  int Width = 0;
};

struct TStatusBar {
  std::vector<TStatusPanel> Panels;
};

struct TProgressGauge {
  int MaxValue = 100;
  int Progress = 0;
  bool Visible = false;
  void AddProgress(int n) {
    Progress += n;
    if (Progress > MaxValue) Progress = MaxValue;
  }
};
