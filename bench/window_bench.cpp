// The frame in a real window on a private Xvfb screen: the initial card against clearing and
// presenting, drawn anew every frame, for each renderer SDL offers here; and the CPU the real
// program takes there, on the card and while it waits on the splash, against the least a loop
// paced as the program's is can take.
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "bench/bench_support.h"
#include "display/display.h"
#include "e2e/program_session.h"
#include "e2e/xvfb_server.h"
#include "screen/frame.h"
#include "title/title_state.h"

namespace zz::bench {
namespace {

// The renderer choices the program offers through ZIZEZED_RENDERER; none is its default.
struct Renderer {
  const char* name;
  const char* variable;
};
constexpr Renderer kRenderers[] = {{"default", nullptr}, {"software", "software"}, {"opengl", "opengl"}};

// The platform and a full-screen display on its own Xvfb screen, opened as the program opens it.
class WindowScene {
 public:
  // Paced: by the system clock, as the program is; otherwise frames follow each other at once.
  WindowScene(Screen screen, const Renderer& renderer, bool paced = false)
      : server_(screen.width, screen.height), paced_(paced) {
    setenv("DISPLAY", server_.display().c_str(), 1);
    unsetenv("SDL_VIDEODRIVER");
    if (renderer.variable != nullptr) {
      setenv("ZIZEZED_RENDERER", renderer.variable, 1);
    } else {
      unsetenv("ZIZEZED_RENDERER");
    }
    std::string reason;
    started_ = StartPlatform(&reason);
    DisplayRequest request;
    if (started_ && DesktopSize(&request.width, &request.height))
      display_ = Display::OpenFullScreen(request, keyboard_, clock(), &reason);
    if (display_ == nullptr) return;
    display_->SetAlphaBlending();
    helpFont_ = display_->LoadFont(state_.fontFaces[0], state_.fontSizes[1]);
  }
  ~WindowScene() {
    helpFont_.reset();
    display_.reset();
    if (started_) StopPlatform();
    unsetenv("ZIZEZED_RENDERER");
  }

  bool ready() const { return display_ != nullptr; }
  // The frame-th frame, its background black and blue by turns: every frame is drawn and sent
  // whole.
  void Compose(int32_t frame) {
    state_.backgroundIndex = ChangingBackground(frame);
    ComposeFrame(state_, *display_, helpFont_);
  }
  void ClearAndPresent(int32_t frame) { PresentEmptyFrame(*display_, state_, ChangingBackground(frame)); }
  // The least a pass of the program's loop does: wait for its frame, read the keyboard, and show
  // a frame with nothing on it.
  void EmptyPass() {
    display_->WaitForFrameStart();
    benchmark::DoNotOptimize(keyboard_.KeyHit(kVkEscape));
    PresentEmptyFrame(*display_, state_, 0);
  }

 private:
  Clock& clock() { return paced_ ? static_cast<Clock&>(systemClock_) : freeRunningClock_; }

  e2e::XvfbServer server_;
  bool paced_;
  bool started_ = false;
  KeyboardLayer keyboard_;
  FreeRunningClock freeRunningClock_;
  SystemClock systemClock_;
  TitleState state_ = InitialCard();
  std::unique_ptr<Display> display_;
  std::shared_ptr<Font> helpFont_;
};

void WindowFrame(benchmark::State& run, Screen screen, Renderer renderer, bool card) {
  WindowScene scene(screen, renderer);
  if (!scene.ready()) {
    run.SkipWithError("no display");
    return;
  }
  int32_t frame = 0;
  for (; frame < 10; ++frame) scene.Compose(frame);  // glyph images made, caches warm
  for (auto _ : run) {
    if (card) {
      scene.Compose(frame++);
    } else {
      scene.ClearAndPresent(frame++);
    }
  }
}

// The floor of the program's CPU: 60 passes a second that show nothing, paced by the real clock.
void PacedEmptyPasses(benchmark::State& run) {
  WindowScene scene(kFullHd, kRenderers[0], true);
  if (!scene.ready()) {
    run.SkipWithError("no display");
    return;
  }
  for (auto _ : run) scene.EmptyPass();
}

std::string Name(Screen screen, const Renderer& renderer, bool card) {
  return std::string(card ? "WindowCard/" : "WindowFloor/") + screen.name + "/" + renderer.name;
}

// The program's CPU time so far in seconds: the time each of its threads has run, in
// nanoseconds (/proc/PID/task/TID/schedstat), where /proc/PID/stat counts whole clock ticks,
// too coarse for a program that takes a fraction of a percent.
double ProcessSeconds(pid_t pid) {
  std::error_code error;
  long long nanoseconds = 0;
  for (const auto& task :
       std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
    std::ifstream in(task.path() / "schedstat");
    long long running = 0;
    if (in >> running) nanoseconds += running;
  }
  return static_cast<double>(nanoseconds) / 1e9;
}

// The program started by this process (the session's child), found by its parent id.
std::optional<pid_t> ProgramPid() {
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream in(entry.path() / "stat");
    std::string line;
    if (!std::getline(in, line) || line.find("(zizezed)") == std::string::npos) continue;
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string state;
    pid_t parent = 0;
    if (fields >> state >> parent && parent == getpid()) return static_cast<pid_t>(std::stoi(name));
  }
  return std::nullopt;
}

double PercentOfOneCore(pid_t pid, std::chrono::seconds span) {
  const double before = ProcessSeconds(pid);
  const auto start = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(span);
  const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
  return 100.0 * (ProcessSeconds(pid) - before) / wall.count();
}

void ProgramCpu(benchmark::State& run) {
  for (auto _ : run) {
    e2e::ProgramSession session(ZZ_PROGRAM_PATH, kFullHd.width, kFullHd.height);
    // Looked for once the splash is up: right after the fork the child still has our name.
    const bool splash = session.WaitForSplash().has_value();
    const std::optional<pid_t> pid = ProgramPid();
    if (!splash || !pid) {
      run.SkipWithError("the program did not show its splash");
      return;
    }
    run.counters["splash_percent"] = PercentOfOneCore(*pid, std::chrono::seconds(10));
    if (!session.StartTitle()) {
      run.SkipWithError("the program did not show the card");
      return;
    }
    run.counters["card_percent"] = PercentOfOneCore(*pid, std::chrono::seconds(10));
    session.keys().Tap("Escape");
    session.program().WaitForEnd(std::chrono::seconds(5));
  }
}

void Register() {
  for (const Screen screen : {kFullHd, kUltraHd}) {
    for (const Renderer& renderer : kRenderers) {
      for (const bool card : {false, true}) {
        benchmark::RegisterBenchmark(Name(screen, renderer, card).c_str(), WindowFrame, screen, renderer,
                                     card)
            ->Iterations(screen.width > 2000 ? 60 : 180)
            ->MeasureProcessCPUTime()
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
      }
    }
  }
  benchmark::RegisterBenchmark("PacedEmptyPasses", PacedEmptyPasses)
      ->Iterations(600)
      ->MeasureProcessCPUTime()
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("ProgramCpu", ProgramCpu)->Iterations(1)->Unit(benchmark::kMillisecond);
}

void Summarise(const Results& results) {
  for (const Screen screen : {kFullHd, kUltraHd}) {
    if (!results.Ran(Name(screen, kRenderers[0], true))) continue;
    std::string measured = std::string("window (Xvfb), ") + screen.name + ", card/floor ms:";
    double fastest = 0;
    std::string fastestName;
    for (const Renderer& renderer : kRenderers) {
      const auto& card = results[Name(screen, renderer, true)];
      const auto& floor = results[Name(screen, renderer, false)];
      measured += std::string(" ") + renderer.name + " " + Fixed(card.realMs, 2) + "/" +
                  Fixed(floor.realMs, 2) + " (CPU " + Fixed(card.cpuMs, 2) + ")";
      if (card.realMs > 0 && (fastest == 0 || card.realMs < fastest)) {
        fastest = card.realMs;
        fastestName = renderer.name;
      }
    }
    const auto& chosen = results[Name(screen, kRenderers[0], true)];
    const auto& chosenFloor = results[Name(screen, kRenderers[0], false)];
    const double ratio = chosenFloor.realMs > 0 ? chosen.realMs / chosenFloor.realMs : 0;
    measured += "; default " + Fixed(ratio, 2) + "x";
    WriteRow({"1", measured, "default fastest", Verdict(fastestName == "default")});
  }
  if (!results.Ran("ProgramCpu")) return;
  const double splash = results.Counter("ProgramCpu", "splash_percent");
  const double card = results.Counter("ProgramCpu", "card_percent");
  // The floor: empty passes paced as the program's, 60 a second, in the benchmark's process (its
  // CPU time, all threads, as a share of the passes' wall time).
  const auto& passes = results["PacedEmptyPasses"];
  const double floorPercent = passes.realMs > 0 ? 100.0 * passes.cpuMs / passes.realMs : 0;
  WriteRow({"7", "CPU of one core, 1080p Xvfb, 10 s: splash " + Fixed(splash, 2) + " %", "< 1 %",
            Verdict(splash < 1.0)});
  WriteRow({"7",
            "CPU of one core, 1080p Xvfb, 10 s: card " + Fixed(card, 2) + " % (floor " +
                Fixed(floorPercent, 2) + " %)",
            "<= 1.25 x floor", Verdict(card > 0 && card <= 1.25 * floorPercent)});
}

}  // namespace
}  // namespace zz::bench

int main(int argc, char** argv) {
  zz::bench::Register();
  zz::bench::Summarise(zz::bench::RunBenchmarks(argc, argv));
  return 0;
}
