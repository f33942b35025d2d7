#include "display/font_faces.h"

#ifdef _WIN32

namespace zz {

std::string ResolveFontFace(const std::string& windowsPath) {
  return windowsPath;
}

}  // namespace zz

#else

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>
#include <string_view>

namespace zz {
namespace {

// What to ask fontconfig for one Windows face file, and which matched families count as that
// face: the real family or a stand-in with the same advances, so text takes the room it would
// take on Windows. fontconfig always answers with something, hence the check.
struct FaceRequest {
  std::string_view fileName;  // lower case
  const char* family;
  int weight;  // FC_WEIGHT_REGULAR, or FC_WEIGHT_BOLD and above for a bold face
  std::array<std::string_view, 3> acceptedFamilies;
};

constexpr std::array<std::string_view, 3> kArialFamilies = {"Arial", "Liberation Sans", "Arimo"};
constexpr std::array<std::string_view, 3> kCourierFamilies = {"Courier New", "Liberation Mono", "Cousine"};
constexpr std::array<std::string_view, 3> kTimesFamilies = {"Times New Roman", "Liberation Serif", "Tinos"};

// Requests are tried in order; the first accepted match wins.
// Arial Black has no metric-compatible stand-in. The real face is taken when installed; otherwise
// the heaviest weight of the Arial stand-in (Liberation Sans Bold or Arimo Bold): it is the same
// grotesque design as Arial Black's own family, only less heavy, and comes from the same font
// package as the other five faces. fontconfig's generic answer for "Arial Black" (DejaVu Sans
// Bold) is a different design and would make the card depend on one more package.
constexpr std::array<FaceRequest, 7> kFaceRequests = {{
    {"arial.ttf", "Arial", FC_WEIGHT_REGULAR, kArialFamilies},
    {"ariblk.ttf", "Arial Black", FC_WEIGHT_BLACK, {"Arial Black", "", ""}},
    {"ariblk.ttf", "Arial", FC_WEIGHT_BLACK, kArialFamilies},
    {"cour.ttf", "Courier New", FC_WEIGHT_REGULAR, kCourierFamilies},
    {"courbd.ttf", "Courier New", FC_WEIGHT_BOLD, kCourierFamilies},
    {"times.ttf", "Times New Roman", FC_WEIGHT_REGULAR, kTimesFamilies},
    {"timesbd.ttf", "Times New Roman", FC_WEIGHT_BOLD, kTimesFamilies},
}};

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

std::string_view BaseName(std::string_view path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// A configuration of our own, loaded once at the first resolution and destroyed at exit. Owning
// it, rather than using fontconfig's process-wide default, lets it be freed without FcFini (which
// would tear down state that other users of fontconfig share) and keeps LeakSanitizer clean.
FcConfig* Configuration() {
  static const std::unique_ptr<FcConfig, decltype(&FcConfigDestroy)> config(FcInitLoadConfigAndFonts(),
                                                                            FcConfigDestroy);
  return config.get();
}

bool FamilyAccepted(FcPattern* match, const FaceRequest& request) {
  FcChar8* family = nullptr;
  for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
    const std::string_view name(reinterpret_cast<const char*>(family));
    for (std::string_view accepted : request.acceptedFamilies) {
      if (!accepted.empty() && EqualIgnoringCase(name, accepted)) return true;
    }
  }
  return false;
}

// Bold asks for bold or heavier; regular for a book-to-medium weight. Upright only, and face 0 of
// its file, since that is the face the file is opened with.
bool StyleAccepted(FcPattern* match, const FaceRequest& request) {
  int weight = 0;
  int slant = 0;
  int index = 0;
  if (FcPatternGetInteger(match, FC_WEIGHT, 0, &weight) != FcResultMatch ||
      FcPatternGetInteger(match, FC_SLANT, 0, &slant) != FcResultMatch || slant != FC_SLANT_ROMAN) {
    return false;
  }
  if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch && index != 0) return false;
  if (request.weight >= FC_WEIGHT_BOLD) return weight >= FC_WEIGHT_BOLD;
  return weight >= FC_WEIGHT_BOOK && weight <= FC_WEIGHT_MEDIUM;
}

std::string AcceptedFile(FcPattern* match, const FaceRequest& request) {
  FcChar8* file = nullptr;
  if (!FamilyAccepted(match, request) || !StyleAccepted(match, request)) return {};
  if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) return {};
  return reinterpret_cast<const char*>(file);
}

std::string MatchFile(FcConfig* config, const FaceRequest& request) {
  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return {};
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(request.family));
  FcPatternAddInteger(pattern, FC_WEIGHT, request.weight);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return {};
  std::string file = AcceptedFile(match, request);
  FcPatternDestroy(match);
  return file;
}

}  // namespace

std::string ResolveFontFace(const std::string& windowsPath) {
  const std::string_view fileName = BaseName(windowsPath);
  for (const FaceRequest& request : kFaceRequests) {
    if (!EqualIgnoringCase(fileName, request.fileName)) continue;
    FcConfig* config = Configuration();
    if (config == nullptr) return {};
    std::string file = MatchFile(config, request);
    if (!file.empty()) return file;
  }
  return {};
}

}  // namespace zz

#endif
