// The long event soak, outside the normal suite: kinemo_event_soak [EVENTS [SEED]]
// plays EVENTS (1 000 000) random window events from SEED (1) and checks the
// window's invariants after each; exit 0 when they all held.
// Run from ctest with `ctest -C Soak -R event_fuzz_soak`.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "../event_stream.h"

int main(int argc, char** argv) {
  const long long events = argc > 1 ? std::atoll(argv[1]) : 1'000'000;
  const unsigned long long seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("kinemo_soak_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const auto start = std::chrono::steady_clock::now();
  const TEventStreamResult r = RunEventStream(seed, events, dir.string(), KINEMO_BUILD_DATA_DIR);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::filesystem::remove_all(dir);
  std::printf("%lld events from seed %llu in %.1f s\n", r.Events, seed, seconds);
  for (const auto& [kind, count] : r.Counts)
    std::printf("  %-28s %lld\n", kind.c_str(), count);
  if (!r.Failure.empty()) {
    std::printf("FAILED: %s\n", r.Failure.c_str());
    return 1;
  }
  std::printf("every invariant held\n");
  return 0;
}
