#include "screen/frame.h"

namespace zz {

const std::array<HelpLine, 9> kHelpLines = {{
    {50, u"Zizezed"},
    {100, u"Write normally your Text"},
    {130, u"Move it with your Arrowkeys"},
    {170, u"Change the Size with [CTRL]+S"},
    {200, u"Change the Color with [CTRL]+C"},
    {230, u"Change the Font with [CTRL]+F"},
    {280, u"Change the Background with [CTRL]+B"},
    {310, u"Change the between the Layers with [CTRL]+1"},
    {340, u"Stop the Application with [ESC]"},
}};

namespace {

std::shared_ptr<Font> LoadLayerFont(const TitleState& s, Display& display, std::size_t layer) {
  const auto& face = s.fontFaces[static_cast<std::size_t>(s.layerFaceIndex[layer])];
  const int32_t size = s.fontSizes[static_cast<std::size_t>(s.layerSizeIndex[layer])];
  return display.LoadFont(face, size);
}

void DrawHelpOverlay(Display& display, const std::shared_ptr<Font>& helpFont) {
  display.SelectFont(helpFont);
  display.SetDrawColour(kHelpColour.red, kHelpColour.green, kHelpColour.blue);
  for (const HelpLine& line : kHelpLines) {
    display.DrawString(line.text, static_cast<float>(kHelpLineX), static_cast<float>(line.y));
  }
}

void DrawLayer(const TitleState& s, Display& display, const std::shared_ptr<Font>& font, std::size_t layer) {
  display.SelectFont(font);
  const Rgb colour = PaletteColour(s.textPalette, s.layerColourIndex[layer]);
  display.SetDrawColour(colour.red, colour.green, colour.blue);
  display.DrawString(s.layerText[layer], static_cast<float>(s.layerX[layer]),
                     static_cast<float>(s.layerY[layer]));
}

}  // namespace

void ComposeFrame(const TitleState& s, Display& display, const std::shared_ptr<Font>& helpFont) {
  const Rgb background = PaletteColour(s.backgroundPalette, s.backgroundIndex);
  display.SetClearColour(background.red, background.green, background.blue);
  display.Clear();
  const auto font0 = LoadLayerFont(s, display, 0);
  const auto font1 = LoadLayerFont(s, display, 1);
  if (s.helpShown == 1) DrawHelpOverlay(display, helpFont);
  DrawLayer(s, display, font0, 0);
  DrawLayer(s, display, font1, 1);
  display.Present();
}

}  // namespace zz
