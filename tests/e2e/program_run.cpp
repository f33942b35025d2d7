#include "e2e/program_run.h"

namespace zz::e2e {

ChildOptions ProgramOptions(const std::string& programPath, const std::optional<std::string>& display,
                            int standardOutput) {
  ChildOptions options;
  options.arguments = {programPath};
  options.environment = {
      {"DISPLAY", display},
      {"SDL_VIDEODRIVER", std::nullopt},
      {"SDL_VIDEO_DRIVER", std::nullopt},
      {"WAYLAND_DISPLAY", std::nullopt},
  };
  options.standardOutput = standardOutput;
  return options;
}

ProgramRun::ProgramRun(const std::string& programPath, const std::optional<std::string>& display)
    : output_("zizezed-stdout"), process_(ProgramOptions(programPath, display, output_.descriptor())) {}

}  // namespace zz::e2e
