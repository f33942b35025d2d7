#include "display/font_faces.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

#include <set>
#include <string>

namespace zz {
namespace {

// The family and style FreeType reads from the file itself.
struct FaceName {
  std::string family;
  std::string style;
};

FaceName ReadFaceName(const std::string& file) {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  FaceName name;
  if (FT_Init_FreeType(&library) == 0 && FT_New_Face(library, file.c_str(), 0, &face) == 0) {
    name = {face->family_name ? face->family_name : "", face->style_name ? face->style_name : ""};
    FT_Done_Face(face);
  }
  FT_Done_FreeType(library);
  return name;
}

TEST(ResolveFontFace, EachWindowsFaceResolvesToItsStandIn) {
  const std::set<std::string> arial = {"Liberation Sans", "Arimo", "Arial"};
  const std::set<std::string> courier = {"Liberation Mono", "Cousine", "Courier New"};
  const std::set<std::string> times = {"Liberation Serif", "Tinos", "Times New Roman"};
  struct Case {
    const char* path;
    std::set<std::string> families;
    std::set<std::string> styles;
  };
  const Case cases[] = {
      {"C:\\WINDOWS\\Fonts\\arial.ttf", arial, {"Regular"}},
      // No stand-in exists for Arial Black: the bold of Arial's stand-in takes its place.
      {"C:\\WINDOWS\\Fonts\\ariblk.ttf", {"Liberation Sans", "Arimo"}, {"Bold"}},
      {"C:\\WINDOWS\\Fonts\\cour.ttf", courier, {"Regular"}},
      {"C:\\WINDOWS\\Fonts\\courbd.ttf", courier, {"Bold"}},
      {"C:\\WINDOWS\\Fonts\\times.ttf", times, {"Regular"}},
      {"C:\\WINDOWS\\Fonts\\timesbd.ttf", times, {"Bold"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const std::string file = ResolveFontFace(c.path);
    ASSERT_FALSE(file.empty());
    const FaceName name = ReadFaceName(file);
    EXPECT_TRUE(c.families.count(name.family)) << name.family;
    EXPECT_TRUE(c.styles.count(name.style)) << name.style;
  }
}

TEST(ResolveFontFace, FileNamesAreMatchedWithoutRegardToCase) {
  EXPECT_EQ(ResolveFontFace("C:\\Windows\\Fonts\\COURBD.TTF"),
            ResolveFontFace("C:\\WINDOWS\\Fonts\\courbd.ttf"));
  EXPECT_EQ(ResolveFontFace("Times.ttf"), ResolveFontFace("C:\\WINDOWS\\Fonts\\times.ttf"));
}

TEST(ResolveFontFace, UnknownFacesResolveToNothing) {
  for (const char* path :
       {"C:\\WINDOWS\\Fonts\\comic.ttf", "C:\\WINDOWS\\Fonts\\", "", "C:\\WINDOWS\\Fonts\\arial.ttf.bak",
        "C:\\WINDOWS\\Fonts\\arial", "C:\\WINDOWS\\Fonts\\xarial.ttf"}) {
    EXPECT_EQ(ResolveFontFace(path), "") << path;
  }
}

}  // namespace
}  // namespace zz
