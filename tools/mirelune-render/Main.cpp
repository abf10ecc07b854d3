// mirelune-render INPUT OUTPUT.png [options]: loads a picture as the viewer does, renders it
// at its own size or into a view of a given client size, writes a PNG and prints
// "WIDTHxHEIGHT FORMAT".
#include <QImage>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "jpeg/JpegModule.h"
#include "picture/Bitmap.h"
#include "picture/Picture.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/Dib.h"
#include "platform/rtl/Exceptions.h"
#include "tools/mirelune-render/JpegOptions.h"
#include "tools/mirelune-render/RenderOptions.h"
#include "picture/TargetRect.h"

namespace {

const char* StageName(TProgressStage s) {
  switch (s) {
    case TProgressStage::Starting: return "Starting";
    case TProgressStage::Running: return "Running";
    case TProgressStage::Ending: return "Ending";
  }
  return "Running";
}

// The text of the application's message box: a "." is appended when the last character's
// code is greater than that of ".".
std::string BoxText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.')) return message + ".";
  return message;
}

std::string FormatName(TGraphic& graphic) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(&graphic)) return PixelFormatName(bitmap->PixelFormat());
  if (auto name = JpegPixelFormatName(graphic)) return *name;
  return graphic.ClassName();
}

std::unique_ptr<gdi::Dib> MakeSurface(int32_t w, int32_t h) {
  gdi::DibHeader header;
  header.width = w;
  header.height = -h;  // top-down, as a window surface
  header.bitCount = 32;
  auto surface = gdi::Dib::Create(header);
  if (!surface) throw EOutOfResources();
  return surface;
}

bool WritePng(const gdi::Dib& surface, const std::string& path) {
  QImage image(surface.Bits(), surface.Width(), surface.Height(), static_cast<qsizetype>(surface.Stride()),
               QImage::Format_RGB32);
  return image.save(QString::fromStdString(path), "PNG");
}

int Run(const TRenderOptions& options) {
  TPicture picture;
  if (options.Progress) {
    picture.OnProgress = [](TObject*, TProgressStage stage, uint8_t percent, bool redraw, const TRect& r,
                            const std::string&) {
      std::printf("progress %s %u %d %d,%d,%d,%d\n", StageName(stage), static_cast<unsigned>(percent), redraw ? 1 : 0,
                  r.Left, r.Top, r.Right, r.Bottom);
    };
  }
  picture.LoadFile(options.Input);
  TGraphic& graphic = *picture.Graphic();
  ApplyJpegOptions(graphic, options);
  const int32_t w = graphic.Width(), h = graphic.Height();
  int32_t cw = w, ch = h;
  TRect target{0, 0, w, h};
  if (options.View) {
    cw = options.View->first;
    ch = options.View->second;
    target = ImageTargetRect(w, h, cw, ch, false, true, false);  // the main view's rules
  }
  // An empty picture still gives an image: one pixel of the window's colour.
  auto surface = MakeSurface(cw > 0 ? cw : 1, ch > 0 ? ch : 1);
  gdi::TCanvas canvas(*surface);
  canvas.FillRect(TRect{0, 0, surface->Width(), surface->Height()}, gdi::kButtonFace);
  graphic.Render(canvas, target);
  if (!WritePng(*surface, options.Output)) {
    std::fprintf(stderr, "Impossible d'écrire %s.\n", options.Output.c_str());
    return 1;
  }
  std::printf("%dx%d %s\n", graphic.Width(), graphic.Height(), FormatName(graphic).c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto options = ParseRenderOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  const TJpegModule jpegModule;  // the "jpeg" and "jpg" rows of the registry
  try {
    return Run(*options);
  } catch (const Exception& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", BoxText(e.Message()).c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", BoxText(e.what()).c_str());
    return 1;
  }
}
