// A text kept with the exact inputs it was made from, made again only when
// one of them changes: the status line is rebuilt after every frame while
// most of its numbers stay as they were, and formatting them costs more than
// the rest of an idle tick.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <string>

template <std::size_t N> class TTextMemo {
public:
  using TKey = std::array<std::uint64_t, N>;

  template <class TMake> const std::string& Get(const TKey& key, TMake&& make) {
    if (!valid_ || key != key_) {
      text_ = make();
      key_ = key;
      valid_ = true;
    }
    return text_;
  }

  // A number's bits: -0 and +0 differ, as their texts may.
  static std::uint64_t Bits(double v) { return std::bit_cast<std::uint64_t>(v); }

private:
  TKey key_{};
  bool valid_ = false;
  std::string text_;
};
