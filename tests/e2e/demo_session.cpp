// `make demo`: runs the real program on a virtual screen through a short scripted session and
// saves what a person would have seen as PNG files.
//
//   zizezed_demo PROGRAM OUTPUT_FOLDER
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <thread>

#include "e2e/png_file.h"
#include "e2e/program_session.h"
#include "e2e/title_screens.h"

namespace zz::e2e {
namespace {

// The program draws about 60 frames a second and applies one typed character per frame: the
// screen has settled once two reads a little apart agree.
ScreenImage SettledScreen(ProgramSession& session) {
  ScreenImage previous = session.Capture();
  const bool settled = WaitUntil([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    ScreenImage current = session.Capture();
    const bool same = current == previous;
    previous = std::move(current);
    return same;
  });
  if (!settled) throw std::runtime_error("the screen never settled");
  return previous;
}

void Require(const std::optional<ScreenImage>& screen, const std::string& what) {
  if (!screen) throw std::runtime_error("the program did not show " + what);
}

void Save(const ScreenImage& screen, const std::filesystem::path& folder, const std::string& name) {
  const auto path = folder / (name + ".png");
  if (!WritePng(screen, path.string())) throw std::runtime_error("cannot write " + path.string());
  std::cout << "  " << path.string() << "\n";
}

void Ctrl(XClient& keys, const char* key) {
  keys.Chord({"Control_L"}, key);
}

void Erase(XClient& keys, int characters) {
  for (int i = 0; i < characters; ++i) keys.Tap("BackSpace");
}

void EditTheCard(ProgramSession& session) {
  XClient& keys = session.keys();
  Erase(keys, 16);
  keys.Type("Ada Lovelace");
  Ctrl(keys, "c");  // black
  Ctrl(keys, "c");  // red
  Ctrl(keys, "1");  // the subtitle
  Erase(keys, 12);
  keys.Type("First Programmer");
  Ctrl(keys, "c");  // yellow
  Ctrl(keys, "s");  // 36 pixels
  keys.Tap("Down");
}

int Run(const std::string& program, const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  ProgramSession session(program, kDefaultWidth, kDefaultHeight);
  XClient& keys = session.keys();
  std::cout << "zizezed demo on a " << kDefaultWidth << "x" << kDefaultHeight << " virtual screen:\n";

  Require(session.WaitForSplash(), "its splash screen");
  Save(SettledScreen(session), folder, "1-splash");

  keys.Tap("space");
  Require(session.WaitForScreen(InitialCardShown), "the initial card");
  Save(SettledScreen(session), folder, "2-initial-card");

  Ctrl(keys, "h");
  Require(
      session.WaitForScreen([](const ScreenImage& s) { return s.Count(kHelpGrey, OverlayRegion(s)) > 0; }),
      "the help overlay");
  Save(SettledScreen(session), folder, "3-help");
  Ctrl(keys, "h");

  EditTheCard(session);
  const char* backgrounds[] = {"black", "white", "green", "blue"};
  for (int i = 0; i < 4; ++i) {
    if (i > 0) Ctrl(keys, "b");
    Save(SettledScreen(session), folder,
         std::string("4-edited-card-") + std::to_string(i + 1) + "-" + backgrounds[i]);
  }

  keys.Tap("Escape");
  if (!session.program().WaitForEnd(kDefaultDeadline) || session.program().exitStatus() != 0) {
    throw std::runtime_error("ESC did not end the program with status 0");
  }
  return 0;
}

}  // namespace
}  // namespace zz::e2e

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: zizezed_demo PROGRAM OUTPUT_FOLDER\n";
    return 2;
  }
  try {
    return zz::e2e::Run(argv[1], argv[2]);
  } catch (const std::exception& error) {
    std::cerr << "zizezed demo: " << error.what() << "\n";
    return 1;
  }
}
