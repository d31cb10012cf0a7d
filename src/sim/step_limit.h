// The largest integration step the options dialog accepts. Above it the
// balancing monocycle's controller, which acts every third sub-step, no longer
// holds the rod, and larger steps make other devices diverge too (the test of
// every device in every mode finds 0.051 s as the last stable step).
#pragma once

inline constexpr double kMaxDt = 0.05;
