#include "support/random_editing.h"

#include <algorithm>
#include <string>

#include "display/font_faces.h"
#include "screen/program_main.h"
#include "screen/text_entry.h"
#include "title/command_keys.h"

namespace zz::test {
namespace {

constexpr std::array<int32_t, 4> kArrows = {kVkLeft, kVkUp, kVkRight, kVkDown};
constexpr std::array<int32_t, 6> kCommands = {kVkC, kVkS, kVkF, kVkB, kVkDigit1, kVkH};
// The key of a typed character that has no key code of its own here: one that no command or
// movement reads.
constexpr int32_t kPunctuationKey = 0xDE;

void Key(KeyboardLayer& layer, int32_t code, int32_t character, int32_t flags) {
  layer.Emit(KeyEvent(kKeyDown, code, flags));
  if (character != 0) layer.Emit(KeyEvent(kTypedCharacter, 0, flags, character));
  layer.Emit(KeyEvent(kKeyUp, code, flags));
}

int32_t KeyOfAscii(int32_t character) {
  if (character >= 'a' && character <= 'z') return character - 'a' + 'A';
  const bool ownKey =
      (character >= 'A' && character <= 'Z') || (character >= '0' && character <= '9') || character == ' ';
  return ownKey ? character : kPunctuationKey;
}

}  // namespace

void RandomKeys::TakePending(KeyboardLayer& layer) {
  if (Roll(16) != 0) return;
  for (int32_t strokes = 1 + Roll(3); strokes > 0; --strokes) Stroke(layer);
}

int32_t RandomKeys::Roll(int32_t n) {
  return std::uniform_int_distribution<int32_t>(0, n - 1)(random_);
}

// Of forty strokes: ten ASCII characters, four beyond ASCII (which the card does not take),
// eleven backspaces, eight arrow moves and seven commands.
void RandomKeys::Stroke(KeyboardLayer& layer) {
  const int32_t kind = Roll(40);
  if (kind < 10) {
    TypeAscii(layer);
  } else if (kind < 14) {
    TypeBeyondAscii(layer);
  } else if (kind < 25) {
    Key(layer, kVkBackspace, kBackspaceCharacter, 0);
  } else if (kind < 33) {
    MoveArrow(layer);
  } else {
    Command(layer);
  }
}

void RandomKeys::TypeAscii(KeyboardLayer& layer) {
  const int32_t character = 32 + Roll(95);
  Key(layer, KeyOfAscii(character), character, 0);
}

void RandomKeys::TypeBeyondAscii(KeyboardLayer& layer) {
  const int32_t character = Roll(2) == 0 ? 0xA0 + Roll(0xE0)   // Latin-1 and Latin Extended-A
                                         : 0x4E00 + Roll(64);  // CJK: in none of the program's faces
  Key(layer, kPunctuationKey, character, 0);
}

// An arrow that is up goes down; one held down repeats a few times or is let go, so arrows stay
// held across passes.
void RandomKeys::MoveArrow(KeyboardLayer& layer) {
  const auto which = static_cast<std::size_t>(Roll(4));
  const int32_t arrow = kArrows[which];
  if (!arrowHeld_[which]) {
    layer.Emit(KeyEvent(kKeyDown, arrow, 0));
    arrowHeld_[which] = true;
  } else if (Roll(2) == 0) {
    for (int32_t repeats = 1 + Roll(3); repeats > 0; --repeats) layer.Emit(KeyEvent(kKeyRepeat, arrow, 0));
  } else {
    layer.Emit(KeyEvent(kKeyUp, arrow, 0));
    arrowHeld_[which] = false;
  }
}

// CTRL with a letter types its control character; CTRL+1 types nothing.
void RandomKeys::Command(KeyboardLayer& layer) {
  const int32_t command = kCommands[static_cast<std::size_t>(Roll(static_cast<int32_t>(kCommands.size())))];
  layer.Emit(KeyEvent(kKeyDown, kVkLeftControl, kCtrlFlag));
  Key(layer, command, command >= 'A' ? command - 'A' + 1 : 0, kCtrlFlag);
  layer.Emit(KeyEvent(kKeyUp, kVkLeftControl, 0));
}

std::unique_ptr<EditingSession> EditingSession::Open(int32_t width, int32_t height, uint32_t seed) {
  std::unique_ptr<EditingSession> session(new EditingSession(seed));
  session->display_ = Display::OpenOffscreen(width, height, session->keyboard_, session->clock_);
  if (session->display_ == nullptr) return nullptr;
  session->display_->SetAlphaBlending();
  std::array<std::string, 6> faces;
  for (std::size_t i = 0; i < faces.size(); ++i) faces[i] = ResolveFontFace(kFontFacePaths[i]);
  SetUpTitleState(session->state_, faces);
  session->helpFont_ =
      session->display_->LoadFont(session->state_.fontFaces[0], session->state_.fontSizes[1]);
  session->MakeEveryGlyph();
  session->keyboard_.SetEventSource(&session->keys_);
  session->keyboard_.AddRecorder();
  session->keyboard_.AddHandler(&CommandKeyHook, &session->state_, 0);
  return session;
}

// Every glyph of every face and size the card can show is made before the first reading, so
// what the fonts rightly keep does not count as growth.
void EditingSession::MakeEveryGlyph() {
  for (const std::string& face : state_.fontFaces) {
    for (const int32_t size : state_.fontSizes) {
      display_->SelectFont(display_->LoadFont(face, size));
      // One at a time at the corner: a glyph that would fall off the screen may never be made.
      for (char16_t c = 32; c < 127; ++c) display_->DrawString(std::u16string(1, c), 0, 0);
    }
  }
}

std::optional<SoakReadings> EditingSession::Run(int64_t frames) {
  SoakReadings readings;
  const int64_t firstReadingFrame = std::min(kFirstReadingFrame, frames);
  for (int64_t frame = 1; frame <= frames; ++frame) {
    if (!RunPass(state_, *display_, keyboard_, helpFont_)) return std::nullopt;
    if (frame == firstReadingFrame) readings.first = ReadProcess();
  }
  readings.last = ReadProcess();
  return readings;
}

}  // namespace zz::test
