// A random stream of every event the window can send, played into TGL_Form on
// the scripted toolkit, with the window's invariants checked after each event.
// The suite plays a few thousand events for each of a few fixed seeds; the soak
// program (tests/soak/event_soak.cpp) plays a million.
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
