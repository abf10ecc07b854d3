#pragma once
// The window's placement in the settings file: the keys "Flags", "ShowCmd", "PixelsPerInch",
// "MinMaxPos" and "NormPos" (the last two under the screen-size suffix and without it), and
// the maximized position reset after every restore.

#include <string>
#include <string_view>

class TForm;
class TIniFile;

// "(<width>x<height>)" of the primary screen now, as in "MinMaxPos(800x600)".
std::string ScreenSizeSuffix();

// Writes the keys "Flags" to "NormPos" in their order.
void WriteWindowPlacement(TForm& form, TIniFile& ini, std::string_view section);
// Reads them and applies them: the position part (loadPosition), then the state part
// (loadState).  Reading never fails: what is missing or unreadable takes its default.
void ReadWindowPlacement(TForm& form, TIniFile& ini, std::string_view section, bool loadState, bool loadPosition);
// Sets the maximized position to minus the frame metrics of the window's border style.
void FixMaximizedPosition(TForm& form);
