// Saving the main window's seventeen keys through the profile file (each write a complete,
// flushed, renamed copy of the file under the folder lock) against one bare rewrite of the
// same text, and reading them back against one bare read.  The ratio is what the safety of
// every single write costs at each close of the program.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/rtl/IniFile.h"

namespace {

const std::vector<std::pair<std::string, std::string>>& Keys() {
  static const std::vector<std::pair<std::string, std::string>> keys = {
      {"FormVersion", "0"}, {"Flags", "0"}, {"ShowCmd", "1"}, {"PixelsPerInch", "96"},
      {"MinMaxPos(1280x1024)", "-1,-1,-4,-4"}, {"MinMaxPos", "-1,-1,-4,-4"},
      {"NormPos(1280x1024)", "65,96,1215,927"}, {"NormPos", "65,96,1215,927"}, {"Visible", "0"},
      {"Panel1_Width", "145"}, {"DirectoryListBox1_Height", "144"}, {"Scale_ItemIndex", "0"},
      {"PixelFormat_ItemIndex", "0"}, {"ColorSpace_ItemIndex", "0"}, {"Performance_ItemIndex", "0"},
      {"ProgressiveDisplay_Checked", "False"}, {"IncrementalDisplay_Checked", "False"}};
  return keys;
}

// A scratch folder for the run, removed at its end.
struct ScratchFolder {
  std::string path;
  ScratchFolder() : path((std::filesystem::temp_directory_path() / "mirelune-bench-XXXXXX").string()) {
    if (::mkdtemp(path.data()) == nullptr) std::abort();
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

std::string Folder() {
  static const ScratchFolder folder;
  return folder.path;
}

void BM_SaveThroughIniFile(benchmark::State& state) {
  const std::string path = Folder() + "/Mirelune.ini";
  for (auto _ : state) {
    TIniFile ini(path);
    for (const auto& [k, v] : Keys()) ini.WriteString("TForm1", k, v);
  }
}
BENCHMARK(BM_SaveThroughIniFile)->Unit(benchmark::kMillisecond);

void BM_BareRewriteOnce(benchmark::State& state) {
  const std::string path = Folder() + "/bare.ini";
  std::string text = "[TForm1]\n";
  for (const auto& [k, v] : Keys()) text += k + "=" + v + "\n";
  for (auto _ : state) {
    const std::string temp = path + ".tmp";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size())) std::abort();
    ::fsync(fd);
    ::close(fd);
    std::rename(temp.c_str(), path.c_str());
  }
}
BENCHMARK(BM_BareRewriteOnce)->Unit(benchmark::kMillisecond);

void BM_RestoreThroughIniFile(benchmark::State& state) {
  const std::string path = Folder() + "/Mirelune.ini";
  {
    TIniFile ini(path);
    for (const auto& [k, v] : Keys()) ini.WriteString("TForm1", k, v);
  }
  for (auto _ : state) {
    TIniFile ini(path);
    for (const auto& [k, v] : Keys()) benchmark::DoNotOptimize(ini.ReadString("TForm1", k, ""));
  }
}
BENCHMARK(BM_RestoreThroughIniFile)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
