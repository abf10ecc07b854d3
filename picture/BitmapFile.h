#pragma once
// The Windows bitmap file: reading it into a pixel store and writing a store back out.

#include <cstdint>
#include <memory>
#include <span>

#include "platform/gdi/Dib.h"
#include "platform/gdi/Palette.h"
#include "platform/rtl/Stream.h"

struct TBitmapImage {
  std::unique_ptr<gdi::Dib> Store;
  bool DeviceDependent = false;  // made from compressed data: a 32-bit store of the screen's kind
  gdi::HPALETTE Palette;
};

// Reads a whole bitmap file (at least one byte).  Raises EInvalidGraphic "Image bitmap
// incorrecte" for content it refuses, EReadError when the file ends inside the file
// header, the masks, the colour table, and EOutOfResources when memory runs out.
TBitmapImage ReadBitmapFile(std::span<const uint8_t> bytes);

// Writes a plain bitmap file (file header, 40-byte info header, masks, colour table, rows
// as stored) that ReadBitmapFile reads back to the same pixels.
void WriteBitmapFile(TStream& stream, const gdi::Dib& store);
