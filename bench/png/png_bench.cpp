// Decoding time of LoadPNG against libpng, libspng and stb_image on the PNG
// test suite (every image that all four decode) and on large images written
// at start-up. Prints each reference's time divided by LoadPNG's: above 1,
// LoadPNG is faster. Ratios use processor time, steadier than wall time on a
// shared machine.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iomanip>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "bitmap/cbitmap.h"
#include "large_images.h"
#include "platform/message_box.h"
#include "png/report_decode.h"
#include "reference_decoders.h"

namespace {

namespace fs = std::filesystem;
using zorv::bench::DecodeWithLibpng;
using zorv::bench::DecodeWithSpng;
using zorv::bench::DecodeWithStb;

class SilentMessages final : public zorv::MessageBox {
 public:
  void Show(std::string_view) override {}
};

// Decodes into a picture box as the report window does; the drawn pixels.
std::size_t DecodeWithLoadPng(const std::string& path) {
  static const zorv::ScreenMetrics screen;
  static zorv::bitmap::CBitmap bitmaps(screen);
  static SilentMessages messages;
  static zorv::png::LoadPNG decoder(bitmaps, messages);
  static zorv::PictureBox box(screen);
  static zorv::PlainColourPicture background(0);
  try {
    zorv::png::DecodeForReport(decoder, box, background, path);
  } catch (const std::exception&) {
    return 0;
  }
  return 4 * box.Picture().pixels.size();
}

using Decoder = std::function<std::size_t(const std::string&)>;
const std::vector<std::pair<std::string, Decoder>> kDecoders = {
    {"LoadPNG", DecodeWithLoadPng}, {"libpng", DecodeWithLibpng}, {"spng", DecodeWithSpng}, {"stb_image", DecodeWithStb}};

// The suite's images that every decoder takes (the corrupt x*.png are left out).
std::vector<std::string> SuiteFiles() {
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(fs::path(ZORV_TEST_DATA_DIR) / "pngsuite")) {
    const std::string path = entry.path().string();
    if (entry.path().extension() != ".png" || entry.path().filename().string()[0] == 'x') continue;
    if (std::all_of(kDecoders.begin(), kDecoders.end(), [&](const auto& d) { return d.second(path) != 0; })) {
      files.push_back(path);
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

void DecodeAll(benchmark::State& state, const Decoder& decoder, const std::vector<std::string>& files) {
  std::size_t bytes = 0;
  for (auto _ : state) {
    for (const std::string& file : files) bytes += decoder(file);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

// Keeps every run's time so that the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) times[run.benchmark_name()] = run.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};

void PrintRatios(const std::map<std::string, double>& times, const std::vector<std::string>& groups) {
  std::cout << "\nProcessor time of each reference / that of LoadPNG (above 1: LoadPNG is faster)\n";
  std::cout << std::left << std::setw(30) << "images";
  for (std::size_t d = 1; d < kDecoders.size(); ++d) std::cout << std::setw(12) << kDecoders[d].first;
  std::cout << "\n";
  for (const std::string& group : groups) {
    const auto ours = times.find(group + "/LoadPNG");
    if (ours == times.end()) continue;
    std::cout << std::setw(30) << group;
    for (std::size_t d = 1; d < kDecoders.size(); ++d) {
      const auto theirs = times.find(group + "/" + kDecoders[d].first);
      std::cout << std::setw(12) << std::fixed << std::setprecision(2)
                << (theirs == times.end() ? 0.0 : theirs->second / ours->second);
    }
    std::cout << "\n";
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  // ZORV_BENCH_KEEP names a folder that keeps the large images (for measuring
  // memory with another tool); otherwise they live in a temporary folder.
  const char* keep = std::getenv("ZORV_BENCH_KEEP");
  const fs::path folder = keep != nullptr ? fs::path(keep)
                                          : fs::temp_directory_path() / ("zorv-png-bench-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const auto large = zorv::bench::WriteLargeImages(folder);

  std::vector<std::string> groups = {"suite"};
  const auto suite = SuiteFiles();
  for (const auto& [name, decoder] : kDecoders) {
    benchmark::RegisterBenchmark(("suite/" + name).c_str(), DecodeAll, decoder, suite)->Unit(benchmark::kMillisecond);
  }
  for (const auto& image : large) {
    groups.push_back(image.name);
    for (const auto& [name, decoder] : kDecoders) {
      benchmark::RegisterBenchmark((image.name + "/" + name).c_str(), DecodeAll, decoder,
                                   std::vector<std::string>{image.path})
          ->Unit(benchmark::kMillisecond);
    }
  }
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  PrintRatios(reporter.times, groups);
  std::cout << "suite: " << suite.size() << " images\n";
  if (keep == nullptr) fs::remove_all(folder);
  benchmark::Shutdown();
  return 0;
}
