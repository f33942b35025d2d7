#include "bench/bench_support.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "display/font_faces.h"

namespace zz::bench {

uint32_t FreeRunningClock::Milliseconds() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

TitleState InitialCard() {
  std::array<std::string, 6> faces;
  for (std::size_t i = 0; i < faces.size(); ++i) faces[i] = ResolveFontFace(kFontFacePaths[i]);
  TitleState state;
  SetUpTitleState(state, faces);
  return state;
}

int32_t ChangingBackground(int32_t frame) {
  return (frame % 2) * 3;
}

void PresentEmptyFrame(Display& display, const TitleState& state, int32_t background) {
  const Rgb ground = PaletteColour(state.backgroundPalette, background);
  display.SetClearColour(ground.red, ground.green, ground.blue);
  display.Clear();
  display.Present();
}

void WriteRow(const SummaryRow& row) {
  const char* chosen = std::getenv("ZZ_BENCH_RESULTS");
  const std::filesystem::path directory = chosen != nullptr && *chosen != '\0' ? chosen : "bench-results";
  std::error_code ignored;
  std::filesystem::create_directories(directory, ignored);
  // One file a figure, named so that the table lists them in order (`make bench` empties the
  // directory first).
  std::ofstream out(directory / ("figure-" + row.figure + ".row"), std::ios::app);
  out << row.figure << '\t' << row.measured << '\t' << row.goal << '\t' << row.holds << '\n';
}

std::string Verdict(bool holds) {
  return holds ? "yes" : "NO";
}

std::string Fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

void Results::ReportRuns(const std::vector<Run>& runs) {
  ConsoleReporter::ReportRuns(runs);
  for (const Run& run : runs) {
    if (run.error_occurred) continue;
    // A repeated benchmark counts by the median of its repetitions.
    const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
    if (run.run_type != Run::RT_Iteration && !median) continue;
    const double toMs = 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
    Entry& entry = entries_[median ? run.run_name.str() : run.benchmark_name()];
    entry.realMs = run.GetAdjustedRealTime() * toMs;
    entry.cpuMs = run.GetAdjustedCPUTime() * toMs;
    for (const auto& [name, counter] : run.counters) entry.counters[name] = counter.value;
  }
}

std::map<std::string, Results::Entry>::const_iterator Results::Find(const std::string& name) const {
  // Names may carry the options Google Benchmark adds ("/iterations:3").
  auto found = entries_.find(name);
  if (found != entries_.end()) return found;
  found = entries_.lower_bound(name + "/");
  if (found != entries_.end() && found->first.rfind(name + "/", 0) == 0) return found;
  return entries_.end();
}

double Results::Counter(const std::string& name, const std::string& counter) const {
  const auto& counters = (*this)[name].counters;
  return counters.count(counter) != 0 ? counters.at(counter) : 0;
}

const Results::Entry& Results::operator[](const std::string& name) const {
  static const Entry kNone;
  const auto found = Find(name);
  if (found == entries_.end()) {
    std::fprintf(stderr, "bench: no result for %s\n", name.c_str());
    return kNone;
  }
  return found->second;
}

const Results& RunBenchmarks(int argc, char** argv) {
  static Results results;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks(&results);
  benchmark::Shutdown();
  return results;
}

}  // namespace zz::bench
