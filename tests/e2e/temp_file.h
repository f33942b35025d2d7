// A scratch file that lives as long as the object: where a child's output is caught.
#pragma once

#include <string>

namespace zz::e2e {

class TempFile {
 public:
  explicit TempFile(const std::string& stem);
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  int descriptor() const { return descriptor_; }
  const std::string& path() const { return path_; }
  std::string Contents() const;

 private:
  std::string path_;
  int descriptor_ = -1;
};

}  // namespace zz::e2e
