#include "display/keyboard_layer.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/scripted_keys.h"

namespace zz {
namespace {

struct Rig {
  Rig() {
    keyboard.SetEventSource(&keys);
    keyboard.AddRecorder();
  }
  KeyboardLayer keyboard;
  test::ScriptedKeys keys;
};

TEST(KeyboardLayer, HitCountsFreshPressesOnlyAndReadingResetsThem) {
  Rig rig;
  rig.keys.Press(kVkLeft).Repeat(kVkLeft).Repeat(kVkLeft).Release(kVkLeft).Press(kVkLeft);
  EXPECT_EQ(rig.keyboard.KeyHit(kVkLeft), 2);
  EXPECT_EQ(rig.keyboard.KeyHit(kVkLeft), 0);
  EXPECT_TRUE(rig.keyboard.KeyPressed(kVkLeft));

  rig.keys.Press(kVkUp).Release(kVkUp);
  EXPECT_FALSE(rig.keyboard.KeyPressed(kVkUp));
  EXPECT_EQ(rig.keyboard.KeyHit(kVkUp), 1);  // the release left the count alone
  EXPECT_EQ(rig.keyboard.KeyHit(-1), 0);
  EXPECT_EQ(rig.keyboard.KeyHit(256), 0);
}

TEST(KeyboardLayer, QueueIsFirstInFirstOutAndKeeps256Pending) {
  Rig rig;
  for (int32_t c = 1; c <= 257; ++c) rig.keys.Type(c);
  EXPECT_EQ(rig.keyboard.NextCharacter(), 1);
  EXPECT_EQ(rig.keyboard.QueuedCharacters(), 255u);  // the 257th was dropped, the pending stayed
  rig.keys.Type(1000).Type(1001);                    // room for one again: the ring wraps
  for (int32_t c = 2; c <= 256; ++c) ASSERT_EQ(rig.keyboard.NextCharacter(), c);
  EXPECT_EQ(rig.keyboard.NextCharacter(), 1000);
  EXPECT_EQ(rig.keyboard.NextCharacter(), 0);
}

TEST(KeyboardLayer, EmptyDiscardsPressesHitsAndCharacters) {
  Rig rig;
  rig.keys.Press(kVkSpace).Type(' ');
  rig.keyboard.KeyPressed(kVkSpace);
  rig.keyboard.Empty();
  EXPECT_FALSE(rig.keyboard.KeyPressed(kVkSpace));
  EXPECT_EQ(rig.keyboard.KeyHit(kVkSpace), 0);
  EXPECT_EQ(rig.keyboard.NextCharacter(), 0);
}

// A handler that notes what it got and hands on its own object (or null).
struct ChainLink {
  int name;
  bool returnsNull = false;
  std::vector<int>* calls;
  std::vector<const HookObject*>* received;
  HookObject own;

  static const HookObject* Handle(int32_t hookId, const HookObject* data, void* context) {
    auto* link = static_cast<ChainLink*>(context);
    EXPECT_EQ(hookId, KeyboardLayer::kKeyEventHook);
    link->calls->push_back(link->name);
    link->received->push_back(data);
    return link->returnsNull ? nullptr : &link->own;
  }
};

TEST(KeyboardLayer, HandlersRunByDescendingPriorityEachGettingThePreviousResult) {
  KeyboardLayer keyboard;
  std::vector<int> calls;
  std::vector<const HookObject*> received;
  std::vector<ChainLink> links;
  links.reserve(5);
  for (int name = 0; name < 5; ++name) links.push_back({name, name == 1, &calls, &received, {}});
  const int priorities[] = {0, 5, 0, -1, 5};
  for (int name = 0; name < 5; ++name)
    keyboard.AddHandler(&ChainLink::Handle, &links[name], priorities[name]);

  const KeyEvent event(kKeyDown, kVkC, kCtrlFlag);
  keyboard.Emit(event);

  EXPECT_EQ(calls, (std::vector<int>{1, 4, 0, 2, 3}));
  const std::vector<const HookObject*> expected = {&event, nullptr, &links[4].own, &links[0].own,
                                                   &links[2].own};
  EXPECT_EQ(received, expected);  // a null result does not stop the chain
}

TEST(KeyboardLayer, HandlerSeesTheEventCountedAndItsQueriesTakeNoInput) {
  Rig rig;
  struct Probe {
    KeyboardLayer* keyboard;
    std::vector<int32_t> hitsSeen;
    static const HookObject* Handle(int32_t, const HookObject*, void* context) {
      auto* probe = static_cast<Probe*>(context);
      probe->hitsSeen.push_back(probe->keyboard->KeyHit(kVkS));
      return nullptr;
    }
  } probe{&rig.keyboard, {}};
  rig.keyboard.AddHandler(&Probe::Handle, &probe, 0);

  rig.keys.Press(kVkS, kCtrlFlag).Press(kVkB, kCtrlFlag);
  EXPECT_EQ(rig.keyboard.KeyHit(kVkB), 1);
  EXPECT_EQ(probe.hitsSeen, (std::vector<int32_t>{1, 0}));  // the recorder ran first
  EXPECT_EQ(rig.keys.queries(), 1);                         // the nested queries took no input
}

}  // namespace
}  // namespace zz
