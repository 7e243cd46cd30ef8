// Decoding time of LoadPNG against libpng, libspng, stb_image and (when it was
// found at build time) wuffs, each step of a benchmark decoding the same file
// with every decoder in turn, each decoder timed on its second call in a row:
// the PNG test suite
// (every image that all of them decode) and pictures written at start-up: large ones
// and game screens at an older machine's own resolution.
// LoadPNG decodes as the report window does, onto a background picture.
// Counters: LoadPNG's processor time over each reference's (below 1: LoadPNG
// is faster). ZORV_CPU=plain|sse2|sse4.1|avx2 measures LoadPNG at that kernel level.
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bitmap/cbitmap.h"
#include "large_images.h"
#include "platform/message_box.h"
#include "png/report_decode.h"
#include "reference_decoders.h"

namespace {

namespace fs = std::filesystem;

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
    zorv::png::SetUpForReport(decoder, box, background).OpenPNG(path);
  } catch (const std::exception&) {
    return 0;
  }
  return 4 * box.Picture().pixels.size();
}

using Decoder = std::function<std::size_t(const std::string&)>;
const std::vector<std::pair<std::string, Decoder>> kDecoders = {{"LoadPNG", DecodeWithLoadPng},
                                                                {"libpng", zorv::bench::DecodeWithLibpng},
                                                                {"spng", zorv::bench::DecodeWithSpng},
                                                                {"stb_image", zorv::bench::DecodeWithStb},
#if defined(ZORV_BENCH_WUFFS)
                                                                {"wuffs", zorv::bench::DecodeWithWuffs},
#endif
};

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

double ProcessorSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void DecodeAll(benchmark::State& state, const std::vector<std::string>& files) {
  std::vector<double> seconds(kDecoders.size(), 0.0);
  std::size_t bytes = 0;
  for (auto _ : state) {
    for (std::size_t d = 0; d < kDecoders.size(); ++d) {
      // Each decoder is timed right after a call of its own, as a program
      // calls one picture after another: no decoder pays for the pages that
      // the one before it left the heap to give back to the system, which on
      // a machine with costly page faults doubles a large picture's time.
      for (const std::string& file : files) kDecoders[d].second(file);
      const double start = ProcessorSeconds();
      for (const std::string& file : files) {
        const std::size_t decoded = kDecoders[d].second(file);
        if (d == 0) bytes += decoded;
      }
      const double elapsed = ProcessorSeconds() - start;
      seconds[d] += elapsed;
      if (d == 0) state.SetIterationTime(elapsed);
    }
  }
  for (std::size_t d = 1; d < kDecoders.size(); ++d) state.counters["ours/" + kDecoders[d].first] = seconds[0] / seconds[d];
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
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

  benchmark::RegisterBenchmark("decode/pngsuite", DecodeAll, SuiteFiles())->Unit(benchmark::kMillisecond)->UseManualTime();
  for (const auto& image : large) {
    benchmark::RegisterBenchmark(("decode/" + image.name).c_str(), DecodeAll, std::vector<std::string>{image.path})
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime();
  }
  benchmark::RunSpecifiedBenchmarks();
  if (keep == nullptr) fs::remove_all(folder);
  benchmark::Shutdown();
  return 0;
}
