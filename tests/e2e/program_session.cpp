#include "e2e/program_session.h"

#include "e2e/title_screens.h"

namespace zz::e2e {

ProgramSession::ProgramSession(const std::string& programPath, int width, int height)
    : server_(width, height), client_(server_.display()), program_(programPath, server_.display()) {}

std::optional<ScreenImage> ProgramSession::WaitForScreen(
    const std::function<bool(const ScreenImage&)>& condition, std::chrono::milliseconds deadline) {
  std::optional<ScreenImage> found;
  WaitUntil(
      [&] {
        lastScreen_ = client_.Capture();
        if (condition(*lastScreen_)) found = lastScreen_;
        return found.has_value() || !program_.Running();
      },
      deadline);
  return found;
}

std::optional<ScreenImage> ProgramSession::WaitForSplash() {
  auto splash = WaitForScreen(SplashShown, kStartDeadline);
  if (!splash || !WaitUntil([&] { return client_.ClientWindowHasFocus(); })) return std::nullopt;
  return splash;
}

std::optional<ScreenImage> ProgramSession::StartTitle() {
  if (!WaitForSplash()) return std::nullopt;
  client_.Tap("space");
  return WaitForScreen(InitialCardShown);
}

}  // namespace zz::e2e
