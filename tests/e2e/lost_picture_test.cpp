// The screen losing part of the card without the program being told (another client drawing over
// it, a driver dropping a frame): a card that stands still is not sent to the screen every frame,
// so the program must still send it whole often enough for the picture to mend itself.
#include <gtest/gtest.h>

#include <chrono>

#include "e2e/program_test.h"

// Last: Xlib's macros (None, Status...) would break the headers above.
#include <X11/Xlib.h>

namespace zz::e2e {
namespace {

// Another client painting a red band straight through every window, which makes no expose event.
class Painter {
 public:
  explicit Painter(const std::string& name) : display_(XOpenDisplay(name.c_str())) {}
  ~Painter() {
    if (display_ != nullptr) XCloseDisplay(display_);
  }
  Painter(const Painter&) = delete;
  Painter& operator=(const Painter&) = delete;

  bool open() const { return display_ != nullptr; }
  void PaintBand(int top, int bottom) {
    const ::Window root = DefaultRootWindow(display_);
    XGCValues values{};
    values.foreground = 0xFF0000;
    values.subwindow_mode = IncludeInferiors;
    GC gc = XCreateGC(display_, root, GCForeground | GCSubwindowMode, &values);
    XFillRectangle(display_, root, gc, 0, top, static_cast<unsigned>(DisplayWidth(display_, 0)),
                   static_cast<unsigned>(bottom - top));
    XFreeGC(display_, gc);
    XSync(display_, False);
  }

 private:
  ::Display* display_;
};

constexpr Rgb kRed{255, 0, 0};

class LostPicture : public ProgramTest {};

TEST_F(LostPicture, ACardStandingStillMendsWithinASecond) {
  const auto card = session().StartTitle();
  ASSERT_TRUE(card) << Seen();
  const Rect band = Layer0Region(*card);
  Painter painter(session().server().display());
  ASSERT_TRUE(painter.open());

  // The band may land just before the program sends the whole card anyway: paint until seen.
  bool seen = false;
  for (int attempt = 0; attempt < 10 && !seen; ++attempt) {
    painter.PaintBand(band.top, band.bottom);
    seen = session().Capture().Count(kRed, band) > 0;
  }
  ASSERT_TRUE(seen) << "the band was never on the screen";

  const auto mended = session().WaitForScreen([&](const ScreenImage& s) { return s == *card; },
                                              std::chrono::milliseconds(3000));
  EXPECT_TRUE(mended) << "the card did not come back: " << Seen();
}

}  // namespace
}  // namespace zz::e2e
