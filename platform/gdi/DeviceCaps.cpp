#include "platform/gdi/DeviceCaps.h"

namespace gdi {
namespace {
struct Screen {
  int bits = 0;
  int ppi = 96;
  int width = 1920;
  int height = 1080;
};
Screen& TheScreen() {
  static Screen s;
  return s;
}
}  // namespace

int ScreenBitsPerPixel() { return TheScreen().bits > 0 ? TheScreen().bits : 32; }
void SetScreenBitsPerPixel(int bits) { TheScreen().bits = bits; }
int ScreenLogPixelsY() { return TheScreen().ppi; }
void SetScreenLogPixelsY(int ppi) { TheScreen().ppi = ppi > 0 ? ppi : 96; }
int PrimaryScreenWidth() { return TheScreen().width; }
int PrimaryScreenHeight() { return TheScreen().height; }
void SetPrimaryScreenSize(int width, int height) {
  TheScreen().width = width;
  TheScreen().height = height;
}
int SystemIconWidth() { return 32; }
int SystemIconHeight() { return 32; }

}  // namespace gdi
