// What the benchmarks share: a clock that never sleeps, the initial title card, the rows of the
// summary table that `make bench` prints at its end, and a reporter that keeps each result.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <string>

#include "display/clock.h"
#include "display/display.h"
#include "title/title_state.h"

namespace zz::bench {

// The real millisecond reading, but sleeping returns at once: the presenting rule paces nothing,
// so a benchmark measures the frame's own cost.
class FreeRunningClock final : public Clock {
 public:
  uint32_t Milliseconds() override;
  void Sleep(uint32_t /*milliseconds*/) override {}
};

// The two screen sizes the frame figures are measured at.
struct Screen {
  int32_t width;
  int32_t height;
  const char* name;
};
constexpr Screen kFullHd{1920, 1080, "1080p"};
constexpr Screen kUltraHd{3840, 2160, "4K"};

// The title state as the main loop's first pass sees it, with this system's face files.
TitleState InitialCard();

// The background (palette entry) of the frame-th frame drawn anew: black and blue by turns, so
// that no frame is the one the surface holds.
int32_t ChangingBackground(int32_t frame);
// Clears to the state's background of that entry and presents, with nothing drawn.
void PresentEmptyFrame(Display& display, const TitleState& state, int32_t background);

// One row of the summary table. `holds` is empty for a figure that is reported without a goal.
struct SummaryRow {
  std::string figure;
  std::string measured;
  std::string goal;
  std::string holds;
};
// Appends the row to the results directory ($ZZ_BENCH_RESULTS, or bench-results/ here), where
// the table is gathered once every benchmark has run.
void WriteRow(const SummaryRow& row);
std::string Verdict(bool holds);
std::string Fixed(double value, int decimals);

// Keeps every run's mean times (milliseconds per iteration) and counters by benchmark name (the
// median of the repetitions for a repeated one), and prints as the console reporter does.
class Results final : public benchmark::ConsoleReporter {
 public:
  struct Entry {
    double realMs = 0;
    double cpuMs = 0;
    std::map<std::string, double> counters;
  };
  void ReportRuns(const std::vector<Run>& runs) override;
  // The entry of the benchmark of that name; a missing one reads as zeros (reported as such).
  const Entry& operator[](const std::string& name) const;
  // One counter of that benchmark; a missing one reads as zero.
  double Counter(const std::string& name, const std::string& counter) const;
  // Whether a benchmark of that name ran (a filter on the command line may leave it out).
  bool Ran(const std::string& name) const { return Find(name) != entries_.end(); }

 private:
  std::map<std::string, Entry>::const_iterator Find(const std::string& name) const;
  std::map<std::string, Entry> entries_;
};

// Runs the benchmarks chosen on the command line (all by default) and returns the results.
const Results& RunBenchmarks(int argc, char** argv);

}  // namespace zz::bench
