#include "settings/Placement.h"

#include <array>
#include <optional>
#include <vector>

#include "platform/rtl/Format.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/IniText.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Form.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/WindowPlacement.h"
#include "settings/TextValue.h"

namespace {

constexpr const char* kFlags = "Flags";
constexpr const char* kShowCmd = "ShowCmd";
constexpr const char* kPixelsPerInch = "PixelsPerInch";
constexpr const char* kMinMaxPos = "MinMaxPos";
constexpr const char* kNormPos = "NormPos";

bool IsWordSeparator(char c) { return c == ',' || static_cast<unsigned char>(c) <= ' '; }

// Words are the runs of characters other than "," and blanks; each word that is an integer
// gives its value, any other word nothing.
std::vector<std::optional<int>> Words(std::string_view text) {
  std::vector<std::optional<int>> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsWordSeparator(text[i])) ++i;
    const size_t start = i;
    while (i < text.size() && !IsWordSeparator(text[i])) ++i;
    if (i > start) words.push_back(rtl::IniStrToInt(text.substr(start, i - start)));
  }
  return words;
}

int WordOr(const std::vector<std::optional<int>>& words, size_t index, int fallback) {
  return index < words.size() && words[index] ? *words[index] : fallback;
}

// The key under the current screen's suffix; when that is missing or empty, the plain key.
std::string ReadSuffixed(const TIniFile& ini, std::string_view section, const std::string& key) {
  std::string text = ini.ReadString(section, key + ScreenSizeSuffix(), "");
  if (text.empty()) text = ini.ReadString(section, key, "");
  return text;
}

void WriteBoth(TIniFile& ini, std::string_view section, const std::string& key, const std::string& value) {
  WriteTextValue(ini, section, key + ScreenSizeSuffix(), value);
  WriteTextValue(ini, section, key, value);
}

bool IsMainForm(const TForm& form) { return Application != nullptr && Application->MainForm() == &form; }

bool HasSizeableBorder(TFormBorderStyle style) {
  return style == TFormBorderStyle::bsSizeable || style == TFormBorderStyle::bsSizeToolWin;
}

void ReadPosition(TForm& form, const TIniFile& ini, std::string_view section) {
  TWindowPlacement wp = GetWindowPlacement(form);
  if (!IsWindowVisible(form)) wp.showCmd = SW_HIDE;
  wp.flags = static_cast<uint32_t>(ini.ReadInteger(section, kFlags, static_cast<int32_t>(wp.flags)));

  bool found = false;
  const std::string minMax = ReadSuffixed(ini, section, kMinMaxPos);
  if (!minMax.empty()) {
    found = true;
    const auto w = Words(minMax);
    wp.ptMinPosition = TPoint{WordOr(w, 0, 0), WordOr(w, 1, 0)};
    wp.ptMaxPosition = TPoint{WordOr(w, 2, 0), WordOr(w, 3, 0)};
  }
  const std::string norm = ReadSuffixed(ini, section, kNormPos);
  if (!norm.empty()) {
    found = true;
    const auto w = Words(norm);
    const TRect current = GetWindowPlacement(form).rcNormalPosition;
    const int left = WordOr(w, 0, current.Left);
    const int top = WordOr(w, 1, current.Top);
    wp.rcNormalPosition =
        Rect(left, top, WordOr(w, 2, current.Left + current.Width()), WordOr(w, 3, current.Top + current.Height()));
  }
  const int ppi = ScreenPixelsPerInch();
  // Sizes are never scaled: a file written at another resolution leaves the position alone.
  if (!found || ini.ReadInteger(section, kPixelsPerInch, ppi) != ppi) return;

  TRect& r = wp.rcNormalPosition;
  if (!HasSizeableBorder(form.BorderStyle())) {
    const TRect current = GetWindowPlacement(form).rcNormalPosition;
    r.Right = r.Left + current.Width();
    r.Bottom = r.Top + current.Height();
  }
  if (r.Right <= r.Left) return;
  // The stored rectangle wins over centring when the window is shown.
  if (form.Position() == TPosition::poScreenCenter) form.SetPosition(TPosition::poDesigned);
  SetWindowPlacement(form, wp);
}

void ReadState(TForm& form, const TIniFile& ini, std::string_view section) {
  TWindowState state = TWindowState::wsNormal;
  switch (ini.ReadInteger(section, kShowCmd, 0)) {
    case SW_SHOWNORMAL:
    case SW_SHOW:
    case SW_RESTORE:
      state = TWindowState::wsNormal;
      break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      state = TWindowState::wsMinimized;
      break;
    case SW_SHOWMAXIMIZED:
      state = TWindowState::wsMaximized;
      break;
    default:
      break;
  }
  if (state == TWindowState::wsMinimized && IsMainForm(form)) {
    // The whole application minimizes once the message loop runs; the window itself is
    // recorded as normal, so that it comes back normal.
    if (!IsWindowVisible(form)) form.SetWindowState(TWindowState::wsNormal);
    PostApplicationMinimize();
    return;
  }
  form.SetWindowState(state);
  form.Repaint();
}

}  // namespace

std::string ScreenSizeSuffix() {
  return rtl::Format("(%dx%d)", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

void WriteWindowPlacement(TForm& form, TIniFile& ini, std::string_view section) {
  TWindowPlacement wp = GetWindowPlacement(form);
  if (IsMainForm(form) && IsApplicationMinimized()) wp.showCmd = SW_SHOWMINIMIZED;
  ini.WriteInteger(section, kFlags, static_cast<int32_t>(wp.flags));
  ini.WriteInteger(section, kShowCmd, static_cast<int32_t>(wp.showCmd));
  ini.WriteInteger(section, kPixelsPerInch, ScreenPixelsPerInch());
  WriteBoth(ini, section, kMinMaxPos,
            rtl::Format("%d,%d,%d,%d", wp.ptMinPosition.X, wp.ptMinPosition.Y, wp.ptMaxPosition.X,
                        wp.ptMaxPosition.Y));
  const TRect& r = wp.rcNormalPosition;
  WriteBoth(ini, section, kNormPos, rtl::Format("%d,%d,%d,%d", r.Left, r.Top, r.Right, r.Bottom));
}

void ReadWindowPlacement(TForm& form, TIniFile& ini, std::string_view section, bool loadState, bool loadPosition) {
  if (loadPosition) ReadPosition(form, ini, section);
  if (loadState) ReadState(form, ini, section);
}

void FixMaximizedPosition(TForm& form) {
  TWindowPlacement wp = GetWindowPlacement(form);
  if (!IsWindowVisible(form)) wp.showCmd = SW_HIDE;
  int cx = 0, cy = 0;
  switch (form.BorderStyle()) {
    case TFormBorderStyle::bsSizeable:
    case TFormBorderStyle::bsSizeToolWin:
      cx = GetSystemMetrics(SM_CXFRAME);
      cy = GetSystemMetrics(SM_CYFRAME);
      break;
    case TFormBorderStyle::bsSingle:
    case TFormBorderStyle::bsToolWindow:
      cx = GetSystemMetrics(SM_CXBORDER);
      cy = GetSystemMetrics(SM_CYBORDER);
      break;
    case TFormBorderStyle::bsDialog:
      cx = GetSystemMetrics(SM_CXDLGFRAME);
      cy = GetSystemMetrics(SM_CYDLGFRAME);
      break;
    case TFormBorderStyle::bsNone:
      break;
  }
  wp.ptMaxPosition = TPoint{-cx, -cy};
  SetWindowPlacement(form, wp);
}
