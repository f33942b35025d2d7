// Font files that cannot be used, as the display meets them: each loads as none and the text is
// drawn in the built-in font at its position; every font fixture (the fuzzer's past failures
// among them) loads and draws without harm.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "display/display.h"
#include "support/manual_clock.h"

namespace zz {
namespace {

namespace fs = std::filesystem;

const std::string kSans = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";
constexpr uid_t kNobody = 65534;
const fs::path kFontFixtures = fs::path(ZZ_SOURCE_DIR) / "tests/fixtures/fonts";

class ScratchDir {
 public:
  ScratchDir()
      : path_(fs::temp_directory_path() / ("zz-malformed-" + std::to_string(std::random_device()()))) {
    fs::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ignored;
    fs::permissions(path_ / "unreadable.ttf", fs::perms::owner_all, ignored);
    fs::remove_all(path_, ignored);
  }
  std::string Write(const std::string& name, const std::string& contents) const {
    std::ofstream(path_ / name, std::ios::binary) << contents;
    return (path_ / name).string();
  }
  std::string Truncated(const std::string& name, std::size_t bytes) const {
    std::ifstream in(kSans, std::ios::binary);
    std::string data(bytes, '\0');
    in.read(data.data(), static_cast<std::streamsize>(bytes));
    data.resize(static_cast<std::size_t>(in.gcount()));
    return Write(name, data);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

class MalformedFont : public testing::Test {
 protected:
  void SetUp() override {
    display = Display::OpenOffscreen(200, 80, keyboard, clock);
    ASSERT_NE(display, nullptr);
    display->SetAlphaBlending();
  }

  std::vector<uint32_t> Draw(const std::shared_ptr<Font>& font) {
    display->SetClearColour(0, 0, 255);
    display->Clear();
    display->SelectFont(font);
    display->SetDrawColour(255, 255, 0);
    display->DrawString(u"Show goes on", 13, 21);
    return display->ReadPixels();
  }

  // The load yields none, and the line comes out exactly as the built-in font draws it.
  void ExpectBuiltInFont(const std::string& path) {
    const auto font = display->LoadFont(path, 48);
    EXPECT_EQ(font, nullptr);
    const std::vector<uint32_t> builtIn = Draw(nullptr);
    ASSERT_NE(std::count(builtIn.begin(), builtIn.end(), 0xFFFF00u), 0);
    EXPECT_EQ(Draw(font), builtIn);
  }

  KeyboardLayer keyboard;
  test::ManualClock clock;
  std::unique_ptr<Display> display;
  ScratchDir scratch;
};

TEST_F(MalformedFont, UnusableFilesDrawInTheBuiltInFont) {
  const struct {
    const char* name;
    std::string path;
  } cases[] = {
      {"empty file", scratch.Write("empty.ttf", "")},
      {"truncated face", scratch.Truncated("truncated.ttf", 20000)},
      {"directory", scratch.path().string()},
      {"not a font", scratch.Write("notes.ttf", "Titles for tonight:\nJane Doe, Reporter\n")},
      {"no Unicode character map", (kFontFixtures / "no-unicode-map.bdf").string()},
      {"reads fail", "/proc/self/mem"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectBuiltInFont(c.path);
  }
}

TEST_F(MalformedFont, AFileWithoutReadPermissionDrawsInTheBuiltInFont) {
  const std::string path = scratch.Truncated("unreadable.ttf", 1 << 20);
  fs::permissions(path, fs::perms::none);
  if (access(path.c_str(), R_OK) != 0) {
    ExpectBuiltInFont(path);
    return;
  }
  // Permission bits do not stop the superuser: look again as an ordinary user, in a child.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (setgid(kNobody) != 0 || setuid(kNobody) != 0 || access(path.c_str(), R_OK) == 0) _exit(2);
    const auto font = display->LoadFont(path, 48);
    _exit(font == nullptr && Draw(font) == Draw(nullptr) ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 2) GTEST_SKIP() << "cannot become an ordinary user to lose the permission";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the unreadable file did not draw in the built-in font";
}

// Replays every font fixture, including each input the font fuzzer once failed on, through the
// same load and draw as the fuzzer; the sanitizer builds catch what a plain run would not.
TEST_F(MalformedFont, EveryFontFixtureLoadsAndDrawsWithoutHarm) {
  std::u16string text;
  for (char16_t c = 0; c < 0x250; c += 7) text.push_back(c);
  text += u"\u20AC\u4E2D\uE000\uFFFD\uFFFF";
  text.push_back(static_cast<char16_t>(0xD800));
  int32_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kFontFixtures)) {
    if (!entry.is_regular_file()) continue;
    SCOPED_TRACE(entry.path().string());
    ++files;
    for (const int32_t size : {1, 12, 24, 82, 400}) {
      const auto font = display->LoadFont(entry.path().string(), size);
      display->SelectFont(font);
      display->DrawString(text, 3, 4);
      display->DrawString(text, -100, 70);
    }
    display->Present();
  }
  EXPECT_GE(files, 2);
}

}  // namespace
}  // namespace zz
