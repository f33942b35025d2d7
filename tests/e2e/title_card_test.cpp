// Editing the title card with the keyboard, seen on the screen of the real program.
#include <gtest/gtest.h>

#include <vector>

#include "e2e/program_test.h"

namespace zz::e2e {
namespace {

class TitleCard : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    const auto card = session().StartTitle();
    ASSERT_TRUE(card) << Seen();
    initial_ = *card;
  }

  std::optional<Rect> Layer0Ink(const ScreenImage& screen) const {
    return screen.InkBounds(kBlack, Layer0Region(screen));
  }
  std::optional<Rect> Layer1Ink(const ScreenImage& screen) const {
    return screen.InkBounds(kBlack, Layer1Region(screen));
  }
  // Waits for layer 0's ink to change from `before`; returns the screen that shows the change.
  std::optional<ScreenImage> WaitForLayer0Change(const std::optional<Rect>& before) {
    return session().WaitForScreen([&](const ScreenImage& s) { return Layer0Ink(s) != before; });
  }

  ScreenImage initial_{0, 0, {}};
};

TEST_F(TitleCard, StartsWithBothLayersAtTheirPlacesOnBlack) {
  const auto name = Layer0Ink(initial_);
  ASSERT_TRUE(name);
  EXPECT_GE(name->left, 20);
  EXPECT_LE(name->left, 26);
  EXPECT_GE(name->top, 500);
  EXPECT_LE(name->bottom, 582);
  EXPECT_GT(initial_.Count(kWhite, Layer0Region(initial_)), 0);

  const auto subtitle = Layer1Ink(initial_);
  ASSERT_TRUE(subtitle);
  EXPECT_GE(subtitle->left, 20);
  EXPECT_LE(subtitle->left, 24);
  EXPECT_GE(subtitle->top, 600);
  EXPECT_LE(subtitle->bottom, 630);
  EXPECT_GT(initial_.Count(kLightBlue, Layer1Region(initial_)), 0);

  EXPECT_EQ(initial_.CountOther(kBlack, OverlayRegion(initial_)), 0);
  EXPECT_EQ(initial_.At(initial_.width() - 1, initial_.height() - 1), kBlack);
}

TEST_F(TitleCard, TypingAppendsAndBackspaceRemovesTheLastCharacter) {
  const auto before = Layer0Ink(initial_);
  keys().Type("X");
  const auto typed = WaitForLayer0Change(before);
  ASSERT_TRUE(typed) << Seen();
  const auto longer = Layer0Ink(*typed);
  EXPECT_EQ(longer->left, before->left);
  EXPECT_GT(longer->right, before->right + 20) << "an X follows the name and its trailing space";

  keys().Tap("BackSpace");
  EXPECT_TRUE(session().WaitForScreen([&](const ScreenImage& s) { return Layer0Ink(s) == before; }))
      << Seen();
}

TEST_F(TitleCard, EachArrowMovesTheCurrentLayerByFivePixels) {
  struct Move {
    const char* key;
    int dx;
    int dy;
  };
  const std::vector<Move> moves = {{"Right", 5, 0}, {"Down", 0, 5}, {"Left", -5, 0}, {"Up", 0, -5}};
  auto before = Layer0Ink(initial_);
  const auto subtitle = Layer1Ink(initial_);
  for (const Move& move : moves) {
    SCOPED_TRACE(move.key);
    keys().Tap(move.key);
    const auto moved = WaitForLayer0Change(before);
    ASSERT_TRUE(moved) << Seen();
    EXPECT_EQ(Layer0Ink(*moved), before->Moved(move.dx, move.dy));
    EXPECT_EQ(Layer1Ink(*moved), subtitle) << "only the current layer moves";
    before = Layer0Ink(*moved);
  }
}

TEST_F(TitleCard, HoldingAnArrowMovesOnlyOnce) {
  const auto before = Layer0Ink(initial_);
  keys().Hold("Right", std::chrono::milliseconds(1200));  // well past the server's auto-repeat delay
  keys().Type("X");  // once the X shows, every repeat sent before it has been handled
  const auto after = session().WaitForScreen([&](const ScreenImage& s) {
    const auto ink = Layer0Ink(s);
    return ink && ink->right > before->right + 20;
  });
  ASSERT_TRUE(after) << Seen();
  EXPECT_EQ(Layer0Ink(*after)->left, before->left + 5);
  EXPECT_EQ(Layer0Ink(*after)->top, before->top);
}

TEST_F(TitleCard, CtrlSGrowsTheName) {
  const auto before = Layer0Ink(initial_);
  keys().Chord({"Control_L"}, "s");
  const auto grown = WaitForLayer0Change(before);
  ASSERT_TRUE(grown) << Seen();
  const auto after = Layer0Ink(*grown);
  EXPECT_GT(after->width(), before->width());
  EXPECT_GT(after->height(), before->height());
  EXPECT_LE(after->left, before->left + 3) << "the line keeps its left edge";
}

TEST_F(TitleCard, CtrlCTurnsTheNameBlackOnBlack) {
  keys().Chord({"Control_L"}, "c");
  const auto gone = session().WaitForScreen(
      [&](const ScreenImage& s) { return s.CountOther(kBlack, Layer0Region(s)) == 0; });
  ASSERT_TRUE(gone) << Seen();
  EXPECT_EQ(Layer1Ink(*gone), Layer1Ink(initial_));
  EXPECT_GT(gone->Count(kLightBlue, Layer1Region(*gone)), 0);
}

TEST_F(TitleCard, CtrlBCyclesTheBackgroundOverTheWholeScreen) {
  for (const Rgb background : {kWhite, kGreen, kBlue, kBlack}) {
    SCOPED_TRACE(testing::Message() << "background " << background);
    keys().Chord({"Control_L"}, "b");
    const auto screen = session().WaitForScreen([&](const ScreenImage& s) {
      const int right = s.width() - 1;
      const int bottom = s.height() - 1;
      return s.At(0, 0) == background && s.At(right, 0) == background && s.At(0, bottom) == background &&
             s.At(right, bottom) == background;
    });
    ASSERT_TRUE(screen) << Seen();
    EXPECT_EQ(screen->CountOther(background, OverlayRegion(*screen)), 0);
  }
}

TEST_F(TitleCard, CtrlOneThenCtrlCMakesTheSubtitleYellow) {
  keys().Chord({"Control_L"}, "1");
  keys().Chord({"Control_L"}, "c");
  const auto yellow =
      session().WaitForScreen([&](const ScreenImage& s) { return s.Count(kYellow, Layer1Region(s)) > 0; });
  ASSERT_TRUE(yellow) << Seen();
  EXPECT_EQ(yellow->Count(kLightBlue, Layer1Region(*yellow)), 0);
  EXPECT_EQ(Layer1Ink(*yellow), Layer1Ink(initial_));
  EXPECT_EQ(Layer0Ink(*yellow), Layer0Ink(initial_)) << "the name keeps its colour, text and place";
  EXPECT_GT(yellow->Count(kWhite, Layer0Region(*yellow)), 0);
}

TEST_F(TitleCard, CtrlHTogglesTheHelpAndRemovesACharacterEachTime) {
  const auto before = Layer0Ink(initial_);
  keys().Type("X");
  ASSERT_TRUE(WaitForLayer0Change(before)) << Seen();

  keys().Chord({"Control_L"}, "h");
  const auto help = session().WaitForScreen([&](const ScreenImage& s) {
    return s.Count(kHelpGrey, OverlayRegion(s)) > 0 && Layer0Ink(s) == before;
  });
  ASSERT_TRUE(help) << Seen();
  const auto lines = help->InkBounds(kBlack, OverlayRegion(*help));
  ASSERT_TRUE(lines);
  EXPECT_GE(lines->left, 50);
  EXPECT_LE(lines->left, 53);
  EXPECT_GE(lines->top, 50);
  EXPECT_LE(lines->top, 60);
  EXPECT_GE(lines->bottom, 345);
  EXPECT_LE(lines->bottom, 370);
  EXPECT_EQ(help->Count(kWhite, OverlayRegion(*help)), 0) << "the help is grey only";

  keys().Chord({"Control_L"}, "h");
  EXPECT_TRUE(session().WaitForScreen([&](const ScreenImage& s) {
    return s.CountOther(kBlack, OverlayRegion(s)) == 0;
  })) << Seen();
}

TEST_F(TitleCard, CtrlFChangesTheFaceOfTheName) {
  const auto before = Layer0Ink(initial_);
  keys().Chord({"Control_L"}, "f");
  const auto changed = WaitForLayer0Change(before);
  ASSERT_TRUE(changed) << Seen();
  EXPECT_GT(changed->Count(kWhite, Layer0Region(*changed)), 0);
  EXPECT_EQ(Layer1Ink(*changed), Layer1Ink(initial_));
}

TEST_F(TitleCard, EscapeEndsTheProgramWithStatusZeroAndNoOutput) {
  keys().Tap("Escape");
  ASSERT_TRUE(program().WaitForEnd(kDefaultDeadline));
  EXPECT_EQ(program().exitStatus(), 0) << "signal " << program().endingSignal();
  EXPECT_EQ(program().StandardOutput(), "");
}

}  // namespace
}  // namespace zz::e2e
