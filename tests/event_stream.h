// A random stream of every event the window can send, played into TGL_Form on
// the scripted toolkit, with the window's invariants checked after each event.
// The suite plays a few thousand events for each of a few fixed seeds; the soak
// program (tests/soak/event_soak.cpp) plays a million.
//
// Not played, for want of a display or because they block: the OpenGL view
// (its creation, drawing and a recording's frames: EnregistreAVI1 is played
// and refused for want of a view), the file dialogs themselves (their answers
// are, through the scripted toolkit), the browser of the help page, the real
// timer, the Qt widgets' own key and mouse mapping (the window's handlers get
// the codes directly) and the stop signals (tests/test_stop_signals.cpp).
#pragma once

#include <cstdint>
#include <map>
#include <string>

struct TEventStreamResult {
  long long Events = 0;                    // events played
  std::map<std::string, long long> Counts; // events played by kind
  std::string Failure;                     // empty: every invariant held
};

// Plays `events` events drawn from `seed`. Files (the data log, saved and
// damaged scenes) go to `scratch_folder`, which is the working directory for
// the run; `data_folder` holds the program's pictures and example scenes.
// Stops at the first broken invariant, describing it and the events before it.
TEventStreamResult RunEventStream(std::uint64_t seed, long long events,
                                  const std::string& scratch_folder,
                                  const std::string& data_folder);
