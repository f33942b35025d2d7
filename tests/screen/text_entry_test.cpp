#include "screen/text_entry.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "support/scripted_keys.h"
#include "title/command_keys.h"

namespace zz {
namespace {

// The running program's keyboard wiring: recorder first, then the command keys.
struct PassRig {
  PassRig() {
    SetUpTitleState(state, {"f0", "f1", "f2", "f3", "f4", "f5"});
    keyboard.SetEventSource(&keys);
    keyboard.AddRecorder();
    keyboard.AddHandler(&CommandKeyHook, &state, 0);
  }
  void Passes(int count) {
    for (int i = 0; i < count; ++i) ApplyTextEntryAndMovement(state, keyboard);
  }

  TitleState state;
  KeyboardLayer keyboard;
  test::ScriptedKeys keys;
};

struct EntryCase {
  const char* name;
  std::function<void(test::ScriptedKeys&)> keys;
  int passes;
  std::u16string text0;
  std::u16string text1;
  int32_t x0 = 20, y0 = 500, x1 = 20, y1 = 600;
};

void PrintTo(const EntryCase& c, std::ostream* out) {
  *out << c.name;
}

class TextEntry : public testing::TestWithParam<EntryCase> {};

TEST_P(TextEntry, EditsAndMovesTheCurrentLayer) {
  PassRig rig;
  const EntryCase& c = GetParam();
  c.keys(rig.keys);
  rig.Passes(c.passes);
  EXPECT_EQ(rig.state.layerText[0], c.text0);
  EXPECT_EQ(rig.state.layerText[1], c.text1);
  EXPECT_EQ(rig.state.layerX[0], c.x0);
  EXPECT_EQ(rig.state.layerY[0], c.y0);
  EXPECT_EQ(rig.state.layerX[1], c.x1);
  EXPECT_EQ(rig.state.layerY[1], c.y1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextEntry,
    testing::Values(
        EntryCase{"OneCharacterPerPass", [](auto& k) { k.Type("abc"); }, 2, u"Vorname Nameab", u"Untertitel"},
        EntryCase{"BackspaceRemovesTheLast", [](auto& k) { k.Type("x").Type(8); }, 2, u"Vorname Name",
                  u"Untertitel"},
        EntryCase{"BackspaceOnEmptyStaysEmpty",
                  [](auto& k) {
                    for (int i = 0; i < 15; ++i) k.Type(8);
                  },
                  15, u"", u"Untertitel"},
        EntryCase{"OnlyPrintableAsciiIsAppended",
                  [](auto& k) {
                    for (int32_t c : {13, 9, 27, 1, 31, 127, 228, 8364, 0x10000, -5, 126, 32}) k.Type(c);
                  },
                  12, u"Vorname Name~ ", u"Untertitel"},
        EntryCase{"LayerOneGetsTypingAfterCtrlOne",
                  [](auto& k) { k.Ctrl(kVkDigit1).Type("A").Type(8).Type("B"); }, 3, u"Vorname Name",
                  u"UntertitelB"},
        EntryCase{"CommandCharactersOtherThanBackspaceAreIgnored",
                  [](auto& k) { k.Ctrl(kVkB, 2).Ctrl(kVkC, 3).Ctrl(kVkF, 6).Ctrl(kVkS, 19); }, 4,
                  u"Vorname Name", u"Untertitel"},
        EntryCase{"CtrlHAlsoRemovesACharacter", [](auto& k) { k.Ctrl(kVkH, 8); }, 1, u"Vorname Nam",
                  u"Untertitel"},
        EntryCase{"HeldCtrlHKeepsRemoving",
                  [](auto& k) {
                    k.Press(kVkLeftControl, kCtrlFlag).Press(kVkH, kCtrlFlag).Type(8, kCtrlFlag);
                    for (int i = 0; i < 3; ++i) k.Repeat(kVkH, kCtrlFlag).Type(8, kCtrlFlag);
                  },
                  4, u"Vorname ", u"Untertitel"},
        EntryCase{"ArrowsMoveFivePixelsOncePerPass",
                  [](auto& k) {
                    for (int i = 0; i < 3; ++i) k.Press(kVkRight).Release(kVkRight);
                    k.Press(kVkDown);
                  },
                  1, u"Vorname Name", u"Untertitel", 25, 505},
        EntryCase{"HeldArrowMovesOnce",
                  [](auto& k) {
                    k.Press(kVkLeft);
                    for (int i = 0; i < 10; ++i) k.Repeat(kVkLeft);
                  },
                  3, u"Vorname Name", u"Untertitel", 15, 500},
        EntryCase{"OppositeArrowsCancel",
                  [](auto& k) { k.Press(kVkUp).Press(kVkDown).Press(kVkLeft).Press(kVkRight); }, 1,
                  u"Vorname Name", u"Untertitel"},
        EntryCase{"ModifiersDoNotStopMovement",
                  [](auto& k) { k.Press(kVkUp, kCtrlFlag).Press(kVkLeft, kShiftFlag | kAltFlag); }, 1,
                  u"Vorname Name", u"Untertitel", 15, 495}),
    [](const testing::TestParamInfo<EntryCase>& info) { return info.param.name; });

TEST(TextEntryPass, MakesFiveQueriesInOrder) {
  PassRig rig;
  rig.Passes(1);
  EXPECT_EQ(rig.keys.queries(), 5);
}

// CTRL+1 taken by the character query switches the layer for the arrows of the same pass.
TEST(TextEntryPass, LayerSwitchMidPassMovesTheNewLayer) {
  PassRig rig;
  rig.keys.Type("x");
  rig.keys.Press(kVkDown);
  rig.keys.Ctrl(kVkDigit1);
  rig.Passes(1);
  EXPECT_EQ(rig.state.layerText[1], u"Untertitelx");
  EXPECT_EQ(rig.state.layerY[1], 605);
  EXPECT_EQ(rig.state.layerY[0], 500);
}

// A CTRL+1 taken by the up query: down moved layer 0, right moves layer 1.
TEST(TextEntryPass, LayerSwitchDuringAnArrowQuery) {
  PassRig rig;
  rig.keys.Press(kVkDown).Press(kVkRight);
  rig.keyboard.KeyHit(kVkEscape);  // both hits recorded; nothing applied yet
  rig.keys.Ctrl(kVkDigit1);
  rig.keys.DeliverAfterQueries(2);  // the character and down queries take nothing new
  rig.Passes(1);
  EXPECT_EQ(rig.state.currentLayer, 1);
  EXPECT_EQ(rig.state.layerY[0], 505);
  EXPECT_EQ(rig.state.layerX[0], 20);
  EXPECT_EQ(rig.state.layerX[1], 25);
}

// What was typed on the splash stays queued ahead of the dismissing space; its CTRL+H shows no
// help, since the command keys were not installed yet, but its backspace still acts.
TEST(TextEntryPass, SplashInputReachesLayerZeroInOrder) {
  TitleState state;
  KeyboardLayer keyboard;
  test::ScriptedKeys keys;
  keyboard.SetEventSource(&keys);
  keyboard.AddRecorder();
  keys.Type("Hi").Ctrl(kVkH, 8).Press(kVkRight).Stroke(kVkSpace, ' ');
  ASSERT_NE(keyboard.KeyHit(kVkSpace), 0);

  SetUpTitleState(state, {});
  keyboard.AddHandler(&CommandKeyHook, &state, 0);
  for (int i = 0; i < 4; ++i) ApplyTextEntryAndMovement(state, keyboard);
  EXPECT_EQ(state.layerText[0], u"Vorname NameH ");
  EXPECT_EQ(state.layerX[0], 25);
  EXPECT_EQ(state.helpShown, 0);
}

TEST(TextEntryPass, PositionsStopAtTheEndsOfTheRange) {
  PassRig rig;
  rig.state.layerX[0] = std::numeric_limits<int32_t>::max() - 2;
  rig.state.layerY[0] = std::numeric_limits<int32_t>::min() + 3;
  rig.keys.Press(kVkRight).Press(kVkUp);
  rig.Passes(1);
  EXPECT_EQ(rig.state.layerX[0], std::numeric_limits<int32_t>::max());
  EXPECT_EQ(rig.state.layerY[0], std::numeric_limits<int32_t>::min());
  rig.keys.Release(kVkLeft).Press(kVkLeft);
  rig.Passes(1);
  EXPECT_EQ(rig.state.layerX[0], std::numeric_limits<int32_t>::max() - 5);
}

}  // namespace
}  // namespace zz
