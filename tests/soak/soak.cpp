// The soak: frames of random editing through the real keyboard layer, command keys, text entry
// and frame composition on a memory surface, with a clock that never sleeps. Open files must not
// grow between frame 1,000 and the end; with --memory, neither may the resident set (by 1 MiB or
// more), which only means something in a build without the sanitizers' own bookkeeping.
//   zizezed_soak [--memory] [frames] [seed]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "display/display.h"
#include "display/font_faces.h"
#include "screen/frame.h"
#include "screen/text_entry.h"
#include "support/manual_clock.h"
#include "title/command_keys.h"

namespace zz {
namespace {

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 640;
constexpr int64_t kFirstCheckFrame = 1000;
constexpr int64_t kAllowedGrowthBytes = 1 << 20;

// Time passes only when the presenting rule waits.
// Random key strokes, now and then a few pending at one query, as a fast typist's would be.
// Backspace comes a little more often than a character, so the lines stay of a readable length.
class RandomKeys final : public EventSource {
 public:
  explicit RandomKeys(uint32_t seed) : random_(seed) {}

  void TakePending(KeyboardLayer& layer) override {
    if (Roll(8) != 0) return;
    const int32_t strokes = 1 + Roll(3);
    for (int32_t i = 0; i < strokes; ++i) Stroke(layer);
  }
  void WaitForInput(uint32_t /*timeoutMs*/) override {}

 private:
  int32_t Roll(int32_t n) { return static_cast<int32_t>(random_() % static_cast<uint32_t>(n)); }

  static void Key(KeyboardLayer& layer, int32_t code, int32_t character, int32_t flags) {
    layer.Emit(KeyEvent(kKeyDown, code, flags));
    if (character != 0) layer.Emit(KeyEvent(kTypedCharacter, 0, flags, character));
    layer.Emit(KeyEvent(kKeyUp, code, flags));
  }

  void Stroke(KeyboardLayer& layer) {
    static constexpr int32_t kArrows[] = {kVkLeft, kVkUp, kVkRight, kVkDown};
    static constexpr int32_t kCommands[] = {kVkC, kVkS, kVkF, kVkB, kVkDigit1, kVkH};
    const int32_t kind = Roll(10);
    if (kind < 3) {
      const int32_t character = 32 + Roll(95);
      const int32_t code = character >= 'a' && character <= 'z' ? character - 32 : character;
      Key(layer, code, character, 0);
    } else if (kind < 6) {  // three in ten
      Key(layer, kVkBackspace, kBackspaceCharacter, 0);
    } else if (kind < 8) {
      const int32_t arrow = kArrows[Roll(4)];
      layer.Emit(KeyEvent(kKeyDown, arrow, 0));
      for (int32_t repeats = Roll(4); repeats > 0; --repeats) layer.Emit(KeyEvent(kKeyRepeat, arrow, 0));
      layer.Emit(KeyEvent(kKeyUp, arrow, 0));
    } else {
      const int32_t command = kCommands[Roll(6)];
      layer.Emit(KeyEvent(kKeyDown, kVkLeftControl, kCtrlFlag));
      Key(layer, command, command >= 'A' ? command - 64 : 0, kCtrlFlag);
      layer.Emit(KeyEvent(kKeyUp, kVkLeftControl, 0));
    }
  }

  std::mt19937 random_;
};

int64_t OpenFiles() {
  int64_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

int64_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  int64_t size = 0;
  int64_t resident = 0;
  statm >> size >> resident;
  return resident * 4096;
}

// Every glyph of every face and size the card can show is made before the first check, so what
// the fonts rightly keep does not count as growth.
void MakeEveryGlyph(Display& display, const TitleState& state) {
  for (const std::string& face : state.fontFaces) {
    for (const int32_t size : state.fontSizes) {
      display.SelectFont(display.LoadFont(face, size));
      // One at a time at the corner: a glyph that would fall off the screen may never be made.
      for (char16_t c = 32; c < 127; ++c) display.DrawString(std::u16string(1, c), 0, 0);
    }
  }
}

struct Reading {
  int64_t files;
  int64_t resident;
};

Reading Read() {
  return {OpenFiles(), ResidentBytes()};
}

int Soak(bool checkMemory, int64_t frames, uint32_t seed) {
  KeyboardLayer keyboard;
  test::ManualClock clock;
  auto display = Display::OpenOffscreen(kWidth, kHeight, keyboard, clock);
  if (display == nullptr) {
    std::printf("soak: no memory surface\n");
    return 1;
  }
  display->SetAlphaBlending();
  TitleState state;
  std::array<std::string, 6> faces;
  for (std::size_t i = 0; i < faces.size(); ++i) faces[i] = ResolveFontFace(kFontFacePaths[i]);
  SetUpTitleState(state, faces);
  const auto helpFont = display->LoadFont(state.fontFaces[0], state.fontSizes[1]);
  MakeEveryGlyph(*display, state);
  RandomKeys keys(seed);
  keyboard.SetEventSource(&keys);
  keyboard.AddRecorder();
  keyboard.AddHandler(&CommandKeyHook, &state, 0);

  Reading first{};
  for (int64_t frame = 1; frame <= frames; ++frame) {
    ApplyTextEntryAndMovement(state, keyboard);
    ComposeFrame(state, *display, helpFont);
    if (frame == std::min(kFirstCheckFrame, frames)) first = Read();
  }
  const Reading last = Read();
  std::printf(
      "soak: %lld frames, open files %lld -> %lld, resident %lld -> %lld KiB, texts %zu/%zu characters\n",
      static_cast<long long>(frames), static_cast<long long>(first.files), static_cast<long long>(last.files),
      static_cast<long long>(first.resident / 1024), static_cast<long long>(last.resident / 1024),
      state.layerText[0].size(), state.layerText[1].size());
  bool good = last.files == first.files;
  if (checkMemory && last.resident - first.resident >= kAllowedGrowthBytes) good = false;
  std::printf("soak: %s\n", good ? "passed" : "FAILED: open files or memory grew");
  return good ? 0 : 1;
}

}  // namespace
}  // namespace zz

int main(int argc, char** argv) {
  bool checkMemory = false;
  int argument = 1;
  if (argc > argument && std::string(argv[argument]) == "--memory") {
    checkMemory = true;
    ++argument;
  }
  const int64_t frames = argc > argument ? std::atoll(argv[argument]) : 20000;
  const auto seed = static_cast<uint32_t>(argc > argument + 1 ? std::atoll(argv[argument + 1]) : 1);
  return zz::Soak(checkMemory, frames > 0 ? frames : 1, seed);
}
