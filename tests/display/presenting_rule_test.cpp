#include "display/presenting_rule.h"

#include <gtest/gtest.h>

#include <vector>

namespace zz {
namespace {

// A clock that moves only when slept on or told to.
class FakeClock final : public Clock {
 public:
  explicit FakeClock(uint32_t start) : now_(start) {}
  uint32_t Milliseconds() override { return now_; }
  void Sleep(uint32_t ms) override {
    sleeps.push_back(ms);
    now_ += ms;
  }
  void Advance(uint32_t ms) { now_ += ms; }
  std::vector<uint32_t> sleeps;

 private:
  uint32_t now_;
};

TEST(PresentingRule, TimerTargetsLieSixteenSeventeenSeventeenApart) {
  FakeClock clock(1000);
  PresentingRule rule;
  rule.RunTimingTest(clock, [&] { clock.Advance(2); });  // no vertical blank: presents are quick
  ASSERT_EQ(rule.mode(), PacingMode::timer);
  uint32_t previous = rule.target();
  std::vector<uint32_t> steps;
  for (int i = 0; i < 60; ++i) {
    EXPECT_FALSE(rule.WaitForTurn(clock));
    steps.push_back(rule.target() - previous);
    previous = rule.target();
    EXPECT_EQ(clock.Milliseconds(), rule.target());
  }
  EXPECT_EQ((std::vector<uint32_t>(steps.begin(), steps.begin() + 6)),
            (std::vector<uint32_t>{16, 17, 17, 16, 17, 17}));
  uint32_t total = 0;
  for (uint32_t step : steps) total += step;
  EXPECT_EQ(total, 1000u);
  EXPECT_EQ(rule.remainder(), 0);
}

TEST(PresentingRule, LateFrameResetsTheTargetInsteadOfBursting) {
  FakeClock clock(0);
  PresentingRule rule;
  rule.RunTimingTest(clock, [&] { clock.Advance(1); });
  const uint32_t start = clock.Milliseconds();
  clock.Advance(50);  // a frame that took three periods
  rule.WaitForTurn(clock);
  EXPECT_EQ(rule.target(), start + 50);
  EXPECT_TRUE(clock.sleeps.empty());
  rule.WaitForTurn(clock);  // the next frame is a whole period later, not at once
  EXPECT_EQ(clock.sleeps, (std::vector<uint32_t>{17}));
}

TEST(PresentingRule, PacingSurvivesTheClockWrapping) {
  FakeClock clock(0xFFFFFFFFu - 5000);
  PresentingRule rule;
  rule.RunTimingTest(clock, [&] { clock.Advance(3); });
  for (int i = 0; i < 600; ++i) rule.WaitForTurn(clock);
  EXPECT_EQ(clock.sleeps.size(), 600u);
  for (uint32_t ms : clock.sleeps) EXPECT_TRUE(ms == 16 || ms == 17) << ms;
}

// SDL's sleep can end a millisecond before its target by the clock's own reading.
class EarlyWakingClock final : public Clock {
 public:
  uint32_t Milliseconds() override { return now_; }
  void Sleep(uint32_t ms) override { now_ += ms > 1 ? ms - 1 : ms; }

 private:
  uint32_t now_ = 7;
};

TEST(PresentingRule, SleepsEndingEarlyDoNotShortenTheSecond) {
  EarlyWakingClock clock;
  PresentingRule rule;
  rule.RunTimingTest(clock, [&] { clock.Sleep(2); });
  const uint32_t start = rule.target();
  for (int i = 0; i < 600; ++i) rule.WaitForTurn(clock);
  EXPECT_EQ(rule.target() - start, 10000u);
}

TEST(PresentingRule, TargetLongPastAcrossTheWrapIsLateNotAWait) {
  FakeClock clock(0);
  PresentingRule rule;
  rule.RunTimingTest(clock, [&] { clock.Advance(1); });
  clock.Advance(0x80000000u + 1000);  // the splash waited for almost 25 days
  rule.WaitForFrameStart(clock);
  rule.WaitForTurn(clock);
  EXPECT_TRUE(clock.sleeps.empty());
  EXPECT_EQ(rule.target(), clock.Milliseconds());
}

// Passes that take `work` ms each, started by the frame start wait: where each pass starts and
// where each present happens.
struct Passes {
  std::vector<uint32_t> starts;
  std::vector<uint32_t> presents;
};

Passes RunPasses(FakeClock& clock, PresentingRule& rule, const std::vector<uint32_t>& work) {
  Passes passes;
  for (const uint32_t ms : work) {
    rule.WaitForFrameStart(clock);
    passes.starts.push_back(clock.Milliseconds());
    clock.Advance(ms);
    rule.WaitForTurn(clock);
    passes.presents.push_back(clock.Milliseconds());
  }
  return passes;
}

TEST(PresentingRule, PassStartsJustEarlyEnoughAndPresentsStayOnTarget) {
  FakeClock clock(0);
  PresentingRule rule;
  rule.RunTimingTest(clock, [&] { clock.Advance(1); });
  const uint32_t opened = clock.Milliseconds();
  const Passes passes = RunPasses(clock, rule, std::vector<uint32_t>(62, 4));
  // The first pass starts at once, knowing nothing of pass times; later ones start the slowest
  // pass (4) plus the margin (3) before their target, and every present is on its target.
  EXPECT_EQ(passes.starts[0], opened);
  uint32_t target = opened;
  int32_t remainder = 0;
  for (std::size_t i = 0; i < passes.presents.size(); ++i) {
    remainder += PresentingRule::kRemainderStep;
    target += PresentingRule::kPeriod + (remainder >= 60 ? 1 : 0);
    remainder %= 60;
    EXPECT_EQ(passes.presents[i], target) << i;
    if (i > 0) {
      EXPECT_EQ(passes.starts[i], target - 7) << i;
    }
  }
}

TEST(PresentingRule, SlowPassCountsForOneSecondThenIsForgotten) {
  FakeClock clock(0);
  PresentingRule rule;
  rule.RunTimingTest(clock, [&] { clock.Advance(1); });
  std::vector<uint32_t> work(70, 2);
  work[5] = 12;
  const Passes passes = RunPasses(clock, rule, work);
  // How long before its present each pass started.
  const auto lead = [&](std::size_t i) { return passes.presents[i] - passes.starts[i]; };
  EXPECT_EQ(lead(4), 5u);   // 2 ms passes start 2 + 3 ms early
  EXPECT_EQ(lead(5), 12u);  // the slow one is late: shown at once, the target starts over
  const uint32_t step = passes.presents[6] - passes.presents[5];
  EXPECT_TRUE(step == 16 || step == 17) << step;  // no burst after it
  EXPECT_EQ(lead(6), 15u);                        // the next sixty passes start 12 + 3 ms early
  EXPECT_EQ(lead(65), 15u);
  EXPECT_EQ(lead(66), 5u);  // then it is forgotten
}

TEST(PresentingRule, SlowerPassesThanAPeriodStartAtOnce) {
  FakeClock clock(0);
  PresentingRule rule;
  rule.RunTimingTest(clock, [&] { clock.Advance(1); });
  const Passes passes = RunPasses(clock, rule, std::vector<uint32_t>(10, 20));
  for (std::size_t i = 1; i < passes.starts.size(); ++i) {
    EXPECT_EQ(passes.starts[i], passes.presents[i - 1]) << i;    // no wait before the pass
    EXPECT_EQ(passes.presents[i] - passes.starts[i], 20u) << i;  // nor after it
  }
}

TEST(PresentingRule, VerticalSyncPacingNeverWaitsForTheFrameStart) {
  FakeClock clock(0);
  PresentingRule rule;
  rule.SetMode(PacingMode::verticalSync);
  for (int i = 0; i < 3; ++i) {
    rule.WaitForFrameStart(clock);
    EXPECT_TRUE(rule.WaitForTurn(clock));
  }
  EXPECT_TRUE(clock.sleeps.empty());
}

struct TimingCase {
  const char* name;
  std::vector<uint32_t> presentTimes;  // cycled
  PacingMode mode;
  uint32_t testMilliseconds;
};

void PrintTo(const TimingCase& c, std::ostream* out) {
  *out << c.name;
}

class TimingTest : public testing::TestWithParam<TimingCase> {};

TEST_P(TimingTest, ChoosesThePacing) {
  const TimingCase& c = GetParam();
  FakeClock clock(500);
  PresentingRule rule;
  std::size_t i = 0;
  rule.RunTimingTest(clock, [&] { clock.Advance(c.presentTimes[i++ % c.presentTimes.size()]); });
  EXPECT_EQ(rule.mode(), c.mode);
  EXPECT_EQ(clock.Milliseconds() - 500, c.testMilliseconds);
  EXPECT_EQ(rule.target(), clock.Milliseconds());
  EXPECT_EQ(rule.WaitForTurn(clock), c.mode == PacingMode::verticalSync);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TimingTest,
    testing::Values(TimingCase{"SixtyHertz", {16}, PacingMode::verticalSync, 48},
                    TimingCase{"FifteenToSeventeen", {15, 17, 16}, PacingMode::verticalSync, 48},
                    TimingCase{
                        "RunBrokenThenRestarted", {16, 16, 20, 17, 15, 16}, PacingMode::verticalSync, 100},
                    TimingCase{"SeventyFiveHertz", {13}, PacingMode::timer, 1001},
                    TimingCase{"NoVerticalBlank", {0, 1}, PacingMode::timer, 1000},
                    TimingCase{"NeverThreeInARow", {16, 16, 18}, PacingMode::timer, 1000}),
    [](const testing::TestParamInfo<TimingCase>& info) { return info.param.name; });

}  // namespace
}  // namespace zz
