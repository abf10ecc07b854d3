// The real viewer in a real X server: the picture reaches the screen at the view's
// rectangle, a click in the file list changes it, and "Quitter" ends the program cleanly
// with its settings saved.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// A child process, killed when the owner goes away.
class Child {
 public:
  Child(const std::vector<std::string>& argv, const std::vector<std::string>& env, const fs::path& cwd) {
    pid_ = ::fork();
    if (pid_ == 0) {
      if (!cwd.empty() && ::chdir(cwd.c_str()) != 0) _exit(126);
      for (const auto& e : env) ::putenv(const_cast<char*>(e.c_str()));
      std::vector<char*> args;
      for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
      args.push_back(nullptr);
      ::execvp(args[0], args.data());
      _exit(127);
    }
  }
  ~Child() {
    if (pid_ > 0 && !exited_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // The exit status once the process has ended within the time, or none.
  std::optional<int> WaitExit(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        exited_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(50ms);
    }
    return std::nullopt;
  }

 private:
  pid_t pid_ = -1;
  bool exited_ = false;
};

std::string Shell(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen(command.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    ::pclose(p);
  }
  return out;
}

class EndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("mirelune-e2e-" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "photos");
    fs::create_directories(root_ / "config");
    MakePicture("a.bmp", Qt::red, Qt::blue);
    MakePicture("b.bmp", Qt::green, Qt::yellow);

    // Xvfb picks a free display itself and writes its number to the pipe, so that servers of
    // tests running at the same time never share one.
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    xserver_ = std::make_unique<Child>(
        std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1600x1200x24",
                                 "-nolisten", "tcp"},
        std::vector<std::string>{}, fs::path());
    ::close(fds[1]);
    std::string number;
    char c;
    while (::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(fds[0]);
    ASSERT_FALSE(number.empty()) << "Xvfb did not start";
    display_ = std::stoi(number);
    bool ready = false;
    for (int i = 0; i < 100 && !ready; ++i) {
      ready = ::system(("xdpyinfo -display :" + std::to_string(display_) + " >/dev/null 2>&1").c_str()) == 0;
      if (!ready) std::this_thread::sleep_for(100ms);
    }
    ASSERT_TRUE(ready) << "Xvfb did not start";
  }
  void TearDown() override {
    app_.reset();
    xserver_.reset();
    fs::remove_all(root_);
  }

  // 300 x 200: the left half one colour, the right half another.
  void MakePicture(const std::string& name, QColor left, QColor right) {
    QImage img(300, 200, QImage::Format_RGB888);
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) img.setPixelColor(x, y, x < 150 ? left : right);
    ASSERT_TRUE(img.save(QString::fromStdString((root_ / "photos" / name).string()), "BMP"));
  }

  std::string X(const std::string& command) {
    return Shell("DISPLAY=:" + std::to_string(display_) + " " + command + " 2>/dev/null");
  }

  void StartViewer(const std::string& argument) {
    app_ = std::make_unique<Child>(
        std::vector<std::string>{MIRELUNE_BINARY, argument},
        std::vector<std::string>{"DISPLAY=:" + std::to_string(display_), "QT_QPA_PLATFORM=xcb",
                                 "XDG_CONFIG_HOME=" + (root_ / "config").string()},
        root_ / "photos");
  }

  // The top-left corner of the viewer's client area on the screen.
  std::optional<QPoint> WindowOrigin() {
    for (int i = 0; i < 200; ++i) {
      const std::string ids = X("xdotool search --onlyvisible --class mirelune");
      if (!ids.empty()) {
        const std::string id = ids.substr(0, ids.find('\n'));
        const std::string geo = X("xdotool getwindowgeometry --shell " + id);
        int x = -1, y = -1, w = 0;
        std::sscanf(geo.c_str() + geo.find("X="), "X=%d", &x);
        std::sscanf(geo.c_str() + geo.find("Y="), "Y=%d", &y);
        std::sscanf(geo.c_str() + geo.find("WIDTH="), "WIDTH=%d", &w);
        if (x >= 0 && y >= 0 && w >= 1000) return QPoint(x, y);
      }
      std::this_thread::sleep_for(100ms);
    }
    return std::nullopt;
  }

  QImage Screen() {
    const fs::path shot = root_ / "screen.png";
    X("import -window root " + shot.string());
    return QImage(QString::fromStdString(shot.string()));
  }

  // Waits until the screen shows the colour at the point; answers the last screenshot.
  QImage WaitForColour(QPoint p, QColor want) {
    QImage img;
    for (int i = 0; i < 100; ++i) {
      img = Screen();
      if (!img.isNull() && img.pixelColor(p) == want) break;
      std::this_thread::sleep_for(100ms);
    }
    return img;
  }

  void Click(QPoint p) {
    X("xdotool mousemove " + std::to_string(p.x()) + " " + std::to_string(p.y()) + " click 1");
  }

  fs::path root_;
  int display_ = 0;
  std::unique_ptr<Child> xserver_;
  std::unique_ptr<Child> app_;
};

TEST_F(EndToEndTest, ShowsThePictureSwitchesOnAClickAndQuitsWithItsSettingsSaved) {
  StartViewer((root_ / "photos" / "a.bmp").string());
  const auto origin = WindowOrigin();
  ASSERT_TRUE(origin) << "no viewer window";

  // The view starts at client (148, 33); a 300 x 200 picture fits and is drawn at its own
  // size at the view's top-left corner, the rest showing the window's background.
  const QPoint view = *origin + QPoint(148, 33);
  QImage shot = WaitForColour(view + QPoint(10, 10), Qt::red);
  ASSERT_FALSE(shot.isNull());
  shot.save(QString::fromStdString((fs::temp_directory_path() / "mirelune-e2e-start.png").string()));
  EXPECT_EQ(shot.pixelColor(view + QPoint(0, 0)), QColor(Qt::red));
  EXPECT_EQ(shot.pixelColor(view + QPoint(149, 199)), QColor(Qt::red));
  EXPECT_EQ(shot.pixelColor(view + QPoint(150, 0)), QColor(Qt::blue));
  EXPECT_EQ(shot.pixelColor(view + QPoint(299, 199)), QColor(Qt::blue));
  EXPECT_NE(shot.pixelColor(view + QPoint(300, 100)), QColor(Qt::blue));
  EXPECT_NE(shot.pixelColor(view + QPoint(100, 200)), QColor(Qt::red));

  // The file list starts at (1, 148) inside the left panel at (0, 33); its lines are 13 pixels
  // high and sorted: a.bmp, b.bmp.  Clicking the second line loads b.bmp.
  Click(*origin + QPoint(40, 33 + 148 + 2 + 13 + 6));
  shot = WaitForColour(view + QPoint(10, 10), Qt::green);
  EXPECT_EQ(shot.pixelColor(view + QPoint(10, 10)), QColor(Qt::green));
  EXPECT_EQ(shot.pixelColor(view + QPoint(200, 100)), QColor(Qt::yellow));

  // "Quitter" sits at (743, 4, 44, 22) in the top bar.
  Click(*origin + QPoint(765, 15));
  const auto status = app_->WaitExit(15s);
  ASSERT_TRUE(status) << "the viewer did not end";
  EXPECT_EQ(*status, 0);
  EXPECT_TRUE(fs::exists(root_ / "config" / "Mirelune.ini"));
}

}  // namespace
