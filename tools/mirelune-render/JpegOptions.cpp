#include "tools/mirelune-render/JpegOptions.h"

// The JPEG module wires its image kind in here; until then no graphic is a JPEG image.
void ApplyJpegOptions(TGraphic&, const TRenderOptions&) {}

std::optional<std::string> JpegPixelFormatName(TGraphic&) { return std::nullopt; }
