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

// How a frame is asked for: the same picture again (the card standing still, as it does most of
// the time: the display finds the surface holding it already), or on a clear of another colour
// than the frame before (black and blue taking turns), which the display must draw in full.
enum class Frames { kStill, kDrawn };

// The background of the frame: the card's own, or black and blue taking turns.
int32_t Background(Frames frames, int32_t frame) {
  return frames == Frames::kStill ? 0 : ChangingBackground(frame);
}

void Floor(benchmark::State& run, Screen screen, Frames frames) {
  Scene scene(screen);
  int32_t frame = 0;
  for (auto _ : run) PresentEmptyFrame(*scene.display, scene.state, Background(frames, frame++));
}

void Card(benchmark::State& run, Screen screen, Frames frames) {
  Scene scene(screen);
  int32_t frame = 0;
  for (auto _ : run) {
    scene.state.backgroundIndex = Background(frames, frame++);
    scene.Compose();
  }
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
    scene.state.backgroundIndex = Background(Frames::kDrawn, frame);
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

void LongLayer(benchmark::State& run, std::size_t characters, Frames frames) {
  Scene scene(kFullHd);
  const std::u16string name = u"Vorname Name";
  std::u16string text;
  text.reserve(characters);
  while (text.size() < characters) text += name.substr(0, std::min(name.size(), characters - text.size()));
  scene.state.layerText[0] = text;
  int32_t frame = 0;
  for (auto _ : run) {
    scene.state.backgroundIndex = Background(frames, frame++);
    scene.Compose();
  }
}

// The machines here are shared: a ratio is taken between the medians of several repetitions.
void Repeated(benchmark::internal::Benchmark* benchmark) {
  benchmark->Unit(benchmark::kMillisecond)->Repetitions(5)->DisplayAggregatesOnly(true);
}

const char* FramesName(Frames frames) {
  return frames == Frames::kStill ? "still" : "drawn";
}

void Register() {
  for (const Screen screen : {kFullHd, kUltraHd}) {
    for (const Frames frames : {Frames::kStill, Frames::kDrawn}) {
      const std::string suffix = std::string("/") + screen.name + "/" + FramesName(frames);
      Repeated(benchmark::RegisterBenchmark(("Floor" + suffix).c_str(), Floor, screen, frames));
      Repeated(benchmark::RegisterBenchmark(("Card" + suffix).c_str(), Card, screen, frames));
    }
  }
  // Both drawn every frame: new fonts make a frame that must be drawn, whatever it shows.
  Repeated(benchmark::RegisterBenchmark("Fonts/kept", Card, kFullHd, Frames::kDrawn));
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
  // 400 characters are far more than reach the right edge: the same glyphs on screen as the
  // million.
  for (const std::size_t characters : {std::size_t{12}, std::size_t{1000000}, std::size_t{400}}) {
    for (const Frames frames : {Frames::kStill, Frames::kDrawn}) {
      const std::string name = "LongLayer/" + std::to_string(characters) + "/" + FramesName(frames);
      Repeated(benchmark::RegisterBenchmark(name.c_str(), LongLayer, characters, frames));
    }
  }
}

void SummariseFirstUse(const Results& results);
void SummariseLongLayer(const Results& results);

// Microseconds, as the frames that stand still take well under one.
std::string Micro(double milliseconds) {
  return Fixed(milliseconds * 1000.0, 2) + " us";
}

double Ratio(double numerator, double denominator) {
  return denominator > 0 ? numerator / denominator : 0;
}

void Summarise(const Results& results) {
  const struct {
    Screen screen;
    double goal;
  } floors[] = {{kFullHd, 1.25}, {kUltraHd, 1.15}};
  for (const auto& [screen, goal] : floors) {
    const std::string suffix = std::string("/") + screen.name;
    if (!results.Ran("Card" + suffix + "/drawn")) continue;
    const double drawn = results["Card" + suffix + "/drawn"].cpuMs;
    const double drawnFloor = results["Floor" + suffix + "/drawn"].cpuMs;
    const double still = results["Card" + suffix + "/still"].cpuMs;
    const double stillFloor = results["Floor" + suffix + "/still"].cpuMs;
    const double ratio = Ratio(drawn, drawnFloor);
    WriteRow({"1",
              std::string("memory, ") + screen.name + ", card/floor: drawn " + Micro(drawn) + " / " +
                  Micro(drawnFloor) + " = " + Fixed(ratio, 2) + "x; standing still " + Micro(still) + " / " +
                  Micro(stillFloor) + " = " + Fixed(Ratio(still, stillFloor), 1) + "x",
              "drawn <= " + Fixed(goal, 2) + "x", Verdict(ratio > 0 && ratio <= goal)});
  }
  if (results.Ran("Fonts/every_frame")) {
    const double kept = results["Fonts/kept"].cpuMs;
    const double every = results["Fonts/every_frame"].cpuMs;
    WriteRow({"2",
              "fonts every frame / kept, 1080p, drawn: " + Fixed(every, 3) + " / " + Fixed(kept, 3) +
                  " ms = " + Fixed(Ratio(every, kept), 1) + "x",
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
  const auto cost = [&](const char* characters, const char* frames) {
    return results[std::string("LongLayer/") + characters + "/" + frames].cpuMs;
  };
  const double ratio = Ratio(cost("1000000", "still"), cost("12", "still"));
  WriteRow({"4",
            "1,000,000 / 12 characters, 1080p: " + Micro(cost("1000000", "still")) + " / " +
                Micro(cost("12", "still")) + " = " + Fixed(ratio, 2) + "x; drawn " +
                Micro(cost("1000000", "drawn")) + " / " + Micro(cost("12", "drawn")) + " = " +
                Fixed(Ratio(cost("1000000", "drawn"), cost("12", "drawn")), 2) +
                "x; / 400 characters (same glyphs on screen) " +
                Fixed(Ratio(cost("1000000", "still"), cost("400", "still")), 2) + "x still, " +
                Fixed(Ratio(cost("1000000", "drawn"), cost("400", "drawn")), 2) + "x drawn",
            "<= 1.20x", Verdict(ratio > 0 && ratio <= 1.2)});
}

}  // namespace
}  // namespace zz::bench

int main(int argc, char** argv) {
  zz::bench::Register();
  zz::bench::Summarise(zz::bench::RunBenchmarks(argc, argv));
  return 0;
}
