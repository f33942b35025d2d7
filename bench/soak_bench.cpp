// Memory over a long run: resident set size and open descriptors after 1,000 frames of random
// editing and after many more (1,000,000 by default; ZZ_SOAK_FRAMES sets the count).
#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>

#include "bench/bench_support.h"
#include "display/display.h"
#include "screen/frame.h"
#include "screen/text_entry.h"
#include "support/scripted_keys.h"
#include "title/command_keys.h"

namespace zz::bench {
namespace {

constexpr long kFirstCount = 1000;
constexpr long kDefaultFrames = 1000000;

long SoakFrames() {
  const char* chosen = std::getenv("ZZ_SOAK_FRAMES");
  const long frames = chosen != nullptr ? std::atol(chosen) : kDefaultFrames;
  return frames > kFirstCount ? frames : kDefaultFrames;
}

double ResidentKiB() {
  std::ifstream in("/proc/self/statm");
  long size = 0;
  long resident = 0;
  in >> size >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1024.0;
}

double OpenDescriptors() {
  DIR* directory = opendir("/proc/self/fd");
  if (directory == nullptr) return 0;
  int count = 0;
  while (readdir(directory) != nullptr) ++count;
  closedir(directory);
  return count - 3;  // ".", ".." and the directory's own descriptor
}

// One random edit a frame: typing (ASCII, accented letters, characters no face has), backspace,
// arrows held and let go, and every command key.
class RandomEditor {
 public:
  explicit RandomEditor(test::ScriptedKeys& keys) : keys_(keys) {}

  void Next() {
    static constexpr int32_t kCommands[] = {kVkC, kVkS, kVkF, kVkB, kVkDigit1, kVkH};
    static constexpr int32_t kArrows[] = {kVkLeft, kVkUp, kVkRight, kVkDown};
    const int choice = Pick(20);
    if (choice < 8) {
      keys_.Stroke('A', Character());
    } else if (choice < 16) {
      keys_.Stroke(kVkBackspace, kBackspaceCharacter);
    } else if (choice < 18) {
      const int32_t arrow = kArrows[Pick(4)];
      if (Pick(2) == 0) {
        keys_.Press(arrow);
      } else {
        keys_.Release(arrow);
      }
    } else {
      keys_.Ctrl(kCommands[Pick(6)]);
    }
  }

 private:
  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
  int32_t Character() {
    switch (Pick(3)) {
      case 0:
        return 32 + Pick(95);
      case 1:
        return 0xA0 + Pick(0x160);  // Latin-1 and Latin Extended-A
      default:
        return 0x4E00 + Pick(64);  // CJK: in none of the program's faces
    }
  }

  test::ScriptedKeys& keys_;
  std::mt19937 random_{20260101};
};

void Soak(benchmark::State& run) {
  const long frames = SoakFrames();
  for (auto _ : run) {
    KeyboardLayer keyboard;
    FreeRunningClock clock;
    test::ScriptedKeys keys;
    RandomEditor editor(keys);
    const auto display = Display::OpenOffscreen(640, 360, keyboard, clock);
    display->SetAlphaBlending();
    keyboard.SetEventSource(&keys);
    keyboard.AddRecorder();
    TitleState state = InitialCard();
    const auto helpFont = display->LoadFont(state.fontFaces[0], state.fontSizes[1]);
    keyboard.AddHandler(&CommandKeyHook, &state, 0);
    for (long frame = 1; frame <= frames; ++frame) {
      editor.Next();
      keyboard.KeyHit(kVkEscape);
      ApplyTextEntryAndMovement(state, keyboard);
      ComposeFrame(state, *display, helpFont);
      if (frame == kFirstCount) {
        run.counters["rss_first_kib"] = ResidentKiB();
        run.counters["fds_first"] = OpenDescriptors();
      }
    }
    run.counters["rss_last_kib"] = ResidentKiB();
    run.counters["fds_last"] = OpenDescriptors();
    run.counters["frames"] = static_cast<double>(frames);
    keyboard.SetEventSource(nullptr);
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
