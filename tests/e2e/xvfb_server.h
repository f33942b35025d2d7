// A private virtual X server for one test: it picks a free display number itself, is ready for
// clients when the constructor returns, and is gone when the object is.
#pragma once

#include <memory>
#include <string>

#include "e2e/child_process.h"

namespace zz::e2e {

class XvfbServer {
 public:
  // Starts `Xvfb` with one screen of width x height at 24 bits; throws when it does not come up.
  XvfbServer(int width, int height);
  ~XvfbServer();

  const std::string& display() const { return display_; }  // e.g. ":3"
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_;
  int height_;
  std::string display_;
  std::string logPath_;
  std::unique_ptr<ChildProcess> process_;
};

}  // namespace zz::e2e
