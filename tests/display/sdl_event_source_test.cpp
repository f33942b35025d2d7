#include "display/sdl_event_source.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "display/keyboard_layer.h"

namespace zz {
namespace {

struct Key {
  SDL_Scancode scancode;
  SDL_Keycode symbol;
};

constexpr Key kA{SDL_SCANCODE_A, SDLK_a};
constexpr Key kC{SDL_SCANCODE_C, SDLK_c};
constexpr Key kH{SDL_SCANCODE_H, SDLK_h};
constexpr Key kQ{SDL_SCANCODE_Q, SDLK_q};
constexpr Key kS{SDL_SCANCODE_S, SDLK_s};
constexpr Key k1{SDL_SCANCODE_1, SDLK_1};
constexpr Key kKeypad1{SDL_SCANCODE_KP_1, SDLK_KP_1};
constexpr Key kKeypadEnd{SDL_SCANCODE_KP_1, SDLK_END};  // keypad 1 with NumLock off
constexpr Key kKeypadEnter{SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER};
constexpr Key kBackspace{SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE};
constexpr Key kEnter{SDL_SCANCODE_RETURN, SDLK_RETURN};
constexpr Key kTab{SDL_SCANCODE_TAB, SDLK_TAB};
constexpr Key kEscape{SDL_SCANCODE_ESCAPE, SDLK_ESCAPE};
constexpr Key kLeftShift{SDL_SCANCODE_LSHIFT, SDLK_LSHIFT};
constexpr Key kLeftCtrl{SDL_SCANCODE_LCTRL, SDLK_LCTRL};
constexpr Key kRightCtrl{SDL_SCANCODE_RCTRL, SDLK_RCTRL};
constexpr Key kLeftAlt{SDL_SCANCODE_LALT, SDLK_LALT};
constexpr Key kRightAlt{SDL_SCANCODE_RALT, SDLK_RALT};
constexpr Key kLeftWindows{SDL_SCANCODE_LGUI, SDLK_LGUI};
constexpr Key kBrowserBack{SDL_SCANCODE_AC_BACK, SDLK_AC_BACK};  // has no code here

SDL_Event KeyEventOf(Uint32 type, Key key, Uint8 repeat, Uint16 mod) {
  SDL_Event event{};
  event.type = type;
  event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  event.key.repeat = repeat;
  event.key.keysym.scancode = key.scancode;
  event.key.keysym.sym = key.symbol;
  event.key.keysym.mod = mod;
  return event;
}
SDL_Event Down(Key key, Uint16 mod = KMOD_NONE) {
  return KeyEventOf(SDL_KEYDOWN, key, 0, mod);
}
SDL_Event Again(Key key) {
  return KeyEventOf(SDL_KEYDOWN, key, 1, KMOD_NONE);
}
SDL_Event Up(Key key) {
  return KeyEventOf(SDL_KEYUP, key, 0, KMOD_NONE);
}

SDL_Event Text(const std::string& bytes) {
  SDL_Event event{};
  event.type = SDL_TEXTINPUT;
  std::memcpy(event.text.text, bytes.data(), std::min(bytes.size(), sizeof event.text.text - 1));
  return event;
}

SDL_Event WindowEvent(Uint8 what) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = what;
  return event;
}

SDL_Event EventOfType(Uint32 type) {
  SDL_Event event{};
  event.type = type;
  return event;
}

// What the layer's hook saw, in order.
struct Seen {
  int32_t id;
  int32_t key;
  int32_t flags;
  int32_t character;
  bool operator==(const Seen&) const = default;
};
void PrintTo(const Seen& s, std::ostream* out) {
  *out << "{" << s.id << ", " << s.key << ", " << s.flags << ", " << s.character << "}";
}

Seen Pressed(int32_t key, int32_t flags = 0) {
  return {kKeyDown, key, flags, 0};
}
Seen Repeated(int32_t key, int32_t flags = 0) {
  return {kKeyRepeat, key, flags, 0};
}
Seen Released(int32_t key, int32_t flags = 0) {
  return {kKeyUp, key, flags, 0};
}
Seen Typed(int32_t character, int32_t flags = 0) {
  return {kTypedCharacter, 0, flags, character};
}

class SdlEventSourceTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_EventState(SDL_TEXTINPUT, SDL_ENABLE);  // pushed text is dropped otherwise
  }
  static void TearDownTestSuite() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }

  SdlEventSourceTest() : source([this](const SDL_Event& event) { otherEvents.push_back(event.type); }) {
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    keyboard.SetEventSource(&source);
    keyboard.AddRecorder();
    keyboard.AddHandler(&Capture, &seen, 0);
  }
  ~SdlEventSourceTest() override { SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT); }

  static const HookObject* Capture(int32_t, const HookObject* data, void* context) {
    if (const KeyEvent* e = AsKeyEvent(data)) {
      static_cast<std::vector<Seen>*>(context)->push_back({e->id, e->keyCode, e->modifiers, e->character});
    }
    return data;
  }

  static void Push(const std::vector<SDL_Event>& events) {
    for (SDL_Event event : events) ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
  }
  void Query() { keyboard.KeyHit(kVkEscape); }

  KeyboardLayer keyboard;
  std::vector<Uint32> otherEvents;
  SdlEventSource source;
  std::vector<Seen> seen;
};

struct TranslationCase {
  const char* name;
  std::vector<SDL_Event> input;
  std::vector<Seen> expected;
};

class Translation : public SdlEventSourceTest, public testing::WithParamInterface<TranslationCase> {};

TEST_P(Translation, GivesTheEventsOfTheWindowsKeyTranslation) {
  Push(GetParam().input);
  Query();
  EXPECT_EQ(seen, GetParam().expected);
}

constexpr int32_t kCtrlShift = kCtrlFlag | kShiftFlag;
constexpr int32_t kCtrlAlt = kCtrlFlag | kAltFlag;

INSTANTIATE_TEST_SUITE_P(
    Table, Translation,
    testing::Values(
        TranslationCase{
            "PlainLetter", {Down(kA), Text("a"), Up(kA)}, {Pressed('A'), Typed('a'), Released('A')}},
        TranslationCase{"ShiftLetter",
                        {Down(kLeftShift), Down(kA, KMOD_LSHIFT), Text("A"), Up(kA), Up(kLeftShift)},
                        {Pressed(160, kShiftFlag), Pressed('A', kShiftFlag), Typed('A', kShiftFlag),
                         Released('A', kShiftFlag), Released(160)}},
        TranslationCase{"CtrlHIsBackspace",
                        {Down(kLeftCtrl), Down(kH, KMOD_LCTRL), Up(kH), Up(kLeftCtrl)},
                        {Pressed(162, kCtrlFlag), Pressed('H', kCtrlFlag), Typed(8, kCtrlFlag),
                         Released('H', kCtrlFlag), Released(162)}},
        TranslationCase{"CtrlCIsThree",
                        {Down(kLeftCtrl), Down(kC, KMOD_LCTRL)},
                        {Pressed(162, kCtrlFlag), Pressed('C', kCtrlFlag), Typed(3, kCtrlFlag)}},
        TranslationCase{
            "CtrlOneTypesNothing",
            {Down(kLeftCtrl), Down(k1, KMOD_LCTRL), Text("1"), Up(k1), Up(kLeftCtrl)},
            {Pressed(162, kCtrlFlag), Pressed('1', kCtrlFlag), Released('1', kCtrlFlag), Released(162)}},
        TranslationCase{"KeypadOneKeepsItsCodeWhateverNumLockSays",
                        {Down(kKeypad1, KMOD_NUM), Text("1"), Up(kKeypad1), Down(kKeypadEnd), Up(kKeypadEnd)},
                        {Pressed(97), Typed('1'), Released(97), Pressed(97), Released(97)}},
        TranslationCase{
            "CtrlPressedAfterTheLetter",
            {Down(kS), Text("s"), Down(kLeftCtrl), Up(kS), Up(kLeftCtrl)},
            {Pressed('S'), Typed('s'), Pressed(162, kCtrlFlag), Released('S', kCtrlFlag), Released(162)}},
        TranslationCase{"RightCtrlIsCtrl",
                        {Down(kRightCtrl), Down(kC, KMOD_RCTRL), Up(kC), Up(kRightCtrl)},
                        {Pressed(163, kCtrlFlag), Pressed('C', kCtrlFlag), Typed(3, kCtrlFlag),
                         Released('C', kCtrlFlag), Released(163)}},
        TranslationCase{"CtrlShiftC",
                        {Down(kLeftCtrl), Down(kLeftShift), Down(kC)},
                        {Pressed(162, kCtrlFlag), Pressed(160, kCtrlShift), Pressed('C', kCtrlShift),
                         Typed(3, kCtrlShift)}},
        TranslationCase{"AltLetterTypesTheLetterOnce",
                        {Down(kLeftAlt), Down(kA, KMOD_LALT), Text("a"), Up(kA), Up(kLeftAlt)},
                        {Pressed(164, kAltFlag), Pressed('A', kAltFlag), Typed('a', kAltFlag),
                         Released('A', kAltFlag), Released(164)}},
        TranslationCase{"AltLetterWithoutTextStillTypesIt",
                        {Down(kLeftAlt), Down(kA, KMOD_LALT), Up(kA), Down(kA, KMOD_LALT)},
                        {Pressed(164, kAltFlag), Pressed('A', kAltFlag), Typed('a', kAltFlag),
                         Released('A', kAltFlag), Pressed('A', kAltFlag), Typed('a', kAltFlag)}},
        TranslationCase{"AltGrTypesItsCharacter",
                        {Down(kLeftCtrl), Down(kRightAlt), Down(kQ), Text("@"), Up(kQ)},
                        {Pressed(162, kCtrlFlag), Pressed(165, kCtrlAlt), Pressed('Q', kCtrlAlt),
                         Typed('@', kCtrlAlt), Released('Q', kCtrlAlt)}},
        TranslationCase{"CtrlLeftAltMakesNoCharacter",
                        {Down(kLeftCtrl), Down(kLeftAlt), Down(kH), Down(k1), Text("1")},
                        {Pressed(162, kCtrlFlag), Pressed(164, kCtrlAlt), Pressed('H', kCtrlAlt),
                         Pressed('1', kCtrlAlt)}},
        TranslationCase{"BackspaceRepeatTypesAgain",
                        {Down(kBackspace), Again(kBackspace), Up(kBackspace)},
                        {Pressed(8), Typed(8), Repeated(8), Typed(8), Released(8)}},
        TranslationCase{"CtrlBackspaceIsDelete",
                        {Down(kLeftCtrl), Down(kBackspace)},
                        {Pressed(162, kCtrlFlag), Pressed(8, kCtrlFlag), Typed(127, kCtrlFlag)}},
        TranslationCase{
            "EnterTabEscapeTypeTheirControlCharacters",
            {Down(kEnter), Down(kKeypadEnter), Down(kTab), Down(kEscape)},
            {Pressed(13), Typed(13), Pressed(13), Typed(13), Pressed(9), Typed(9), Pressed(27), Typed(27)}},
        TranslationCase{"WindowsKey",
                        {Down(kLeftWindows), Up(kLeftWindows)},
                        {Pressed(91, kWindowsKeyFlag), Released(91)}},
        TranslationCase{"KeyWithoutCodeIsIgnored", {Down(kBrowserBack), Up(kBrowserBack)}, {}},
        TranslationCase{"Utf8TextGivesCodePoints", {Text("\xC3\xA4\xE2\x82\xAC")}, {Typed(228), Typed(8364)}},
        TranslationCase{"MalformedUtf8IsSkipped",
                        // cut short, stray continuations, overlong, surrogate, beyond U+10FFFF
                        {Text("\xC3"
                              "A\xE2\x82"
                              "B\x80\xBF\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80"
                              "C\xF0\x9F\x98")},
                        {Typed('A'), Typed('B'), Typed('C')}},
        TranslationCase{"TextControlCharactersComeOnlyFromKeys",
                        {Text("\b\x7F"
                              "x")},
                        {Typed('x')}},
        TranslationCase{
            "QuitAndCloseAreIgnored", {EventOfType(SDL_QUIT), WindowEvent(SDL_WINDOWEVENT_CLOSE)}, {}}),
    [](const testing::TestParamInfo<TranslationCase>& info) { return std::string(info.param.name); });

TEST_F(SdlEventSourceTest, RepeatTypesAgainButCountsOneHit) {
  Push({Down(kBackspace), Again(kBackspace), Again(kBackspace)});
  EXPECT_EQ(keyboard.KeyHit(kVkBackspace), 1);
  EXPECT_EQ(keyboard.NextCharacter(), 8);
  EXPECT_EQ(keyboard.NextCharacter(), 8);
  EXPECT_EQ(keyboard.NextCharacter(), 8);
  EXPECT_TRUE(keyboard.KeyPressed(kVkBackspace));
}

TEST_F(SdlEventSourceTest, TextWithoutTerminatorStaysInsideItsBuffer) {
  SDL_Event event;
  std::memset(&event, 'x', sizeof event);  // no terminator inside the text, nor after it
  event.type = SDL_TEXTINPUT;
  Push({event});
  Query();
  EXPECT_EQ(seen, std::vector<Seen>(sizeof event.text.text, Typed('x')));
}

TEST_F(SdlEventSourceTest, FocusChangeEmptiesTheLayerAndForgetsHeldModifiers) {
  Push({Down(kA), Text("a"), Down(kLeftCtrl), WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST)});
  EXPECT_EQ(keyboard.KeyHit('A'), 0);
  EXPECT_FALSE(keyboard.KeyPressed(162));
  EXPECT_EQ(keyboard.NextCharacter(), 0);

  seen.clear();
  Push({WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED), Down(k1), Text("1")});
  Query();
  EXPECT_EQ(seen, (std::vector<Seen>{Pressed('1'), Typed('1')}));  // CTRL's release was never seen
  EXPECT_EQ(otherEvents, (std::vector<Uint32>{SDL_WINDOWEVENT, SDL_WINDOWEVENT}));
}

TEST_F(SdlEventSourceTest, OtherEventsGoToTheirHandler) {
  Push({EventOfType(SDL_RENDER_TARGETS_RESET), WindowEvent(SDL_WINDOWEVENT_EXPOSED), EventOfType(SDL_QUIT)});
  Query();
  EXPECT_EQ(otherEvents, (std::vector<Uint32>{SDL_RENDER_TARGETS_RESET, SDL_WINDOWEVENT}));
  EXPECT_TRUE(seen.empty());
}

TEST_F(SdlEventSourceTest, WaitingLeavesThePendingEventForTheQuery) {
  source.WaitForInput(1);  // nothing pending: returns after the timeout
  Push({Down(kS)});
  source.WaitForInput(60000);  // returns at once, as input is pending
  EXPECT_EQ(keyboard.KeyHit(kVkS), 1);
}

// A handler that pushes one more key-down for every event it sees: input that keeps arriving.
const HookObject* PushAnother(int32_t, const HookObject* data, void*) {
  SDL_Event more = Down(kH);
  SDL_PushEvent(&more);
  return data;
}

TEST_F(SdlEventSourceTest, FloodIsTakenInOneQueryThatReturns) {
  // SDL's queue holds 65535 events: fill it with strokes of A, each with its text.
  int strokes = 0;
  for (;;) {
    SDL_Event down = Down(kA), text = Text("a"), up = Up(kA);
    if (SDL_PushEvent(&down) != 1) break;
    ++strokes;
    if (SDL_PushEvent(&text) != 1 || SDL_PushEvent(&up) != 1) break;
  }
  ASSERT_GT(strokes, 20000);
  keyboard.AddHandler(&PushAnother, nullptr, -1);

  EXPECT_EQ(keyboard.KeyHit('A'), strokes);
  EXPECT_EQ(keyboard.QueuedCharacters(), KeyboardLayer::kQueueCapacity);
  EXPECT_EQ(keyboard.NextCharacter(), 'a');
}

}  // namespace
}  // namespace zz
