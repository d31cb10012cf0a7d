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

  // The rule both timers (window and command line) follow: events come only
  // while enabled with a non-zero period, and never queue. After a handler that
  // took busy_ms, the next event waits for what is left of the period, or comes
  // at once if the handler overran it; then the period restarts.
  bool Running() const { return Enabled && Interval > 0; }
  long long NextDelayMs(long long busy_ms) const {
    return busy_ms >= Interval ? 0 : Interval - busy_ms;
  }
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
