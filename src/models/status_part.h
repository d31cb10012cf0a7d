// The selected device's part of the status line: labelled values that the
// window writes after its common head, with the user's decimal separator.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// What a device may show besides its own fields.
struct TStatusContext {
  std::int32_t RobSel = 0;
  double Fs = 0;
  std::int32_t DemoPhase = 0;
  std::int32_t DemoStep = 0;
};

class TStatusPart {
public:
  struct TItem {
    const char* Label; // with its leading ", " and trailing ':'
    double Value;
    bool Whole; // written as an integer
  };

  void Add(const char* label, double value) { Push({label, value, false}); }
  void AddWhole(const char* label, std::int32_t value) { Push({label, double(value), true}); }

  const TItem* begin() const { return items_.data(); }
  const TItem* end() const { return items_.data() + count_; }

private:
  void Push(const TItem& item) {
    if (count_ < items_.size()) items_[count_++] = item;
  }
  std::array<TItem, 10> items_{};
  std::size_t count_ = 0;
};
