#pragma once
// The placement record of a top-level window as the original window system exchanges it
// (flags, show command, minimized and maximized positions, normal rectangle), mapped onto Qt.
//
// The normal rectangle is the outer frame of the window when neither minimized nor
// maximized, in work-area coordinates: screen coordinates less the top-left corner of the
// primary screen's available area.  The frame counted is the classic one (4 pixels a side and
// a 30-pixel title bar) around the window's inside, so that a rectangle read under one window
// manager puts the inside back exactly under any other.  What SetWindowPlacement is given, GetWindowPlacement gives
// back.  Qt has no notion of the minimized and maximized positions; the window keeps them for
// the next read, and the numbers keep their original meaning in files.

#include <cstdint>

#include "platform/gdi/Color.h"

class TForm;

inline constexpr uint32_t WPF_SETMINPOSITION = 1;
inline constexpr uint32_t WPF_RESTORETOMAXIMIZED = 2;

inline constexpr uint32_t SW_HIDE = 0;
inline constexpr uint32_t SW_SHOWNORMAL = 1;
inline constexpr uint32_t SW_SHOWMINIMIZED = 2;
inline constexpr uint32_t SW_SHOWMAXIMIZED = 3;
inline constexpr uint32_t SW_SHOWNOACTIVATE = 4;
inline constexpr uint32_t SW_SHOW = 5;
inline constexpr uint32_t SW_MINIMIZE = 6;
inline constexpr uint32_t SW_SHOWMINNOACTIVE = 7;
inline constexpr uint32_t SW_SHOWNA = 8;
inline constexpr uint32_t SW_RESTORE = 9;

struct TWindowPlacement {
  uint32_t flags = 0;
  uint32_t showCmd = SW_SHOWNORMAL;
  TPoint ptMinPosition{-1, -1};
  TPoint ptMaxPosition{-1, -1};
  TRect rcNormalPosition{};
  friend bool operator==(const TWindowPlacement&, const TWindowPlacement&) = default;
};

// The current placement: show command 1, 2 or 3 by the window's state (also while hidden).
TWindowPlacement GetWindowPlacement(const TForm& form);
// Whether the window is on the screen now (false while its show event runs at start-up).
bool IsWindowVisible(const TForm& form);

// Applies the whole record: the normal rectangle (kept as the size to return to while the
// window is minimized or maximized), both positions, then the show command: 0 hides a visible
// window and leaves a hidden one hidden; the others show the window in their state.
void SetWindowPlacement(TForm& form, const TWindowPlacement& placement);
