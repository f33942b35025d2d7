// The splash screen of the real program in a real X server, and how it is left.
#include <gtest/gtest.h>

#include "e2e/program_test.h"

namespace zz::e2e {
namespace {

using ProgramSplash = ProgramTest;

// Every line's ink starts at x = 50 within its band, has pixels of exactly its colour and none
// of the other line colour; everything else on the screen is black, so the window covers it all.
void ExpectSplash(const ScreenImage& screen) {
  int inkInBands = 0;
  for (const SplashLine& line : kSplashLines) {
    SCOPED_TRACE("splash line at y " + std::to_string(line.y));
    const Rect band = SplashBand(screen, line);
    const auto ink = screen.InkBounds(kBlack, band);
    ASSERT_TRUE(ink.has_value());
    EXPECT_GE(ink->left, kSplashX);
    EXPECT_LE(ink->left, kSplashX + 3);
    EXPECT_LE(ink->top, line.y + 10) << *ink;
    EXPECT_GT(screen.Count(line.colour, band), 0);
    const Rgb otherColour = line.colour == kWhite ? kSplashGrey : kWhite;
    EXPECT_EQ(screen.Count(otherColour, band), 0);
    inkInBands += screen.CountOther(kBlack, band);
  }
  EXPECT_EQ(screen.CountOther(kBlack, screen.Whole()), inkInBands) << "ink outside the six lines";
}

TEST_F(ProgramSplash, ShowsSixLinesInTheirColoursOnBlack) {
  const auto splash = session().WaitForSplash();
  ASSERT_TRUE(splash) << Seen();
  ExpectSplash(*splash);
}

TEST_F(ProgramSplash, CoversADesktopOfAnotherSize) {
  Restart(1024, 768);
  const auto splash = session().WaitForSplash();
  ASSERT_TRUE(splash) << Seen();
  ExpectSplash(*splash);
}

TEST_F(ProgramSplash, SpaceReplacesItWithTheTitleCard) {
  ASSERT_TRUE(session().WaitForSplash()) << Seen();
  keys().Tap("space");
  EXPECT_TRUE(session().WaitForScreen(InitialCardShown)) << Seen();
}

TEST_F(ProgramSplash, EscapeThereEndsTheProgramRightAfterSpace) {
  ASSERT_TRUE(session().WaitForSplash()) << Seen();
  keys().Tap("Escape");
  EXPECT_FALSE(program().WaitForEnd(std::chrono::milliseconds(500))) << "ESC alone ended the splash";
  EXPECT_TRUE(SplashShown(session().Capture()));
  keys().Tap("space");
  ASSERT_TRUE(program().WaitForEnd(kDefaultDeadline));
  EXPECT_EQ(program().exitStatus(), 0) << "signal " << program().endingSignal();
  EXPECT_EQ(program().StandardOutput(), "");
}

}  // namespace
}  // namespace zz::e2e
