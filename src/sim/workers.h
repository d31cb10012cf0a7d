// Threads that step many independent simulations side by side: the range of
// simulations is cut into one contiguous part per thread, the calling thread
// taking the first. The threads are kept between runs, since starting one
// costs about as much as a hundred ticks.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class TWorkers {
public:
  // `threads` counts the caller: 1 runs everything on it, with no thread made.
  explicit TWorkers(unsigned threads);
  ~TWorkers();
  TWorkers(const TWorkers&) = delete;
  TWorkers& operator=(const TWorkers&) = delete;

  unsigned Threads() const { return threads_; }
  // Calls part(begin, end) over [0, count) cut into at most Threads() parts,
  // and returns when every part has; the first exception a part threw is
  // thrown again here, once all have ended. Not re-entrant: one run at a time.
  void Run(std::size_t count, const std::function<void(std::size_t, std::size_t)>& part);

private:
  struct TShared;
  void Start();
  unsigned threads_;
  int pid_ = 0;
  std::unique_ptr<TShared> shared_;
};
