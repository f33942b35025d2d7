// Memory over a long run: resident set size and open descriptors after 1,000 frames of random
// editing and after many more (1,000,000 by default; ZZ_SOAK_FRAMES sets the count). Each frame
// is a pass of the main loop in the soak's editing session, on a 640x360 memory surface.
#include <cstdint>
#include <cstdlib>

#include "bench/bench_support.h"
#include "support/random_editing.h"

namespace zz::bench {
namespace {

constexpr long kFirstCount = test::EditingSession::kFirstReadingFrame;
constexpr long kDefaultFrames = 1000000;
constexpr uint32_t kSeed = 20260101;

long SoakFrames() {
  const char* chosen = std::getenv("ZZ_SOAK_FRAMES");
  const long frames = chosen != nullptr ? std::atol(chosen) : kDefaultFrames;
  return frames > kFirstCount ? frames : kDefaultFrames;
}

double KiB(int64_t bytes) {
  return static_cast<double>(bytes) / 1024.0;
}

void Soak(benchmark::State& run) {
  const long frames = SoakFrames();
  for (auto _ : run) {
    const auto session = test::EditingSession::Open(640, 360, kSeed);
    if (session == nullptr) {
      run.SkipWithError("no memory surface");
      break;
    }
    const auto readings = session->Run(frames);
    if (!readings) {
      run.SkipWithError("a pass ended the main loop");
      break;
    }
    run.counters["rss_first_kib"] = KiB(readings->first.residentBytes);
    run.counters["fds_first"] = static_cast<double>(readings->first.openFiles);
    run.counters["rss_last_kib"] = KiB(readings->last.residentBytes);
    run.counters["fds_last"] = static_cast<double>(readings->last.openFiles);
    run.counters["frames"] = static_cast<double>(frames);
  }
}

void Summarise(const Results& results) {
  if (!results.Ran("Soak")) return;
  const auto& counters = results["Soak"].counters;
  const auto value = [&](const char* name) { return counters.count(name) != 0 ? counters.at(name) : 0.0; };
  const double growthKiB = value("rss_last_kib") - value("rss_first_kib");
  const bool holds =
      value("rss_first_kib") > 0 && growthKiB < 1024 && value("fds_first") == value("fds_last");
  WriteRow({"8",
            "after 1,000 / " + Fixed(value("frames"), 0) + " frames of random editing: RSS " +
                Fixed(value("rss_first_kib") / 1024, 1) + " / " + Fixed(value("rss_last_kib") / 1024, 1) +
                " MiB, fds " + Fixed(value("fds_first"), 0) + " / " + Fixed(value("fds_last"), 0),
            "RSS +< 1 MiB, fds equal", Verdict(holds)});
}

}  // namespace
}  // namespace zz::bench

int main(int argc, char** argv) {
  benchmark::RegisterBenchmark("Soak", zz::bench::Soak)->Iterations(1)->Unit(benchmark::kSecond);
  zz::bench::Summarise(zz::bench::RunBenchmarks(argc, argv));
  return 0;
}
