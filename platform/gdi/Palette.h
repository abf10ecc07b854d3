#pragma once
// Logical palettes.  A palette handle is a shared, immutable set of entries; handle identity
// (not content) is what "the same palette" means, as with the original system's handles.
// The handle deletes itself with its last owner.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/Color.h"

namespace gdi {

struct PaletteEntry {
  uint8_t red = 0, green = 0, blue = 0, flags = 0;
  friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

class Palette {
 public:
  explicit Palette(std::vector<PaletteEntry> entries) : entries_(std::move(entries)) {}
  const std::vector<PaletteEntry>& Entries() const { return entries_; }
  size_t Size() const { return entries_.size(); }

 private:
  std::vector<PaletteEntry> entries_;
};

using HPALETTE = std::shared_ptr<const Palette>;

// Answers none for an empty list or one of more than 256 entries (as the system refuses).
HPALETTE CreatePalette(std::vector<PaletteEntry> entries);
// A new handle with the same entries.
HPALETTE CopyPalette(const HPALETTE& palette);
// The 256-entry halftone palette of the screen.
HPALETTE CreateHalftonePalette();
// The 16 colours of the system palette (as a 4-bit colour table uses them).
HPALETTE SystemPalette16();

std::vector<PaletteEntry> GetPaletteEntries(const HPALETTE& palette);
std::vector<RGBQuad> PaletteToColorTable(const HPALETTE& palette);
HPALETTE PaletteFromColorTable(const std::vector<RGBQuad>& colors);

// Index of the nearest entry (squared distance).
int NearestPaletteIndex(const std::vector<RGBQuad>& colors, uint8_t r, uint8_t g, uint8_t b);

}  // namespace gdi
