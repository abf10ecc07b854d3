#pragma once
// The command line of mirelune-render.

#include <optional>
#include <string>
#include <vector>

struct TRenderOptions {
  std::string Input;
  std::string Output;
  std::optional<std::pair<int, int>> View;  // client width and height of the view
  // JPEG decoding options, as the viewer's option controls give them.
  int Scale = 1;         // 1, 2, 4 or 8
  int PixelFormat = 24;  // 24 or 8
  bool Grey = false;
  bool Speed = false;
  bool Progressive = false;
  bool Progress = false;  // print every progress report
};

// Parses the arguments after the program name; answers none and fills `error` when they
// are not valid.
std::optional<TRenderOptions> ParseRenderOptions(const std::vector<std::string>& args, std::string& error);

extern const char* const kRenderUsage;
