// Refilling the file list for a folder of 20,000 matching files (22,000 entries), against
// a bare listing of the same folder: readdir and a case-insensitive sort of the names.

#include <benchmark/benchmark.h>
#include <dirent.h>
#include <strings.h>

#include <QByteArray>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "browser/FileListBox.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Form.h"
#include "platform/win/WorkingFolder.h"

namespace {

constexpr int kMatching = 20000;
constexpr int kOthers = 2000;
const char* const kMask = "*.jpg;*.bmp;*.wmf;*.emf;*.ico";

// The folder, made once for the run and removed at its end.
class Folder {
 public:
  Folder() {
    std::string templ = (std::filesystem::temp_directory_path() / "mirelune-bench-XXXXXX").string();
    if (!mkdtemp(templ.data())) std::abort();
    path_ = std::filesystem::canonical(templ).string();
    const char* const ext[] = {".jpg", ".JPG", ".bmp", ".jpg", ".ico"};
    for (int i = 0; i < kMatching; ++i) Touch("Photo " + std::to_string(i * 7919 % 100003) + ext[i % 5]);
    for (int i = 0; i < kOthers; ++i) Touch("notes-" + std::to_string(i) + ".txt");
  }
  ~Folder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::string& Path() const { return path_; }

 private:
  void Touch(const std::string& name) { std::ofstream(path_ + "/" + name) << 'x'; }
  std::string path_;
};

Folder& TheFolder() {
  static Folder folder;
  return folder;
}

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};

void BM_BareListing(benchmark::State& state) {
  const std::string& path = TheFolder().Path();
  for (auto _ : state) {
    std::vector<std::string> names;
    std::unique_ptr<DIR, DirCloser> dir(opendir(path.c_str()));
    while (const dirent* e = readdir(dir.get()))
      if (e->d_name[0] != '.') names.emplace_back(e->d_name);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; });
    benchmark::DoNotOptimize(names.data());
  }
}
BENCHMARK(BM_BareListing)->Unit(benchmark::kMillisecond);

void BM_FileListRefill(benchmark::State& state) {
  const std::string& path = TheFolder().Path();
  win::ChangeDir(path);
  TForm form(nullptr);
  auto* list = new TFileListBox(&form);  // owned by the form
  list->SetParent(&form);
  list->SetBounds(0, 0, 139, 611);
  list->SetMask(kMask);
  form.Show();  // the window exists: the list fills
  if (list->Items().Count() != kMatching) state.SkipWithError("the list does not hold every matching file");
  for (auto _ : state) {
    list->ReadFileNames();
    benchmark::DoNotOptimize(list->Items().Count());
  }
}
BENCHMARK(BM_FileListRefill)->Unit(benchmark::kMillisecond);

// Prints the usual table, then the ratio of the refill to the bare listing.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs)
      if (r.iterations > 0 && !r.error_occurred) {
        times_[r.benchmark_name()] = r.GetAdjustedRealTime();
        cpu_[r.benchmark_name()] = r.GetAdjustedCPUTime();
      }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    if (times_.count("BM_FileListRefill") && times_.count("BM_BareListing") && times_["BM_BareListing"] > 0)
      std::printf("ratio BM_FileListRefill / BM_BareListing = %.2f real, %.2f cpu (goal 1.5)\n",
                  times_["BM_FileListRefill"] / times_["BM_BareListing"],
                  cpu_["BM_FileListRefill"] / cpu_["BM_BareListing"]);
  }

 private:
  std::map<std::string, double> times_, cpu_;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  benchmark::Initialize(&argc, argv);
  Application->Initialize(argc, argv);
  const std::string saved = win::GetCurrentDir();
  TheFolder();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  win::ChangeDir(saved);
  benchmark::Shutdown();
  Application->Shutdown();
  return 0;
}
