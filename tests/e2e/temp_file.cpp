#include "e2e/temp_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace zz::e2e {

TempFile::TempFile(const std::string& stem) {
  const char* folder = std::getenv("TMPDIR");
  std::string pattern =
      std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") + "/" + stem + "-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  descriptor_ = mkostemp(name.data(), O_CLOEXEC);
  if (descriptor_ < 0) throw std::runtime_error("mkstemp " + pattern + ": " + std::strerror(errno));
  path_ = name.data();
}

TempFile::~TempFile() {
  close(descriptor_);
  unlink(path_.c_str());
}

std::string TempFile::Contents() const {
  std::ifstream in(path_, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace zz::e2e
