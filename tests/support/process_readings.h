// What a long run watches of its own process: the descriptors it holds open and its resident
// set, read from /proc (Linux).
#pragma once

#include <cstdint>

namespace zz::test {

struct ProcessReading {
  int64_t openFiles = 0;  // not counting the one the reading opens for itself
  int64_t residentBytes = 0;
};

ProcessReading ReadProcess();

}  // namespace zz::test
