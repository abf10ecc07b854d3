#pragma once
// The system metrics and screen values of the original window system that the window
// placement uses, answered from Qt's primary screen.

inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int SM_CXBORDER = 5;
inline constexpr int SM_CYBORDER = 6;
inline constexpr int SM_CXDLGFRAME = 7;
inline constexpr int SM_CYDLGFRAME = 8;
inline constexpr int SM_CXFRAME = 32;
inline constexpr int SM_CYFRAME = 33;

// Screen size in pixels for SM_CXSCREEN / SM_CYSCREEN (the primary screen now); the border
// metrics of the classic frame: border 1, dialog frame 3, sizing frame 4; 0 for other indexes.
int GetSystemMetrics(int index);

// The screen's logical resolution in pixels per inch (vertical), measured once at program
// start by the application object.
int ScreenPixelsPerInch();

// Whether the application as a whole is minimized (its main window is).
bool IsApplicationMinimized();
// Posts a minimize command to the application: once the message loop runs, the main window
// and with it the application minimize.
void PostApplicationMinimize();
