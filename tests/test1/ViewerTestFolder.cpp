#include "ViewerTestFolder.h"

#include <fstream>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace viewertest {

bool MakeViewerFolder(const fs::path& folder) {
  const fs::path data = MIRELUNE_TESTDATA;
  const std::pair<const char*, const char*> copies[] = {
      {kBaseline, "jpeg/libjpeg-turbo/testorig.jpg"},
      {kProgressive, "jpeg/image-rs/good/progressive/cat.jpg"},
      {kBitmap, "bmp/bmpsuite/g/rgb24.bmp"},
      {kDoomed, "bmp/bmpsuite/g/rgb24.bmp"},
      {kUndecodable, "jpeg/image-rs/regression/oss-fuzz-36829.jpeg"},
      {kLarge, "jpeg/photos/006mp-cathedral.jpg"},
  };
  fs::create_directories(folder);
  for (const auto& [name, source] : copies) {
    std::error_code error;
    fs::copy_file(data / source, folder / name, fs::copy_options::overwrite_existing, error);
    if (error) return false;
    fs::permissions(folder / name, fs::perms::owner_read | fs::perms::owner_write, error);
  }
  std::ofstream(folder / kFake) << "Ceci n'est pas une image.\n";
  return true;
}

}  // namespace viewertest
