// A device's integration step kept as a function of every value it reads or
// writes (the step length included): when the device comes back to values it
// was stepped from before, the values that step left are set again instead of
// being computed. A device at rest, or a balanced robot whose controller
// countdown cycles while nothing else moves, then costs a comparison per step.
//
// The device lists its values once, in a template that calls f on each field
// (double, std::int32_t or bool), and that list must hold everything its Step
// reads or writes; the Step must read nothing else (no other device, no global).
//
// Packing the list costs more than many a step, so a slot keeps a step only
// when a few quick values (those that change while the device moves) are back
// to what that slot saw the last time: a device in motion then pays one short
// comparison per step.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "models/robots/memo.h"

template <std::size_t N, std::size_t NSlots, std::size_t NQuick> class TStepMemo {
public:
  // Runs step() unless the values listed by fields(f), with h, are those of
  // an earlier step kept in `slot`; then sets the values that step left.
  // `quick`: values from the list, as they are before the step. While not
  // `enabled`, step() always runs.
  template <class TFields, class TStep>
  void Step(bool enabled, double h, std::size_t slot, const double (&quick)[NQuick],
            TFields&& fields, TStep&& step) {
    if (!enabled) {
      step();
      return;
    }
    TEntry& e = entries_[slot % NSlots];
    // Compared as bits, as the list is.
    if (std::memcmp(e.Seen, quick, sizeof quick) != 0) {
      std::memcpy(e.Seen, quick, sizeof quick);
      step();
      return;
    }
    if (e.Valid && Matches(e, h, fields)) {
      if (!e.Fixed) {
        std::size_t i = 0;
        fields([&](auto& v) { Set(v, e.After[i++]); });
      }
      return;
    }
    e.Valid = Pack(h, fields, e.Before);
    step();
    e.Valid = e.Valid && Pack(h, fields, e.After);
    e.Fixed = std::memcmp(e.Before, e.After, sizeof e.Before) == 0;
  }

private:
  struct TEntry {
    double Seen[NQuick] = {}; // the quick values before this slot's last step
    std::uint64_t Before[N + 1] = {};
    std::uint64_t After[N + 1] = {};
    bool Valid = false;
    bool Fixed = false; // the step changed nothing
  };

  // Bit patterns: every double, int32 and bool has its own.
  static std::uint64_t Bits(double v) { return std::bit_cast<std::uint64_t>(v); }
  static std::uint64_t Bits(std::int32_t v) { return static_cast<std::uint32_t>(v); }
  static std::uint64_t Bits(bool v) { return v ? 1 : 0; }
  static void Set(double& v, std::uint64_t b) { v = std::bit_cast<double>(b); }
  static void Set(std::int32_t& v, std::uint64_t b) {
    v = static_cast<std::int32_t>(static_cast<std::uint32_t>(b));
  }
  static void Set(bool& v, std::uint64_t b) { v = b != 0; }

  template <class TFields> static bool Matches(const TEntry& e, double h, TFields& fields) {
    std::uint64_t differ = Bits(h) ^ e.Before[N];
    std::size_t i = 0;
    fields([&](auto& v) { differ |= Bits(v) ^ e.Before[i++]; });
    return differ == 0;
  }
  // False if the list is not N long (never kept then).
  template <class TFields>
  static bool Pack(double h, TFields& fields, std::uint64_t (&out)[N + 1]) {
    std::size_t i = 0;
    fields([&](auto& v) {
      if (i < N) out[i] = Bits(v);
      ++i;
    });
    out[N] = Bits(h);
    return i == N;
  }

  TEntry entries_[NSlots];
};

// f(v) for each v in order: a step's list of fields as one line of calls.
template <class F, class... T> void EachField(F& f, T&... v) {
  (f(v), ...);
}
