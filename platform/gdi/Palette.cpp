#include "platform/gdi/Palette.h"

#include <limits>

namespace gdi {

HPALETTE CreatePalette(std::vector<PaletteEntry> entries) {
  if (entries.empty() || entries.size() > 256) return nullptr;
  return std::make_shared<const Palette>(std::move(entries));
}

HPALETTE CopyPalette(const HPALETTE& palette) {
  if (!palette) return nullptr;
  return std::make_shared<const Palette>(palette->Entries());
}

HPALETTE CreateHalftonePalette() {
  // The system's halftone palette: the 20 static colours around a 6x6x6 colour cube.
  static const PaletteEntry kStatic[20] = {
      {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},   {0, 0, 128, 0},
      {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0}, {192, 220, 192, 0}, {166, 202, 240, 0},
      {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},
      {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0}};
  std::vector<PaletteEntry> e;
  e.reserve(256);
  for (int i = 0; i < 10; ++i) e.push_back(kStatic[i]);
  static const uint8_t kLevels[6] = {0, 51, 102, 153, 204, 255};
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) e.push_back({kLevels[r], kLevels[g], kLevels[b], 0});
  while (e.size() < 246) e.push_back({0, 0, 0, 0});
  for (int i = 10; i < 20; ++i) e.push_back(kStatic[i]);
  return CreatePalette(std::move(e));
}

HPALETTE SystemPalette16() {
  static const PaletteEntry k16[16] = {
      {0, 0, 0, 0},     {128, 0, 0, 0},   {0, 128, 0, 0},   {128, 128, 0, 0},   {0, 0, 128, 0},   {128, 0, 128, 0},
      {0, 128, 128, 0}, {128, 128, 128, 0}, {192, 192, 192, 0}, {255, 0, 0, 0}, {0, 255, 0, 0},   {255, 255, 0, 0},
      {0, 0, 255, 0},   {255, 0, 255, 0}, {0, 255, 255, 0}, {255, 255, 255, 0}};
  return CreatePalette(std::vector<PaletteEntry>(k16, k16 + 16));
}

std::vector<PaletteEntry> GetPaletteEntries(const HPALETTE& palette) {
  return palette ? palette->Entries() : std::vector<PaletteEntry>{};
}

std::vector<RGBQuad> PaletteToColorTable(const HPALETTE& palette) {
  std::vector<RGBQuad> out;
  if (!palette) return out;
  out.reserve(palette->Size());
  for (const auto& p : palette->Entries()) out.push_back({p.blue, p.green, p.red, 0});
  return out;
}

HPALETTE PaletteFromColorTable(const std::vector<RGBQuad>& colors) {
  std::vector<PaletteEntry> e;
  e.reserve(colors.size());
  for (const auto& c : colors) e.push_back({c.red, c.green, c.blue, 0});
  return CreatePalette(std::move(e));
}

int NearestPaletteIndex(const std::vector<RGBQuad>& colors, uint8_t r, uint8_t g, uint8_t b) {
  int best = 0;
  int bestDist = std::numeric_limits<int>::max();
  for (size_t i = 0; i < colors.size(); ++i) {
    const int dr = colors[i].red - r, dg = colors[i].green - g, db = colors[i].blue - b;
    const int d = dr * dr + dg * dg + db * db;
    if (d < bestDist) {
      bestDist = d;
      best = static_cast<int>(i);
      if (d == 0) break;
    }
  }
  return best;
}

}  // namespace gdi
