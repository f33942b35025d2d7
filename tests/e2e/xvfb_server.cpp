#include "e2e/xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

#include "e2e/temp_file.h"

namespace zz::e2e {

namespace {

constexpr std::chrono::milliseconds kStartDeadline{15000};

std::string LastLines(const std::string& text) {
  constexpr std::size_t kTail = 2000;
  return text.size() <= kTail ? text : text.substr(text.size() - kTail);
}

// Xvfb writes its display number to the -displayfd descriptor once it accepts clients; reads it,
// or returns "" when the server ends or the deadline passes first.
std::string ReadDisplayNumber(int descriptor) {
  const auto end = std::chrono::steady_clock::now() + kStartDeadline;
  std::string number;
  while (true) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
    if (left.count() <= 0) return "";
    pollfd request{descriptor, POLLIN, 0};
    if (poll(&request, 1, static_cast<int>(left.count())) <= 0) continue;
    char c = 0;
    if (read(descriptor, &c, 1) != 1) return "";
    if (c == '\n') return number;
    number += c;
  }
}

}  // namespace

XvfbServer::XvfbServer(int width, int height) : width_(width), height_(height) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) throw std::runtime_error("xvfb: pipe failed");
  TempFile log("zizezed-xvfb");
  ChildOptions options;
  // -retro gives the root window its weave, so any part of the screen the program leaves
  // uncovered shows up in the read-back; -displayfd picks a free display without races.
  options.arguments = {
      "/usr/bin/Xvfb", "-displayfd", std::to_string(ends[1]),
      "-screen",       "0",          std::to_string(width) + "x" + std::to_string(height) + "x24",
      "-nolisten",     "tcp",        "-retro"};
  options.keptOpen = ends[1];
  options.standardOutput = log.descriptor();
  options.standardError = log.descriptor();
  process_ = std::make_unique<ChildProcess>(options);
  close(ends[1]);
  const std::string number = ReadDisplayNumber(ends[0]);
  close(ends[0]);
  if (number.empty()) {
    process_.reset();
    throw std::runtime_error("Xvfb did not come up:\n" + LastLines(log.Contents()));
  }
  display_ = ":" + number;
}

XvfbServer::~XvfbServer() = default;

}  // namespace zz::e2e
