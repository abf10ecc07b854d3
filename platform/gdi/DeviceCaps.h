#pragma once
// What the program asks of the screen.  Linux screens are true colour; tests may make the
// screen report fewer bits a pixel to exercise the palette branches.

namespace gdi {

// GetDeviceCaps(BITSPIXEL) x GetDeviceCaps(PLANES) of the screen: 32 unless a test set it.
int ScreenBitsPerPixel();
void SetScreenBitsPerPixel(int bits);  // test hook; 0 puts the default back

// Logical pixels per inch of the screen (vertical), measured once at start; 96 by default.
int ScreenLogPixelsY();
void SetScreenLogPixelsY(int ppi);

// Primary screen size in pixels; set by the window layer at start.
int PrimaryScreenWidth();
int PrimaryScreenHeight();
void SetPrimaryScreenSize(int width, int height);

// GetSystemMetrics(SM_CXICON / SM_CYICON): the standard icon size.
int SystemIconWidth();
int SystemIconHeight();

}  // namespace gdi
