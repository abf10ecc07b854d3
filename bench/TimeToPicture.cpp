// Time to picture: the real viewer, started under Xvfb with a 24-megapixel JPEG, against the
// bare library's decode of the same file at the same settings, in the same run.
//
//   bench/time-to-picture.sh        (builds the viewer with its paint trace and runs this)
//
// The viewer built with MIRELUNE_PAINT_TRACE prints "mirelune-trace paint MS" on standard
// error, MS being CLOCK_MONOTONIC in milliseconds, each time a paint of a non-empty picture
// has reached the screen.  Measured: from the fork of the viewer to its first such line, and
// from a click on the next file of the file list to the next line.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <jpeglib.h>  // after <cstdio>: it needs size_t and FILE

namespace fs = std::filesystem;

namespace {

double NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

std::vector<uint8_t> ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The bare library: 1:1, blue-green-red output, the viewer's default quality settings
// (floating-point DCT), into a fresh buffer.
double BareDecodeMs(const std::vector<uint8_t>& bytes) {
  const double t0 = NowMs();
  jpeg_decompress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_EXT_BGR;
  cinfo.dct_method = JDCT_FLOAT;
  jpeg_start_decompress(&cinfo);
  const size_t stride = (static_cast<size_t>(cinfo.output_width) * 3 + 3) & ~size_t{3};
  std::vector<uint8_t> pixels(stride * cinfo.output_height);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = pixels.data() + stride * (cinfo.output_height - 1 - cinfo.output_scanline);
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return NowMs() - t0;
}

struct Viewer {
  pid_t pid = -1;
  int err = -1;
  std::string pending;

  // The next trace time, or none after the limit.
  std::optional<double> NextPaint(double limitMs) {
    const double end = NowMs() + limitMs;
    while (NowMs() < end) {
      size_t nl;
      while ((nl = pending.find('\n')) != std::string::npos) {
        const std::string line = pending.substr(0, nl);
        pending.erase(0, nl + 1);
        double ms = 0;
        char kind[64] = {};
        if (std::sscanf(line.c_str(), "mirelune-trace paint %lf %63s", &ms, kind) == 2 && std::string(kind) == "TImage")
          return ms;
      }
      pollfd p{err, POLLIN, 0};
      if (::poll(&p, 1, 50) > 0) {
        char buf[4096];
        const ssize_t n = ::read(err, buf, sizeof buf);
        if (n <= 0) return std::nullopt;
        pending.append(buf, static_cast<size_t>(n));
      }
    }
    return std::nullopt;
  }
  ~Viewer() {
    if (pid > 0) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
    if (err >= 0) ::close(err);
  }
};

double StartViewer(Viewer& v, const std::string& binary, const fs::path& dir, const std::string& display,
                   const fs::path& config) {
  int fds[2];
  if (::pipe(fds) != 0) std::exit(2);
  const double t0 = NowMs();
  v.pid = ::fork();
  if (v.pid == 0) {
    ::dup2(fds[1], 2);
    ::close(fds[0]);
    if (::chdir(dir.c_str()) != 0) _exit(126);
    ::setenv("DISPLAY", display.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    ::execl(binary.c_str(), binary.c_str(), (dir / "a.jpg").c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  ::close(fds[1]);
  v.err = fds[0];
  return t0;
}

std::string Shell(const std::string& cmd) {
  std::string out;
  if (FILE* p = ::popen(cmd.c_str(), "r")) {
    char buf[512];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    ::pclose(p);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s MIRELUNE_WITH_TRACE PHOTO.jpg [RUNS]\n", argv[0]);
    return 2;
  }
  const std::string binary = argv[1];
  const fs::path photo = argv[2];
  const int runs = argc > 3 ? std::atoi(argv[3]) : 5;

  const fs::path dir = fs::temp_directory_path() / ("mirelune-ttp-" + std::to_string(::getpid()));
  fs::create_directories(dir / "config");
  fs::copy_file(photo, dir / "a.jpg", fs::copy_options::overwrite_existing);
  fs::copy_file(photo, dir / "b.jpg", fs::copy_options::overwrite_existing);
  const std::vector<uint8_t> bytes = ReadFile(photo);

  const std::string display = ":71";
  pid_t xvfb = ::fork();
  if (xvfb == 0) {
    ::execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", "1600x1200x24", "-nolisten", "tcp",
             static_cast<char*>(nullptr));
    _exit(127);
  }
  for (int i = 0; i < 100 && !fs::exists("/tmp/.X11-unix/X71"); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));

  std::vector<double> first, next, bare;
  for (int r = 0; r < runs; ++r) {
    bare.push_back(BareDecodeMs(bytes));
    Viewer v;
    const double t0 = StartViewer(v, binary, dir, display, dir / "config");
    const auto painted = v.NextPaint(30000);
    if (!painted) {
      std::fprintf(stderr, "run %d: no paint trace (is the viewer built with MIRELUNE_PAINT_TRACE?)\n", r);
      continue;
    }
    first.push_back(*painted - t0);
    // The window's client origin, then a click on the second line of the file list.
    const std::string id = Shell("DISPLAY=" + display + " xdotool search --onlyvisible --class mirelune | head -n 1");
    const std::string geo = Shell("DISPLAY=" + display + " xdotool getwindowgeometry --shell " + id);
    int x = 0, y = 0;
    if (const auto px = geo.find("X="); px != std::string::npos) std::sscanf(geo.c_str() + px, "X=%d", &x);
    if (const auto py = geo.find("Y="); py != std::string::npos) std::sscanf(geo.c_str() + py, "Y=%d", &y);
    const double t1 = NowMs();
    Shell("DISPLAY=" + display + " xdotool mousemove " + std::to_string(x + 40) + " " + std::to_string(y + 33 + 148 + 2 + 13 + 6) +
          " click 1");
    if (const auto again = v.NextPaint(30000)) next.push_back(*again - t1);
  }
  ::kill(xvfb, SIGTERM);
  ::waitpid(xvfb, nullptr, 0);
  fs::remove_all(dir);

  const double b = Median(bare), f = Median(first), n = Median(next);
  std::printf("file: %s (%zu bytes), %d runs, medians\n", photo.c_str(), bytes.size(), runs);
  std::printf("  bare libjpeg-turbo decode 1:1 BGR float DCT : %8.1f ms\n", b);
  std::printf("  start to picture on screen                  : %8.1f ms  (%.2fx the bare decode)\n", f, f / b);
  std::printf("  click on the next file to picture on screen : %8.1f ms  (%.2fx the bare decode)\n", n, n / b);
  return first.empty() ? 1 : 0;
}
