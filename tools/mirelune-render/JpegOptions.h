#pragma once
// What mirelune-render does with a JPEG picture: the decoding options of the viewer's
// option controls, and the name of the JPEG image's pixel format.

#include <optional>
#include <string>

#include "picture/Graphic.h"
#include "tools/mirelune-render/RenderOptions.h"

// Applies scale, pixel format, grey output, performance and progressive display to the
// graphic when it is a JPEG image; does nothing for other kinds.
void ApplyJpegOptions(TGraphic& graphic, const TRenderOptions& options);

// The pixel-format name to print for a JPEG image (such as "Bits24"); none for other kinds.
std::optional<std::string> JpegPixelFormatName(TGraphic& graphic);
