#include "display/display_mode.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace zz {
namespace {

struct ModeCase {
  const char* name;
  std::vector<ListedMode> modes;
  std::optional<std::size_t> chosen;
};

std::ostream& operator<<(std::ostream& out, const ModeCase& c) {
  return out << c.name;
}

class ModeChoice : public testing::TestWithParam<ModeCase> {};

TEST_P(ModeChoice, TakesTheExactSizeAtTheDeepestDepthNearestSixtyHertz) {
  EXPECT_EQ(ChooseDisplayMode(GetParam().modes, 1920, 1080, 32, 60), GetParam().chosen);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ModeChoice,
    testing::Values(
        ModeCase{"NearestRefresh", {{1920, 1080, 32, 75}, {1920, 1080, 32, 59}, {1920, 1080, 32, 60}}, 2},
        ModeCase{"FirstListedOnATie", {{1920, 1080, 32, 61}, {1920, 1080, 32, 59}}, 0},
        ModeCase{"KnownRefreshBeatsUnknown", {{1920, 1080, 32, 0}, {1920, 1080, 32, 144}}, 1},
        ModeCase{"UnknownRefreshStillServes", {{1920, 1080, 32, 0}}, 0},
        ModeCase{"OnlyTheExactSize", {{1920, 1200, 32, 60}, {1280, 1080, 32, 60}, {1920, 1080, 32, 50}}, 2},
        ModeCase{
            "ThirtyTwoBitsBeforeNearerRefreshAtTwentyFour", {{1920, 1080, 24, 60}, {1920, 1080, 32, 30}}, 1},
        ModeCase{"TwentyFourWhenNoThirtyTwo", {{1920, 1080, 16, 60}, {1920, 1080, 24, 75}}, 1},
        ModeCase{"SixteenWhenNothingDeeper", {{1920, 1080, 8, 60}, {1920, 1080, 16, 60}}, 1},
        ModeCase{"NoneAtOtherDepthsOrSizes", {{1920, 1080, 8, 60}, {1024, 768, 32, 60}}, std::nullopt},
        ModeCase{"NoneListed", {}, std::nullopt}),
    [](const testing::TestParamInfo<ModeCase>& info) { return std::string(info.param.name); });

TEST(ModeBitsPerPixel, FourByteFormatsOfEightBitChannelsCountAsThirtyTwo) {
  EXPECT_EQ(ModeBitsPerPixel(SDL_PIXELFORMAT_RGB888), 32);  // what X11 reports for a depth-24 desktop
  EXPECT_EQ(ModeBitsPerPixel(SDL_PIXELFORMAT_ARGB8888), 32);
  EXPECT_EQ(ModeBitsPerPixel(SDL_PIXELFORMAT_BGR888), 32);
  EXPECT_EQ(ModeBitsPerPixel(SDL_PIXELFORMAT_RGB24), 24);
  EXPECT_EQ(ModeBitsPerPixel(SDL_PIXELFORMAT_RGB565), 16);
  EXPECT_EQ(ModeBitsPerPixel(SDL_PIXELFORMAT_RGB555), 16);
  EXPECT_EQ(ModeBitsPerPixel(SDL_PIXELFORMAT_INDEX8), 8);
}

}  // namespace
}  // namespace zz
