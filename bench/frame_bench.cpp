// Frame cost on the software renderer drawing into memory: the initial card against its floor
// (clear and present), fonts opened every frame against kept fonts, first use of a face, size or
// character, and a layer a million characters long.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/bench_support.h"
#include "display/display.h"
#include "screen/frame.h"

namespace zz::bench {
namespace {

constexpr double kPeriodMs = 1000.0 / PresentingRule::kRate;

// An offscreen display set up as the program sets up its window, with the initial card.
struct Scene {
  explicit Scene(Screen screen)
      : display(Display::OpenOffscreen(screen.width, screen.height, keyboard, clock)) {
    display->SetAlphaBlending();
    helpFont = display->LoadFont(state.fontFaces[0], state.fontSizes[1]);
  }
  void Compose() { ComposeFrame(state, *display, helpFont); }
  void ClearAndPresent(int32_t grey = 0) {
    display->SetClearColour(grey, grey, grey);
    display->Clear();
    display->Present();
  }

  KeyboardLayer keyboard;
  FreeRunningClock clock;
  TitleState state = InitialCard();
  std::unique_ptr<Display> display;
  std::shared_ptr<Font> helpFont;
};

// Wall time of one frame: a first use is a single frame, too short for the benchmark's own timing.
double ComposeMilliseconds(Scene& scene) {
  const auto start = std::chrono::steady_clock::now();
  scene.Compose();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void Floor(benchmark::State& run, Screen screen) {
  Scene scene(screen);
  for (auto _ : run) scene.ClearAndPresent();
}

// The clear as SDL makes it, filling every row: the display skips rows that already hold the
// colour, so the colour changes every frame here.
void FullClear(benchmark::State& run, Screen screen) {
  Scene scene(screen);
  int32_t frame = 0;
  for (auto _ : run) scene.ClearAndPresent(frame++ % 2 * 255);
}

void Card(benchmark::State& run, Screen screen) {
  Scene scene(screen);
  for (auto _ : run) scene.Compose();
}

// The same face file under another spelling of its path each time: the display keeps fonts by
// path, so every frame opens, sizes and renders both layer fonts anew, and the kept ones it
// pushes out are released.
std::string Respelled(const std::string& path, int spelling) {
  const std::filesystem::path file(path);
  std::string dots;
  for (int i = 0; i < spelling; ++i) dots += "./";
  return (file.parent_path() / dots).string() + file.filename().string();
}

void FontsEveryFrame(benchmark::State& run) {
  Scene scene(kFullHd);
  const TitleState initial = scene.state;
  int frame = 0;
  for (auto _ : run) {
    // Twice the display's capacity of kept fonts, so a spelling is always gone when it returns.
    const int spelling = 1 + frame++ % 128;
    for (std::size_t layer = 0; layer < 2; ++layer) {
      const auto face = static_cast<std::size_t>(initial.layerFaceIndex[layer]);
      scene.state.fontFaces[face] =
          Respelled(initial.fontFaces[face], spelling * 2 + static_cast<int>(layer));
    }
    scene.Compose();
  }
}

// The frame that first uses a face at a size: a fresh display has no font kept, so the frame
// opens the face and makes every glyph of the line. Reported as the worst over all faces.
void FirstUseOfFaceAndSize(benchmark::State& run, int32_t sizeIndex) {
  double worstMs = 0;
  for (auto _ : run) {
    for (int32_t face = 0; face < 6; ++face) {
      run.PauseTiming();
      auto scene = std::make_unique<Scene>(kUltraHd);
      scene->state.layerFaceIndex[0] = face;
      scene->state.layerSizeIndex[0] = sizeIndex;
      run.ResumeTiming();
      worstMs = std::max(worstMs, ComposeMilliseconds(*scene));
      run.PauseTiming();
      scene.reset();
      run.ResumeTiming();
    }
  }
  run.counters["worst_ms"] = worstMs;
}

// A character the kept font has not drawn before, at the largest size: one glyph made.
void FirstUseOfCharacter(benchmark::State& run) {
  double worstMs = 0;
  for (auto _ : run) {
    run.PauseTiming();
    auto scene = std::make_unique<Scene>(kUltraHd);
    scene->state.layerSizeIndex[0] = 6;
    scene->Compose();
    scene->state.layerText[0] += u'\u00c4';
    run.ResumeTiming();
    worstMs = std::max(worstMs, ComposeMilliseconds(*scene));
    run.PauseTiming();
    scene.reset();
    run.ResumeTiming();
  }
  run.counters["worst_ms"] = worstMs;
}

void LongLayer(benchmark::State& run, std::size_t characters) {
  Scene scene(kFullHd);
  const std::u16string name = u"Vorname Name";
  std::u16string text;
  text.reserve(characters);
  while (text.size() < characters) text += name.substr(0, std::min(name.size(), characters - text.size()));
  scene.state.layerText[0] = text;
  for (auto _ : run) scene.Compose();
}

// The machines here are shared: a ratio is taken between the medians of several repetitions.
void Repeated(benchmark::internal::Benchmark* benchmark) {
  benchmark->Unit(benchmark::kMillisecond)->Repetitions(5)->DisplayAggregatesOnly(true);
}

void Register() {
  for (const Screen screen : {kFullHd, kUltraHd}) {
    Repeated(benchmark::RegisterBenchmark((std::string("Floor/") + screen.name).c_str(), Floor, screen));
    Repeated(benchmark::RegisterBenchmark((std::string("Card/") + screen.name).c_str(), Card, screen));
    Repeated(
        benchmark::RegisterBenchmark((std::string("FullClear/") + screen.name).c_str(), FullClear, screen));
  }
  Repeated(benchmark::RegisterBenchmark("Fonts/kept", Card, kFullHd));
  Repeated(benchmark::RegisterBenchmark("Fonts/every_frame", FontsEveryFrame));
  for (int32_t size = 0; size < 7; ++size) {
    benchmark::RegisterBenchmark(("FirstUse/size_index_" + std::to_string(size)).c_str(),
                                 FirstUseOfFaceAndSize, size)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
  }
  benchmark::RegisterBenchmark("FirstUse/new_character_82px", FirstUseOfCharacter)
      ->Unit(benchmark::kMillisecond)
      ->Iterations(20);
  Repeated(benchmark::RegisterBenchmark("LongLayer/12", LongLayer, std::size_t{12}));
  Repeated(benchmark::RegisterBenchmark("LongLayer/1000000", LongLayer, std::size_t{1000000}));
  // Far more than reach the right edge: the same glyphs on screen as the million.
  Repeated(benchmark::RegisterBenchmark("LongLayer/400", LongLayer, std::size_t{400}));
}

void SummariseFirstUse(const Results& results);
void SummariseLongLayer(const Results& results);

void Summarise(const Results& results) {
  const struct {
    Screen screen;
    double goal;
  } floors[] = {{kFullHd, 1.25}, {kUltraHd, 1.15}};
  for (const auto& [screen, goal] : floors) {
    if (!results.Ran(std::string("Card/") + screen.name)) continue;
    const double card = results[std::string("Card/") + screen.name].cpuMs;
    const double empty = results[std::string("Floor/") + screen.name].cpuMs;
    const double full = results[std::string("FullClear/") + screen.name].cpuMs;
    const double ratio = full > 0 ? card / full : 0;
    WriteRow({"1",
              std::string("memory, ") + screen.name + ": card " + Fixed(card, 3) + " ms, empty frame " +
                  Fixed(empty, 3) + " ms, full clear+present " + Fixed(full, 3) +
                  " ms; card/full clear = " + Fixed(ratio, 2) + "x",
              "<= " + Fixed(goal, 2) + "x", Verdict(ratio > 0 && ratio <= goal)});
  }
  if (results.Ran("Fonts/every_frame")) {
    const double kept = results["Fonts/kept"].cpuMs;
    const double every = results["Fonts/every_frame"].cpuMs;
    WriteRow({"2",
              "fonts every frame / kept, 1080p: " + Fixed(every, 2) + " / " + Fixed(kept, 2) +
                  " ms = " + Fixed(kept > 0 ? every / kept : 0, 1) + "x",
              "report", "-"});
  }
  if (results.Ran("FirstUse/size_index_6")) SummariseFirstUse(results);
  if (results.Ran("LongLayer/1000000")) SummariseLongLayer(results);
}

void SummariseFirstUse(const Results& results) {
  double worst = results["FirstUse/new_character_82px"].counters.count("worst_ms") != 0
                     ? results["FirstUse/new_character_82px"].counters.at("worst_ms")
                     : 0;
  for (int32_t size = 0; size < 7; ++size) {
    const auto& counters = results["FirstUse/size_index_" + std::to_string(size)].counters;
    if (counters.count("worst_ms") != 0) worst = std::max(worst, counters.at("worst_ms"));
  }
  WriteRow({"3", "worst first-use frame (face, size 12..82 px, character), 4K: " + Fixed(worst, 2) + " ms",
            "< " + Fixed(kPeriodMs, 1) + " ms", Verdict(worst > 0 && worst < kPeriodMs)});
}

void SummariseLongLayer(const Results& results) {
  const double shortText = results["LongLayer/12"].cpuMs;
  const double longText = results["LongLayer/1000000"].cpuMs;
  const double screenful = results["LongLayer/400"].cpuMs;
  const double ratio = shortText > 0 ? longText / shortText : 0;
  WriteRow({"4",
            "1,000,000 / 12 characters, 1080p: " + Fixed(longText, 3) + " / " + Fixed(shortText, 3) +
                " ms = " + Fixed(ratio, 2) + "x; / 400 characters (same glyphs on screen) = " +
                Fixed(screenful > 0 ? longText / screenful : 0, 2) + "x",
            "<= 1.20x", Verdict(ratio > 0 && ratio <= 1.2)});
}

}  // namespace
}  // namespace zz::bench

int main(int argc, char** argv) {
  zz::bench::Register();
  zz::bench::Summarise(zz::bench::RunBenchmarks(argc, argv));
  return 0;
}
