#include "title/command_keys.h"

#include <gtest/gtest.h>

#include <functional>

#include "display/keyboard_layer.h"
#include "support/scripted_keys.h"

namespace zz {
namespace {

struct TitleRig {
  TitleRig() {
    SetUpTitleState(state, {"f0", "f1", "f2", "f3", "f4", "f5"});
    keyboard.SetEventSource(&keys);
    keyboard.AddRecorder();
    keyboard.AddHandler(&CommandKeyHook, &state, 0);
  }
  void Query() { keyboard.KeyHit(kVkEscape); }

  TitleState state;
  KeyboardLayer keyboard;
  test::ScriptedKeys keys;
};

struct CommandCase {
  const char* name;
  std::function<void(test::ScriptedKeys&)> keys;
  std::function<void(const TitleState&)> expect;
};

void PrintTo(const CommandCase& c, std::ostream* out) {
  *out << c.name;
}

class CommandKeys : public testing::TestWithParam<CommandCase> {};

TEST_P(CommandKeys, ChangeTheTitleStateAsTheTableSays) {
  TitleRig rig;
  GetParam().keys(rig.keys);
  rig.Query();
  GetParam().expect(rig.state);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CommandKeys,
    testing::Values(
        CommandCase{"SizeStepsThenWraps", [](auto& k) { k.Ctrl(kVkS); },
                    [](const TitleState& s) { EXPECT_EQ(s.layerSizeIndex[0], 6); }},
        CommandCase{"SizeWrapsAfter82", [](auto& k) { k.Ctrl(kVkS).Ctrl(kVkS); },
                    [](const TitleState& s) {
                      EXPECT_EQ(s.layerSizeIndex[0], 0);
                      EXPECT_EQ(s.layerSizeIndex[1], 2);
                    }},
        CommandCase{"ColourBlackThenBackToWhiteAfterSix",
                    [](auto& k) {
                      for (int i = 0; i < 6; ++i) k.Ctrl(kVkC);
                    },
                    [](const TitleState& s) { EXPECT_EQ(s.layerColourIndex[0], 0); }},
        CommandCase{"FaceWrapsAfterSix",
                    [](auto& k) {
                      for (int i = 0; i < 5; ++i) k.Ctrl(kVkF);
                    },
                    [](const TitleState& s) { EXPECT_EQ(s.layerFaceIndex[0], 0); }},
        CommandCase{"BackgroundCyclesFourColours",
                    [](auto& k) {
                      for (int i = 0; i < 3; ++i) k.Ctrl(kVkB);
                    },
                    [](const TitleState& s) { EXPECT_EQ(s.backgroundIndex, 3); }},
        CommandCase{"BackgroundWrapsToBlack",
                    [](auto& k) {
                      for (int i = 0; i < 4; ++i) k.Ctrl(kVkB);
                    },
                    [](const TitleState& s) { EXPECT_EQ(s.backgroundIndex, 0); }},
        CommandCase{"LayerSwitchThenColourActsOnLayerOne", [](auto& k) { k.Ctrl(kVkDigit1).Ctrl(kVkC); },
                    [](const TitleState& s) {
                      EXPECT_EQ(s.currentLayer, 1);
                      EXPECT_EQ(s.layerColourIndex[1], 5);
                      EXPECT_EQ(s.layerColourIndex[0], 0);
                    }},
        CommandCase{"SecondLayerSwitchReturnsToLayerZero", [](auto& k) { k.Ctrl(kVkDigit1).Ctrl(kVkDigit1); },
                    [](const TitleState& s) { EXPECT_EQ(s.currentLayer, 0); }},
        CommandCase{"HelpToggles", [](auto& k) { k.Ctrl(kVkH); },
                    [](const TitleState& s) { EXPECT_EQ(s.helpShown, 1); }},
        CommandCase{"HelpTogglesBack", [](auto& k) { k.Ctrl(kVkH).Ctrl(kVkH); },
                    [](const TitleState& s) { EXPECT_EQ(s.helpShown, 0); }},
        CommandCase{"HeldKeyAppliesOnce",
                    [](auto& k) {
                      k.Press(kVkLeftControl, kCtrlFlag).Press(kVkC, kCtrlFlag);
                      for (int i = 0; i < 5; ++i) k.Repeat(kVkC, kCtrlFlag);
                    },
                    [](const TitleState& s) { EXPECT_EQ(s.layerColourIndex[0], 1); }},
        CommandCase{"NewPressWhileCtrlHeldAppliesAgain",
                    [](auto& k) {
                      k.Press(kVkRightControl, kCtrlFlag);
                      k.Press(kVkC, kCtrlFlag).Release(kVkC, kCtrlFlag).Press(kVkC, kCtrlFlag);
                    },
                    [](const TitleState& s) { EXPECT_EQ(s.layerColourIndex[0], 2); }},
        CommandCase{"CtrlAfterTheLetterIsNoCommand",
                    [](auto& k) { k.Press(kVkC).Press(kVkLeftControl, kCtrlFlag).Repeat(kVkC, kCtrlFlag); },
                    [](const TitleState& s) { EXPECT_EQ(s.layerColourIndex[0], 0); }},
        CommandCase{
            "OtherModifiersMakeNoDifference",
            [](auto& k) {
              k.Press(kVkC, kCtrlFlag | kShiftFlag).Press(kVkC, kCtrlFlag | kAltFlag | kWindowsKeyFlag);
            },
            [](const TitleState& s) { EXPECT_EQ(s.layerColourIndex[0], 2); }},
        CommandCase{"KeypadOneDoesNotSwitch", [](auto& k) { k.Press(kVkNumpad1, kCtrlFlag); },
                    [](const TitleState& s) { EXPECT_EQ(s.currentLayer, 0); }},
        CommandCase{"KeysWithoutCtrlAreTyping",
                    [](auto& k) {
                      for (int32_t code : {kVkC, kVkS, kVkF, kVkB, kVkDigit1, kVkH}) k.Press(code, kAltFlag);
                    },
                    [](const TitleState& s) {
                      EXPECT_EQ(s.layerColourIndex[0], 0);
                      EXPECT_EQ(s.layerSizeIndex[0], 5);
                      EXPECT_EQ(s.layerFaceIndex[0], 1);
                      EXPECT_EQ(s.backgroundIndex, 0);
                      EXPECT_EQ(s.currentLayer, 0);
                      EXPECT_EQ(s.helpShown, 0);
                    }},
        CommandCase{"CtrlWithOtherKeysChangesNothing",
                    [](auto& k) {
                      for (int32_t code : {65, 88, 50, int32_t{kVkLeftControl}}) k.Press(code, kCtrlFlag);
                    },
                    [](const TitleState& s) {
                      EXPECT_EQ(s.layerColourIndex, (std::array<int32_t, 2>{0, 4}));
                      EXPECT_EQ(s.currentLayer, 0);
                    }}),
    [](const testing::TestParamInfo<CommandCase>& info) { return info.param.name; });

TEST(CommandKeyHook, PassesNonEventsOnAndSwallowsEveryEvent) {
  TitleState state;
  SetUpTitleState(state, {});
  HookObject other;
  EXPECT_EQ(CommandKeyHook(1, &other, &state), &other);
  EXPECT_EQ(CommandKeyHook(1, nullptr, &state), nullptr);
  for (int32_t id : {kKeyDown, kKeyUp, kTypedCharacter, kKeyRepeat}) {
    const KeyEvent event(id, 90, 0, 'z');
    EXPECT_EQ(CommandKeyHook(1, &event, &state), nullptr) << id;
  }
}

TEST(CommandKeyHook, RunsAfterTheRecorderHasCountedTheHit) {
  TitleRig rig;
  int32_t hitsSeen = -1;
  struct Probe {
    KeyboardLayer* keyboard;
    int32_t* hitsSeen;
  } probe{&rig.keyboard, &hitsSeen};
  rig.keyboard.AddHandler(
      [](int32_t, const HookObject* data, void* context) -> const HookObject* {
        auto* p = static_cast<Probe*>(context);
        // A query made while input is being taken takes none itself and sees the recorded hit.
        *p->hitsSeen = p->keyboard->KeyHit(kVkS);
        return data;
      },
      &probe, 0);
  rig.keys.Press(kVkS, kCtrlFlag);
  rig.Query();
  EXPECT_EQ(hitsSeen, 1);
  EXPECT_EQ(rig.state.layerSizeIndex[0], 6);
}

}  // namespace
}  // namespace zz
