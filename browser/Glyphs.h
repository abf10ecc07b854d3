#pragma once
// The glyphs of the three lists: 16-colour pixel art, 16 by 11 for the drive types and 16
// by 15 for the folders and files.  Each glyph's bottom-left pixel has the colour drawn
// transparent.

#include <memory>
#include <string>
#include <string_view>

#include "platform/gdi/Dib.h"
#include "platform/rtl/Object.h"

// A line's glyph, held by reference in the lines' objects; owned by its control.
class TGlyph : public TObject {
 public:
  explicit TGlyph(std::unique_ptr<gdi::Dib> bitmap) : bitmap_(std::move(bitmap)) {}
  const gdi::Dib& Bitmap() const { return *bitmap_; }
  int Width() const { return bitmap_->Width(); }
  int Height() const { return bitmap_->Height(); }

 private:
  std::unique_ptr<gdi::Dib> bitmap_;
};

// Loads a glyph by its resource name ("FLOPPY", "HARD", "NETWORK", "CDROM", "RAM",
// "OPENFOLDER", "CLOSEDFOLDER", "CURRENTFOLDER", "EXECUTABLE", "UNKNOWNFILE") as a 4-bit
// pixel store with the 16 standard colours.  An unknown name raises EResNotFound-like
// Exception.
std::unique_ptr<TGlyph> LoadGlyph(std::string_view name);
