#include "tools/mirelune-render/RenderOptions.h"

#include <cstdio>

const char* const kRenderUsage =
    "usage: mirelune-render INPUT OUTPUT.png [--view WxH] [--scale 1|2|4|8] [--pixel-format 24|8] [--grey] [--speed]"
    " [--progressive] [--progress]";

namespace {
bool ParseSize(const std::string& s, std::pair<int, int>& out) {
  int w = 0, h = 0;
  char tail = 0;
  if (std::sscanf(s.c_str(), "%dx%d%c", &w, &h, &tail) != 2 || w <= 0 || h <= 0 || w > 32768 || h > 32768) return false;
  out = {w, h};
  return true;
}
}  // namespace

std::optional<TRenderOptions> ParseRenderOptions(const std::vector<std::string>& args, std::string& error) {
  TRenderOptions o;
  std::vector<std::string> positional;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](const char* name) -> const std::string* {
      if (i + 1 >= args.size()) {
        error = std::string(name) + " needs a value";
        return nullptr;
      }
      return &args[++i];
    };
    if (a == "--view") {
      const std::string* v = value("--view");
      std::pair<int, int> size;
      if (!v) return std::nullopt;
      if (!ParseSize(*v, size)) {
        error = "--view takes WIDTHxHEIGHT";
        return std::nullopt;
      }
      o.View = size;
    } else if (a == "--scale") {
      const std::string* v = value("--scale");
      if (!v) return std::nullopt;
      if (*v != "1" && *v != "2" && *v != "4" && *v != "8") {
        error = "--scale takes 1, 2, 4 or 8";
        return std::nullopt;
      }
      o.Scale = std::stoi(*v);
    } else if (a == "--pixel-format") {
      const std::string* v = value("--pixel-format");
      if (!v) return std::nullopt;
      if (*v != "24" && *v != "8") {
        error = "--pixel-format takes 24 or 8";
        return std::nullopt;
      }
      o.PixelFormat = std::stoi(*v);
    } else if (a == "--grey") {
      o.Grey = true;
    } else if (a == "--speed") {
      o.Speed = true;
    } else if (a == "--progressive") {
      o.Progressive = true;
    } else if (a == "--progress") {
      o.Progress = true;
    } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
      error = "unknown option " + a;
      return std::nullopt;
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() != 2) {
    error = kRenderUsage;
    return std::nullopt;
  }
  o.Input = positional[0];
  o.Output = positional[1];
  return o;
}
