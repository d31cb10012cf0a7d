#include "sim/workers.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <utility>

#include <unistd.h>

namespace {

// Runs follow one another closely (a step, the policy, the next step), and
// waking a sleeping thread takes tens of microseconds here, as long as a
// quarter of a run: a thread looks for the next run a while before it sleeps.
constexpr int kSpins = 20000;

inline void Pause() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

template <class TReady> bool SpinFor(TReady ready) {
  for (int i = 0; i < kSpins; ++i) {
    if (ready()) return true;
    Pause();
  }
  return false;
}

} // namespace

struct TWorkers::TShared {
  std::mutex Lock;
  std::condition_variable Wake, Done;
  std::atomic<std::uint64_t> Generation{0}; // one more for each run
  std::atomic<bool> Stop{false};
  std::atomic<unsigned> Pending{0}; // threads yet to finish this run
  // Set before Generation moves on, read after it has.
  std::size_t Count = 0;
  unsigned Parts = 0;
  const std::function<void(std::size_t, std::size_t)>* Part = nullptr;
  std::exception_ptr Error; // under Lock
  std::vector<std::thread> Threads;

  void RunPart(unsigned k) {
    try {
      (*Part)(Count * k / Parts, Count * (k + 1) / Parts);
    } catch (...) {
      const std::lock_guard hold(Lock);
      if (!Error) Error = std::current_exception();
    }
  }

  void Serve(unsigned k) {
    std::uint64_t seen = 0;
    for (;;) {
      const auto ready = [&] {
        return Stop.load(std::memory_order_acquire) ||
               Generation.load(std::memory_order_acquire) != seen;
      };
      if (!SpinFor(ready)) {
        std::unique_lock hold(Lock);
        Wake.wait(hold, ready);
      }
      if (Stop.load(std::memory_order_acquire)) return;
      seen = Generation.load(std::memory_order_acquire);
      if (k < Parts) RunPart(k);
      if (Pending.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        // Under the lock, so that a caller about to sleep cannot miss it.
        const std::lock_guard hold(Lock);
        Done.notify_one();
      }
    }
  }
};

TWorkers::TWorkers(unsigned threads) : threads_(std::max(1u, threads)) {
  if (threads_ > 1) Start();
}

void TWorkers::Start() {
  pid_ = static_cast<int>(getpid());
  shared_ = std::make_unique<TShared>();
  for (unsigned k = 1; k < threads_; ++k)
    shared_->Threads.emplace_back([s = shared_.get(), k] { s->Serve(k); });
}

TWorkers::~TWorkers() {
  if (!shared_) return;
  // In a child made by fork the threads are not there to join: their state is
  // left behind rather than waited on for ever.
  if (static_cast<int>(getpid()) != pid_) {
    (void)shared_.release();
    return;
  }
  {
    const std::lock_guard hold(shared_->Lock);
    shared_->Stop.store(true, std::memory_order_release);
  }
  shared_->Wake.notify_all();
  for (std::thread& t : shared_->Threads)
    t.join();
}

void TWorkers::Run(std::size_t count, const std::function<void(std::size_t, std::size_t)>& part) {
  if (threads_ == 1 || count < 2) {
    part(0, count);
    return;
  }
  if (static_cast<int>(getpid()) != pid_) {
    (void)shared_.release(); // see the destructor
    Start();
  }
  TShared& s = *shared_;
  s.Count = count;
  s.Parts = static_cast<unsigned>(std::min<std::size_t>(threads_, count));
  s.Part = &part;
  s.Pending.store(threads_ - 1, std::memory_order_relaxed);
  {
    const std::lock_guard hold(s.Lock);
    s.Generation.fetch_add(1, std::memory_order_release);
  }
  s.Wake.notify_all();
  s.RunPart(0);
  const auto finished = [&] { return s.Pending.load(std::memory_order_acquire) == 0; };
  if (!SpinFor(finished)) {
    std::unique_lock hold(s.Lock);
    s.Done.wait(hold, finished);
  }
  s.Part = nullptr;
  std::exception_ptr error;
  {
    const std::lock_guard hold(s.Lock);
    error = std::exchange(s.Error, nullptr);
  }
  if (error) std::rethrow_exception(error);
}
