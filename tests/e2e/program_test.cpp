#include "e2e/program_test.h"

#include <filesystem>
#include <sstream>

#include "e2e/png_file.h"

namespace zz::e2e {

namespace {

std::string FileName(std::string name) {
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  return name;
}

}  // namespace

std::string Describe(const std::optional<ScreenImage>& screen) {
  if (!screen) return "no screen was read";
  std::ostringstream text;
  text << "the screen (" << screen->width() << "x" << screen->height() << ") showed: corner "
       << screen->At(0, 0) << "; ink above y " << kOverlayBottom << " "
       << screen->InkBounds(screen->At(0, 0), OverlayRegion(*screen)) << "; layer 0 rows "
       << screen->InkBounds(screen->At(0, 0), Layer0Region(*screen)) << "; layer 1 rows "
       << screen->InkBounds(screen->At(0, 0), Layer1Region(*screen));
  return text.str();
}

void ProgramTest::SetUp() {
  session_ = std::make_unique<ProgramSession>(ZZ_PROGRAM_PATH);
}

void ProgramTest::Restart(int width, int height) {
  session_.reset();
  session_ = std::make_unique<ProgramSession>(ZZ_PROGRAM_PATH, width, height);
}

void ProgramTest::TearDown() {
  if (!HasFailure() || !session_ || !session_->lastScreen()) return;
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::filesystem::create_directories(kFailureFolder);
  const std::string path = std::string(kFailureFolder) + "/" +
                           FileName(std::string(test->test_suite_name()) + "." + test->name()) + ".png";
  if (WritePng(*session_->lastScreen(), path)) {
    std::cout << "the last screen read is in " << std::filesystem::absolute(path).string() << "\n";
  }
}

}  // namespace zz::e2e
