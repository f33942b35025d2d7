// The presenting rule on the real clock: how exactly timer pacing keeps 60 presents a second, and
// how long a key takes from entering the keyboard layer to the present that shows it.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

#include "bench/bench_support.h"
#include "display/display.h"
#include "screen/program_main.h"
#include "title/command_keys.h"

namespace zz::bench {
namespace {

using Instant = std::chrono::steady_clock::time_point;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr int kPresents = 600;
constexpr double kPeriodMs = 1000.0 / PresentingRule::kRate;

// 600 presents of an empty 1080p frame under timer pacing: their total against 10 s, and the
// intervals between them rounded to whole milliseconds.
void TimerPacing(benchmark::State& run) {
  KeyboardLayer keyboard;
  SystemClock clock;
  std::vector<double> intervals;
  double totalMs = 0;
  for (auto _ : run) {
    const auto display = Display::OpenOffscreen(1920, 1080, keyboard, clock);
    display->Present();  // the first target counts from the opening
    Instant last = std::chrono::steady_clock::now();
    const Instant start = last;
    for (int i = 0; i < kPresents; ++i) {
      display->Clear();
      display->Present();
      const Instant now = std::chrono::steady_clock::now();
      intervals.push_back(Milliseconds(now - last).count());
      last = now;
    }
    totalMs = Milliseconds(last - start).count();
  }
  const auto count = [&](double low, double high) {
    return static_cast<double>(
        std::count_if(intervals.begin(), intervals.end(), [&](double ms) { return ms >= low && ms < high; }));
  };
  run.counters["total_ms"] = totalMs;
  run.counters["n16"] = count(15.5, 16.5);
  run.counters["n17"] = count(16.5, 17.5);
  run.counters["other"] = static_cast<double>(intervals.size()) - count(15.5, 17.5);
  run.counters["n15"] = count(14.5, 15.5);
  run.counters["n18"] = count(17.5, 18.5);
}

// Typed characters that enter the keyboard layer in the query of every other pass, each stamped
// with the moment it entered.
class TimedKeys final : public EventSource {
 public:
  void TakePending(KeyboardLayer& layer) override {
    if (!armed_) return;
    armed_ = false;
    entered_ = std::chrono::steady_clock::now();
    layer.Emit(KeyEvent(kKeyDown, 'A', 0));
    layer.Emit(KeyEvent(kTypedCharacter, 0, 0, 'a'));
    layer.Emit(KeyEvent(kKeyUp, 'A', 0));
  }
  void WaitForInput(uint32_t /*timeoutMs*/) override {}

  void Arm() { armed_ = true; }
  Instant entered() const { return entered_; }

 private:
  bool armed_ = false;
  Instant entered_;
};

void KeyToScreen(benchmark::State& run) {
  KeyboardLayer keyboard;
  SystemClock clock;
  TimedKeys keys;
  std::vector<double> latencies;
  for (auto _ : run) {
    const auto display = Display::OpenOffscreen(1920, 1080, keyboard, clock);
    display->SetAlphaBlending();
    keyboard.SetEventSource(&keys);
    keyboard.AddRecorder();
    TitleState state = InitialCard();
    const auto helpFont = display->LoadFont(state.fontFaces[0], state.fontSizes[1]);
    keyboard.AddHandler(&CommandKeyHook, &state, 0);
    for (int pass = 0; pass < 2 * 120; ++pass) {
      if (pass % 2 == 1) keys.Arm();
      const std::size_t before = state.layerText[0].size();
      RunPass(state, *display, keyboard, helpFont);  // presents
      if (state.layerText[0].size() != before)
        latencies.push_back(Milliseconds(std::chrono::steady_clock::now() - keys.entered()).count());
    }
    keyboard.SetEventSource(nullptr);
  }
  std::sort(latencies.begin(), latencies.end());
  run.counters["events"] = static_cast<double>(latencies.size());
  run.counters["median_ms"] = latencies.empty() ? 0 : latencies[latencies.size() / 2];
  run.counters["worst_ms"] = latencies.empty() ? 0 : latencies.back();
}

void SummarisePacing(const Results& results);
void SummariseKeyToScreen(const Results& results);

void Summarise(const Results& results) {
  if (results.Ran("TimerPacing")) SummarisePacing(results);
  if (results.Ran("KeyToScreen")) SummariseKeyToScreen(results);
}

void SummarisePacing(const Results& results) {
  const double total = results.Counter("TimerPacing", "total_ms");
  WriteRow({"5",
            "600 timer-paced presents: " + Fixed(total, 2) +
                " ms; intervals 16 ms: " + Fixed(results.Counter("TimerPacing", "n16"), 0) +
                ", 17 ms: " + Fixed(results.Counter("TimerPacing", "n17"), 0) +
                ", other: " + Fixed(results.Counter("TimerPacing", "other"), 0),
            "10000 +- 2 ms", Verdict(total > 0 && std::abs(total - 10000) <= 2)});
}

void SummariseKeyToScreen(const Results& results) {
  const double median = results.Counter("KeyToScreen", "median_ms");
  const double worst = results.Counter("KeyToScreen", "worst_ms");
  WriteRow({"6", "key to screen, 1080p: median " + Fixed(median, 2) + " ms, worst " + Fixed(worst, 2) + " ms",
            "<= " + Fixed(kPeriodMs, 1) + " ms", Verdict(worst > 0 && worst <= kPeriodMs)});
}

}  // namespace
}  // namespace zz::bench

int main(int argc, char** argv) {
  using namespace zz::bench;
  benchmark::RegisterBenchmark("TimerPacing", TimerPacing)->Iterations(1)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("KeyToScreen", KeyToScreen)->Iterations(1)->Unit(benchmark::kMillisecond);
  Summarise(RunBenchmarks(argc, argv));
  return 0;
}
