#include "browser/Glyphs.h"

#include <array>
#include <cstring>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace {

// Pixel art, one character a pixel: a hexadecimal digit is an index into the 16 standard
// colours; "." is the background, index 6 (teal), which no glyph uses otherwise.
struct GlyphArt {
  const char* name;
  int height;
  const char* const* rows;
};

constexpr const char* kFloppy[] = {
    "..000000000000..",
    "..044477777740..",
    "..044470077740..",
    "..044470077740..",
    "..044477777740..",
    "..044444444440..",
    "..04FFFFFFFF40..",
    "..04F888888F40..",
    "..04FFFFFFFF40..",
    "..04F888888F40..",
    "..000000000000..",
};
constexpr const char* kHard[] = {
    "................",
    "................",
    ".00000000000000.",
    ".0FFFFFFFFFFFF0.",
    ".0F777777777780.",
    ".0F777777AA2780.",
    ".0F777777777780.",
    ".0F888888888880.",
    ".00000000000000.",
    "................",
    "................",
};
constexpr const char* kNetwork[] = {
    ".00000000000000.",
    ".0FFFFFFFFFFFF0.",
    ".0F777777AA2780.",
    ".0F888888888880.",
    ".00000000000000.",
    ".......00.......",
    ".......00.......",
    "..000000000000..",
    "..0CCCCCCCCCC0..",
    "..000000000000..",
    "................",
};
constexpr const char* kRam[] = {
    "................",
    "................",
    ".00000000000000.",
    ".02222222222220.",
    ".02002002002020.",
    ".02002002002020.",
    ".02222222222220.",
    ".00000000000000.",
    "..B.B.B.B.B.B...",
    "..B.B.B.B.B.B...",
    "................",
};
constexpr const char* kCdrom[] = {
    ".....000000.....",
    "....00FFEE00....",
    "...0FFFFEEEE0...",
    "...07FFFEEE70...",
    "..077788887770..",
    "..07778..87770..",
    "..077788887770..",
    "...07777FFFF0...",
    "...07777FFFF0...",
    "....0077FF00....",
    ".....000000.....",
};
constexpr const char* kClosedFolder[] = {
    "................",
    "................",
    "..00000.........",
    ".0BBBBB0........",
    ".0BBBBBB0000000.",
    ".0FFFFFFFFFFFF0.",
    ".0FBBBBBBBBBBB0.",
    ".0FBBBBBBBBBBB0.",
    ".0FBBBBBBBBBBB0.",
    ".0FBBBBBBBBBBB0.",
    ".0FBBBBBBBBBBB0.",
    ".0FBBBBBBBBBBB0.",
    ".00000000000000.",
    "................",
    "................",
};
constexpr const char* kOpenFolder[] = {
    "................",
    "................",
    "..00000.........",
    ".0BBBBB0........",
    ".0BBBBBB0000000.",
    ".0BBBBBBBBBBBB0.",
    ".0BBB00000000000",
    ".0BB0FFFFFFFFFF0",
    ".0B0FBBBBBBBBB0.",
    ".0B0FBBBBBBBBB0.",
    ".00FBBBBBBBBB0..",
    ".00FBBBBBBBBB0..",
    ".0000000000000..",
    "................",
    "................",
};
constexpr const char* kCurrentFolder[] = {
    "................",
    "................",
    "..00000.........",
    ".0BBBBB0........",
    ".0BBBB00000000..",
    ".0BBB0FFFFFF0F0.",
    ".0BBB0F8888F000.",
    ".0BB0FFFFFFFFF00",
    ".0BB0FBBBBBBBBB0",
    ".0B0FBBBBBBBBB0.",
    ".0B0FBBBBBBBBB0.",
    ".00FBBBBBBBBB0..",
    ".0000000000000..",
    "................",
    "................",
};
constexpr const char* kExecutable[] = {
    "................",
    ".00000000000000.",
    ".0CCCCCCCCCC7F0.",
    ".00000000000000.",
    ".0FFFFFFFFFFFF0.",
    ".0F8888FFFFFFF0.",
    ".0FFFFFFFFFFFF0.",
    ".0F888888FFFFF0.",
    ".0FFFFFFFFFFFF0.",
    ".0F88888FFFFFF0.",
    ".0FFFFFFFFFFFF0.",
    ".0FFFFFFFFFFFF0.",
    ".00000000000000.",
    "................",
    "................",
};
constexpr const char* kUnknownFile[] = {
    "...00000000.....",
    "...0FFFFFF00....",
    "...0FFFFFF0F0...",
    "...0FFFFFF0FF0..",
    "...0FFFFFF00000.",
    "...0FFFFFFFFFF0.",
    "...0F88888888F0.",
    "...0FFFFFFFFFF0.",
    "...0F88888888F0.",
    "...0FFFFFFFFFF0.",
    "...0F88888888F0.",
    "...0FFFFFFFFFF0.",
    "...0FFFFFFFFFF0.",
    "...000000000000.",
    "................",
};

constexpr std::array<GlyphArt, 10> kGlyphs{{
    {"FLOPPY", 11, kFloppy},
    {"HARD", 11, kHard},
    {"NETWORK", 11, kNetwork},
    {"RAM", 11, kRam},
    {"CDROM", 11, kCdrom},
    {"CLOSEDFOLDER", 15, kClosedFolder},
    {"OPENFOLDER", 15, kOpenFolder},
    {"CURRENTFOLDER", 15, kCurrentFolder},
    {"EXECUTABLE", 15, kExecutable},
    {"UNKNOWNFILE", 15, kUnknownFile},
}};

constexpr int kBackgroundIndex = 6;

const std::vector<gdi::RGBQuad>& StandardColours() {
  static const std::vector<gdi::RGBQuad> colours = [] {
    const unsigned char rgb[16][3] = {{0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                      {0, 0, 128},   {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                      {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
                                      {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    std::vector<gdi::RGBQuad> c(16);
    for (size_t i = 0; i < 16; ++i) {
      c[i].red = rgb[i][0];
      c[i].green = rgb[i][1];
      c[i].blue = rgb[i][2];
    }
    return c;
  }();
  return colours;
}

int IndexOf(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return kBackgroundIndex;
}

}  // namespace

std::unique_ptr<TGlyph> LoadGlyph(std::string_view name) {
  for (const GlyphArt& art : kGlyphs) {
    if (name != art.name) continue;
    gdi::DibHeader header;
    header.width = 16;
    header.height = -art.height;
    header.bitCount = 4;
    auto dib = gdi::Dib::Create(header, StandardColours());
    if (!dib) throw EOutOfResources();
    for (int y = 0; y < art.height; ++y) {
      uint8_t* row = dib->PictureRow(y);
      const char* text = art.rows[y];
      for (int x = 0; x < 16; x += 2)
        row[x / 2] = static_cast<uint8_t>((IndexOf(text[x]) << 4) | IndexOf(text[x + 1]));
    }
    return std::make_unique<TGlyph>(std::move(dib));
  }
  throw Exception(rtl::Format("Ressource %s introuvable", std::string(name).c_str()));
}
