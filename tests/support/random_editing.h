// Random editing for long runs: a seeded stream of key strokes, and an editing session that
// runs the main loop's own pass on a memory surface with them, reading the process as it goes.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <random>

#include "display/display.h"
#include "support/manual_clock.h"
#include "support/process_readings.h"
#include "title/title_state.h"

namespace zz::test {

// Key strokes as a fast typist's, now and then a few pending at one query: characters (ASCII,
// accented Latin, and CJK that no face has), backspace a little more often than a character that
// enters text so the lines keep a readable length, arrows pressed, held with repeats and let go,
// and every CTRL command. Never ESC: the pass must not end.
class RandomKeys final : public EventSource {
 public:
  explicit RandomKeys(uint32_t seed) : random_(seed) {}

  void TakePending(KeyboardLayer& layer) override;
  void WaitForInput(uint32_t /*timeoutMs*/) override {}

 private:
  int32_t Roll(int32_t n);
  void Stroke(KeyboardLayer& layer);
  void TypeAscii(KeyboardLayer& layer);
  void TypeBeyondAscii(KeyboardLayer& layer);
  void MoveArrow(KeyboardLayer& layer);
  void Command(KeyboardLayer& layer);

  std::mt19937 random_;
  std::array<bool, 4> arrowHeld_{};
};

// What a run reads of its process: after the first frames, once the fonts have made what they
// keep, and after the last.
struct SoakReadings {
  ProcessReading first;
  ProcessReading last;
};

// An editing session as the main loop runs it, on a memory surface: the keyboard with its
// recorder and the command keys on its hook, the title card with this system's faces, the help
// font, and a clock that moves only when slept on, so no pass waits for real time.
class EditingSession {
 public:
  static constexpr int64_t kFirstReadingFrame = 1000;

  // Null when no memory surface can be had.
  static std::unique_ptr<EditingSession> Open(int32_t width, int32_t height, uint32_t seed);

  EditingSession(const EditingSession&) = delete;
  EditingSession& operator=(const EditingSession&) = delete;

  // Runs that many passes of the main loop. The first reading comes after kFirstReadingFrame
  // passes (after the last in a shorter run). Nothing when a pass ended the loop.
  std::optional<SoakReadings> Run(int64_t frames);

  const TitleState& state() const { return state_; }

 private:
  explicit EditingSession(uint32_t seed) : keys_(seed) {}
  void MakeEveryGlyph();

  RandomKeys keys_;
  ManualClock clock_;
  KeyboardLayer keyboard_;
  std::unique_ptr<Display> display_;
  TitleState state_;
  std::shared_ptr<Font> helpFont_;
};

}  // namespace zz::test
