// The frame in a real window on a private Xvfb screen: the initial card against clearing and
// presenting, for each renderer SDL offers here; and the CPU the real program takes there, on
// the card and while it waits on the splash.
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
  WindowScene(Screen screen, const Renderer& renderer) : server_(screen.width, screen.height) {
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
      display_ = Display::OpenFullScreen(request, keyboard_, clock_, &reason);
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
  void Compose() { ComposeFrame(state_, *display_, helpFont_); }
  void ClearAndPresent() {
    display_->SetClearColour(0, 0, 0);
    display_->Clear();
    display_->Present();
  }

 private:
  e2e::XvfbServer server_;
  bool started_ = false;
  KeyboardLayer keyboard_;
  FreeRunningClock clock_;
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
  for (int i = 0; i < 10; ++i) scene.Compose();  // glyph images made, caches warm
  for (auto _ : run) {
    if (card) {
      scene.Compose();
    } else {
      scene.ClearAndPresent();
    }
  }
}

std::string Name(Screen screen, const Renderer& renderer, bool card) {
  return std::string(card ? "WindowCard/" : "WindowFloor/") + screen.name + "/" + renderer.name;
}

// The program's CPU time so far, from /proc/PID/stat (user + system), in seconds.
double ProcessSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(in, line);
  // Fields after the command name, which ends with the last ')': state is field 3, utime 14.
  std::istringstream fields(line.substr(line.rfind(')') + 2));
  std::string field;
  long long utime = 0;
  long long stime = 0;
  for (int index = 3; fields >> field; ++index) {
    if (index == 14) utime = std::stoll(field);
    if (index == 15) {
      stime = std::stoll(field);
      break;
    }
  }
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
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
  benchmark::RegisterBenchmark("ProgramCpu", ProgramCpu)->Iterations(1)->Unit(benchmark::kMillisecond);
}

void Summarise(const Results& results) {
  double floorCpuMs = 0;
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
      if (screen.width == kFullHd.width && renderer.variable == nullptr) floorCpuMs = floor.cpuMs;
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
  // The floor: 60 clears and presents a second in the program's own process (its CPU time, all
  // threads), as measured above in a window of the default renderer.
  const double floorPercent = 60.0 * floorCpuMs / 10.0;
  WriteRow({"7", "CPU of one core, 1080p Xvfb, 10 s: splash " + Fixed(splash, 2) + " %", "< 1 %",
            Verdict(splash < 1.0)});
  WriteRow({"7",
            "CPU of one core, 1080p Xvfb, 10 s: card " + Fixed(card, 1) + " % (floor " +
                Fixed(floorPercent, 1) + " %)",
            "<= 1.25 x floor", Verdict(card > 0 && card <= 1.25 * floorPercent)});
}

}  // namespace
}  // namespace zz::bench

int main(int argc, char** argv) {
  zz::bench::Register();
  zz::bench::Summarise(zz::bench::RunBenchmarks(argc, argv));
  return 0;
}
