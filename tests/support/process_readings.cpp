#include "support/process_readings.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace zz::test {
namespace {

int64_t OpenFiles() {
  int64_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
  return count - 1;  // the listing's own descriptor
}

int64_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  int64_t size = 0;
  int64_t residentPages = 0;
  statm >> size >> residentPages;
  return residentPages * static_cast<int64_t>(sysconf(_SC_PAGESIZE));
}

}  // namespace

ProcessReading ReadProcess() {
  ProcessReading reading;
  reading.openFiles = OpenFiles();
  reading.residentBytes = ResidentBytes();
  return reading;
}

}  // namespace zz::test
