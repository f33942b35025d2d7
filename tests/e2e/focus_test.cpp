// Input focus taken away by another window and given back: meanwhile the keys go to that window,
// the card stays on the screen as it was, and once the focus is back typing works at once.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "e2e/program_test.h"

// Last: Xlib's macros (None, Status...) would break the headers above.
#include <X11/Xlib.h>

namespace zz::e2e {
namespace {

// Another client's window: one pixel in the corner, so that it hides nothing of the card.
class OtherWindow {
 public:
  explicit OtherWindow(const std::string& name) : display_(XOpenDisplay(name.c_str())) {
    if (display_ == nullptr) return;
    window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
    XSelectInput(display_, window_, KeyPressMask);
    XMapWindow(display_, window_);
    XSync(display_, False);
  }
  ~OtherWindow() {
    if (display_ == nullptr) return;
    XDestroyWindow(display_, window_);
    XCloseDisplay(display_);
  }
  OtherWindow(const OtherWindow&) = delete;
  OtherWindow& operator=(const OtherWindow&) = delete;

  bool open() const { return display_ != nullptr; }
  ::Window focus() {
    ::Window focus = 0;
    int revertTo = 0;
    XGetInputFocus(display_, &focus, &revertTo);
    return focus;
  }
  void Focus(::Window window) {
    XSetInputFocus(display_, window, RevertToParent, CurrentTime);
    XSync(display_, False);
  }
  ::Window window() const { return window_; }
  // Key presses this window has received so far.
  int KeyPresses() {
    XSync(display_, False);
    XEvent event;
    while (XCheckWindowEvent(display_, window_, KeyPressMask, &event)) ++presses_;
    return presses_;
  }

 private:
  ::Display* display_;
  ::Window window_ = 0;
  int presses_ = 0;
};

int ChangedPixels(const ScreenImage& a, const ScreenImage& b, int top, int bottom) {
  int changed = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = 0; x < a.width(); ++x) changed += a.At(x, y) == b.At(x, y) ? 0 : 1;
  }
  return changed;
}

class Focus : public ProgramTest {};

TEST_F(Focus, LostAndRegainedTheCardStaysAndTypingWorksAtOnce) {
  const auto card = session().StartTitle();
  ASSERT_TRUE(card) << Seen();
  const auto name = card->InkBounds(kBlack, Layer0Region(*card));

  OtherWindow other(session().server().display());
  ASSERT_TRUE(other.open());
  const ::Window programWindow = other.focus();
  other.Focus(other.window());
  ASSERT_EQ(other.focus(), other.window());

  keys().Type("Q");
  EXPECT_TRUE(WaitUntil([&] { return other.KeyPresses() > 0; })) << "the key did not go to the other window";
  // Give the program time to draw whatever it would; the card must not change, go or shrink.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const ScreenImage away = session().Capture();
  EXPECT_TRUE(program().Running());
  EXPECT_EQ(ChangedPixels(*card, away, kLayer0Top, kCardBottom), 0);

  other.Focus(programWindow);
  ASSERT_EQ(other.focus(), programWindow);
  keys().Type("X");
  const auto typed = session().WaitForScreen(
      [&](const ScreenImage& s) { return s.InkBounds(kBlack, Layer0Region(s)) != name; });
  ASSERT_TRUE(typed) << "typing after the focus came back did not show: " << Seen();
  // Only the X was added: the Q typed elsewhere never reached the card.
  keys().Tap("BackSpace");
  EXPECT_TRUE(session().WaitForScreen([&](const ScreenImage& s) {
    return s.InkBounds(kBlack, Layer0Region(s)) == name;
  })) << Seen();
}

}  // namespace
}  // namespace zz::e2e
