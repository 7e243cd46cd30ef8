// Saving reports one after the other into one folder, as a viewer with a save
// folder does: each name is looked up without regard to case first, which
// lists the folder. The time per file must stay the same whether the folder
// holds 2,000, 4,000 or 8,000 files; the reference writes the same files with
// no look-up at all, in the same run.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/file_system.h"

namespace {

namespace fs = std::filesystem;

fs::path FreshFolder(const std::string& name) {
  const fs::path folder = fs::temp_directory_path() / ("zorv-folder-save-bench-" + name);
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

const std::string kReport(20'000, 'r');

// Seconds per file, shown with its unit ("150u" is 150 microseconds).
void PerFile(benchmark::State& state, int files) {
  state.counters["per_file"] = benchmark::Counter(static_cast<double>(files) * static_cast<double>(state.iterations()),
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void SaveThroughTheFileLayer(benchmark::State& state) {
  const auto files = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    const fs::path folder = FreshFolder("layer");
    state.ResumeTiming();
    for (int i = 0; i < files; ++i) zorv::WriteWholeFile(folder.string() + "\\ZRV_game" + std::to_string(i) + ".rtf", kReport);
  }
  PerFile(state, files);
}

void SaveWithoutLookUp(benchmark::State& state) {
  const auto files = static_cast<int>(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    const fs::path folder = FreshFolder("plain");
    state.ResumeTiming();
    for (int i = 0; i < files; ++i) {
      std::ofstream(folder / ("ZRV_game" + std::to_string(i) + ".rtf"), std::ios::binary) << kReport;
    }
  }
  PerFile(state, files);
}

BENCHMARK(SaveThroughTheFileLayer)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveWithoutLookUp)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
