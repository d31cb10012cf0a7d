// The curved rail's tooth search, as the switched-reluctance carriage calls it
// ten times per tick, against the plain scan that takes every sample's position
// and root on each call.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "models/linear/rail.h"
#include "models/linear/rail_shape.h"

namespace {
namespace KINEMO_UNITY_ID {

// Query points along the loop, as a walking carriage would make them.
std::vector<TRailPoint> Queries(const TRail& rail) {
  std::vector<TRailPoint> q;
  for (double s = 0; s < rail.Length(); s += 0.0071) {
    double x, y, theta;
    rail.PointAt(s, x, y, theta);
    q.push_back({x + 0.001, y - 0.002, 0});
  }
  return q;
}

void BM_NearestToothCached(benchmark::State& state) {
  TRail rail(0, 1, 5);
  rail.RailType = static_cast<std::int32_t>(state.range(0));
  const std::vector<TRailPoint> q = Queries(rail);
  std::size_t i = 0;
  for (auto _ : state) {
    double x, y, theta;
    const TRailPoint& p = q[i++ % q.size()];
    benchmark::DoNotOptimize(rail.NearestTooth(p.x, p.y, x, y, theta));
    benchmark::DoNotOptimize(x);
  }
}

void BM_NearestToothPlainScan(benchmark::State& state) {
  TRail rail(0, 1, 5);
  rail.RailType = static_cast<std::int32_t>(state.range(0));
  const std::vector<TRailPoint> q = Queries(rail);
  std::size_t i = 0;
  for (auto _ : state) {
    TRailPoint out;
    std::int32_t index;
    const TRailPoint& p = q[i++ % q.size()];
    benchmark::DoNotOptimize(ScanNearestSample(rail.RailType, rail.CurveRadius, rail.ToothPitch,
                                               rail.PosX, rail.PosY, p.x, p.y, out, index));
    benchmark::DoNotOptimize(out);
  }
}

} // namespace KINEMO_UNITY_ID
} // namespace

BENCHMARK(BM_NearestToothCached)->Arg(2)->Arg(3);
BENCHMARK(BM_NearestToothPlainScan)->Arg(2)->Arg(3);
