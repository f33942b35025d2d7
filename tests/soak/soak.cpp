// The soak: frames of random editing, each a pass of the main loop (frame start, ESC test, text
// entry through the real keyboard layer and command keys, composition) on a memory surface, with
// a clock that never sleeps. Open files must not grow between frame 1,000 and the end; with
// --memory, neither may the resident set (by 1 MiB or more), which only means something in a
// build without the sanitizers' own bookkeeping.
//   zizezed_soak [--memory] [frames] [seed]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/random_editing.h"

namespace zz {
namespace {

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 640;
constexpr int64_t kAllowedGrowthBytes = 1 << 20;

int Soak(bool checkMemory, int64_t frames, uint32_t seed) {
  const auto session = test::EditingSession::Open(kWidth, kHeight, seed);
  if (session == nullptr) {
    std::printf("soak: no memory surface\n");
    return 1;
  }
  const auto readings = session->Run(frames);
  if (!readings) {
    std::printf("soak: FAILED: a pass ended the main loop\n");
    return 1;
  }
  const auto& [first, last] = *readings;
  const TitleState& state = session->state();
  std::printf(
      "soak: %lld frames, open files %lld -> %lld, resident %lld -> %lld KiB, texts %zu/%zu characters\n",
      static_cast<long long>(frames), static_cast<long long>(first.openFiles),
      static_cast<long long>(last.openFiles), static_cast<long long>(first.residentBytes / 1024),
      static_cast<long long>(last.residentBytes / 1024), state.layerText[0].size(),
      state.layerText[1].size());
  bool good = last.openFiles == first.openFiles;
  if (checkMemory && last.residentBytes - first.residentBytes >= kAllowedGrowthBytes) good = false;
  std::printf("soak: %s\n", good ? "passed" : "FAILED: open files or memory grew");
  return good ? 0 : 1;
}

}  // namespace
}  // namespace zz

int main(int argc, char** argv) {
  bool checkMemory = false;
  int argument = 1;
  if (argc > argument && std::string(argv[argument]) == "--memory") {
    checkMemory = true;
    ++argument;
  }
  const int64_t frames = argc > argument ? std::atoll(argv[argument]) : 20000;
  const auto seed = static_cast<uint32_t>(argc > argument + 1 ? std::atoll(argv[argument + 1]) : 1);
  return zz::Soak(checkMemory, frames > 0 ? frames : 1, seed);
}
