#include "e2e/x_client.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <stdexcept>
#include <thread>

namespace zz::e2e {

namespace {

// Two presses of one key closer than 2 ms are taken for auto-repeat by SDL's X11 backend; a
// short gap after each key change keeps every press a fresh press, as a person's would be.
constexpr std::chrono::milliseconds kKeyGap{8};

int Shift(unsigned long mask) {
  int shift = 0;
  while (mask != 0 && (mask & 1) == 0) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

uint8_t Channel(unsigned long pixel, unsigned long mask) {
  const unsigned long value = (pixel & mask) >> Shift(mask);
  const unsigned long maximum = mask >> Shift(mask);
  return static_cast<uint8_t>(maximum == 255 ? value : value * 255 / (maximum == 0 ? 1 : maximum));
}

}  // namespace

struct XClient::Connection {
  ::Display* display = nullptr;
};

XClient::XClient(const std::string& display) : connection_(std::make_unique<Connection>()) {
  connection_->display = XOpenDisplay(display.c_str());
  if (connection_->display == nullptr) throw std::runtime_error("cannot open X display " + display);
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(connection_->display, &event, &error, &major, &minor)) {
    XCloseDisplay(connection_->display);
    throw std::runtime_error("X display " + display + " has no XTest extension");
  }
}

XClient::~XClient() {
  XCloseDisplay(connection_->display);
}

bool XClient::ClientWindowHasFocus() {
  ::Window focus = 0;
  int revertTo = 0;
  XGetInputFocus(connection_->display, &focus, &revertTo);
  return focus != None && focus != PointerRoot && focus != DefaultRootWindow(connection_->display);
}

ScreenImage XClient::Capture() {
  ::Display* display = connection_->display;
  XWindowAttributes root{};
  XGetWindowAttributes(display, DefaultRootWindow(display), &root);
  XImage* image = XGetImage(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(root.width),
                            static_cast<unsigned>(root.height), AllPlanes, ZPixmap);
  if (image == nullptr) throw std::runtime_error("XGetImage of the root window failed");
  std::vector<Rgb> pixels(static_cast<std::size_t>(root.width) * root.height);
  const bool direct = image->bits_per_pixel == 32 && image->byte_order == LSBFirst;
  for (int y = 0; y < root.height; ++y) {
    const auto* row =
        reinterpret_cast<const uint32_t*>(image->data + static_cast<std::size_t>(y) * image->bytes_per_line);
    for (int x = 0; x < root.width; ++x) {
      const unsigned long p = direct ? row[x] : XGetPixel(image, x, y);
      pixels[static_cast<std::size_t>(y) * root.width + x] = {
          Channel(p, image->red_mask), Channel(p, image->green_mask), Channel(p, image->blue_mask)};
    }
  }
  XDestroyImage(image);
  return ScreenImage(root.width, root.height, std::move(pixels));
}

unsigned XClient::KeyCode(std::string_view key) {
  const KeySym symbol = XStringToKeysym(std::string(key).c_str());
  const ::KeyCode code = symbol == NoSymbol ? 0 : XKeysymToKeycode(connection_->display, symbol);
  if (code == 0) throw std::invalid_argument("no key for \"" + std::string(key) + "\" in the keymap");
  return code;
}

void XClient::SendKey(unsigned keycode, bool down) {
  XTestFakeKeyEvent(connection_->display, keycode, down ? True : False, CurrentTime);
  XSync(connection_->display, False);
  std::this_thread::sleep_for(kKeyGap);
}

void XClient::Press(std::string_view key) {
  SendKey(KeyCode(key), true);
}

void XClient::Release(std::string_view key) {
  SendKey(KeyCode(key), false);
}

void XClient::Tap(std::string_view key) {
  Press(key);
  Release(key);
}

void XClient::Chord(std::initializer_list<std::string_view> modifiers, std::string_view key) {
  for (std::string_view modifier : modifiers) Press(modifier);
  Tap(key);
  for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it) Release(*it);
}

void XClient::Hold(std::string_view key, std::chrono::milliseconds duration) {
  Press(key);
  std::this_thread::sleep_for(duration);
  Release(key);
}

void XClient::Type(std::string_view text) {
  const unsigned shift = KeyCode("Shift_L");
  for (const char c : text) {
    if (c < 0x20 || c > 0x7e) throw std::invalid_argument("Type takes printable ASCII only");
    // The keysyms of printable ASCII are the characters' own codes.
    const KeySym symbol = static_cast<unsigned char>(c);
    const ::KeyCode code = XKeysymToKeycode(connection_->display, symbol);
    if (code == 0) throw std::invalid_argument(std::string("no key types '") + c + "'");
    const bool shifted = XkbKeycodeToKeysym(connection_->display, code, 0, 0) != symbol;
    if (shifted) SendKey(shift, true);
    SendKey(code, true);
    SendKey(code, false);
    if (shifted) SendKey(shift, false);
  }
}

}  // namespace zz::e2e
