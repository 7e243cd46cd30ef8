// Inflates the same raw deflate streams with our inflater, zlib's inflate and
// libdeflate's whole-buffer decompressor, then prints our time as a ratio to
// each (below 1.0: ours is faster).
#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "bench_images.h"
#include "png/inflate.h"

namespace zorv::bench {
namespace {

struct Input {
  std::string name;
  Bytes stream;  // raw deflate: the zlib stream without its two header bytes
  std::size_t size = 0;
};

Input MakeInput(const std::string& name, const Bytes& zlibStream, std::size_t size) {
  return Input{name, Bytes(zlibStream.begin() + 2, zlibStream.end()), size};
}

std::vector<Input> MakeInputs() {
  const std::string dir = ZORV_TEST_DATA_DIR "/png-extra/valid/";
  std::vector<Input> inputs;

  // A real 3840 x 2160 image, as its encoder stored it.
  const Bytes diagram = ReadIdatStream(dir + "exoplanet_phase_curve_rgb8.png");
  inputs.push_back(MakeInput("diagram-3840x2160-rgb", diagram, (3840 * 3 + 1) * 2160));

  // Photographs and a screenshot of text, tiled beyond 1920 x 1080 and filtered as an encoder would.
  const Picture photos = Tile({ReadPicture(dir + "kodim02.png"), ReadPicture(dir + "kodim23.png")}, 1920, 1080);
  const Bytes photoRows = FilterRows(photos);
  inputs.push_back(MakeInput("photos-" + std::to_string(photos.width) + "x" + std::to_string(photos.height) + "-rgb",
                             ZlibCompress(photoRows, 6, Z_FILTERED), photoRows.size()));
  const Picture screen = Tile({ReadPicture(dir + "lorem_ipsum_screenshot.png")}, 2560, 1440);
  const Bytes screenRows = FilterRows(screen);
  inputs.push_back(MakeInput("screenshot-" + std::to_string(screen.width) + "x" + std::to_string(screen.height) +
                                 "-rgba",
                             ZlibCompress(screenRows, 6, Z_FILTERED), screenRows.size()));

  const Bytes text = GenerateText(10 * 1000 * 1000);
  inputs.push_back(MakeInput("text-10MB", ZlibCompress(text, 6, Z_DEFAULT_STRATEGY), text.size()));
  return inputs;
}

void Check(bool condition, const char* what) {
  if (!condition) throw std::runtime_error(what);
}

void BM_Ours(benchmark::State& state, const Input* input) {
  png::Inflater inflater;
  Bytes data;
  for (auto _ : state) {
    state.PauseTiming();
    data = input->stream;
    state.ResumeTiming();
    inflater.Inflate(data, static_cast<std::int32_t>(input->size), false);
    benchmark::DoNotOptimize(data.data());
  }
  Check(data.size() == input->size, "our output size");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input->size));
}

// What the inflater's contract costs before decoding starts: a fresh output
// vector of expectedSize + 101 zeroed bytes (zlib and libdeflate write into a
// buffer they are given).
void BM_OutputAllocation(benchmark::State& state, const Input* input) {
  for (auto _ : state) {
    Bytes out(input->size + 101);
    benchmark::DoNotOptimize(out.data());
  }
}

void BM_Zlib(benchmark::State& state, const Input* input) {
  Bytes out(input->size);
  for (auto _ : state) {
    z_stream z{};
    inflateInit2(&z, -15);
    z.next_in = const_cast<Bytef*>(input->stream.data());
    z.avail_in = static_cast<uInt>(input->stream.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int status = inflate(&z, Z_FINISH);
    inflateEnd(&z);
    Check(status == Z_STREAM_END, "zlib inflate");
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input->size));
}

void BM_Libdeflate(benchmark::State& state, const Input* input) {
  Bytes out(input->size);
  std::unique_ptr<libdeflate_decompressor, void (*)(libdeflate_decompressor*)> decompressor(
      libdeflate_alloc_decompressor(), libdeflate_free_decompressor);
  for (auto _ : state) {
    std::size_t actual = 0;
    const auto status = libdeflate_deflate_decompress(decompressor.get(), input->stream.data(), input->stream.size(),
                                                      out.data(), out.size(), &actual);
    Check(status == LIBDEFLATE_SUCCESS && actual == input->size, "libdeflate");
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input->size));
}

// Keeps the processor time per iteration of every benchmark for the summary,
// the best of its repetitions (the machine may be shared: wall time, and to a
// lesser degree processor time, count what other processes do).
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type == Run::RT_Iteration && run.iterations > 0) {
        const double perIteration = run.cpu_accumulated_time / static_cast<double>(run.iterations);
        const auto [it, added] = seconds.emplace(run.run_name.function_name, perIteration);
        if (!added) it->second = std::min(it->second, perIteration);
      }
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> seconds;
};

}  // namespace
}  // namespace zorv::bench

int main(int argc, char** argv) {
  using namespace zorv::bench;
  benchmark::Initialize(&argc, argv);
  const std::vector<Input> inputs = MakeInputs();
  const std::pair<const char*, void (*)(benchmark::State&, const Input*)> kinds[] = {
      {"ours/", BM_Ours}, {"zlib/", BM_Zlib}, {"libdeflate/", BM_Libdeflate}, {"allocation/", BM_OutputAllocation}};
  for (const Input& input : inputs) {
    for (const auto& [prefix, function] : kinds) {
      benchmark::RegisterBenchmark((prefix + input.name).c_str(), function, &input)
          ->Unit(benchmark::kMillisecond)
          ->Repetitions(5);
    }
  }
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\nOur time as a ratio to each (below 1.0: ours is faster); the last two columns leave out\n"
              "the allocation of the zeroed output vector that our interface hands back\n");
  std::printf("%-28s %7s %8s %8s %8s %8s %8s %10s %12s\n", "input", "MB out", "ours ms", "zlib ms", "libdefl ms",
              "/zlib", "/libdefl", "-alloc/zlib", "-alloc/libdefl");
  for (const Input& input : inputs) {
    const auto& s = reporter.seconds;
    const auto ours = s.find("ours/" + input.name), zlib = s.find("zlib/" + input.name),
               libdeflate = s.find("libdeflate/" + input.name), allocation = s.find("allocation/" + input.name);
    if (ours == s.end() || zlib == s.end() || libdeflate == s.end() || allocation == s.end()) continue;
    const double decoding = ours->second - allocation->second;
    std::printf("%-28s %7.1f %8.2f %8.2f %10.2f %8.2f %8.2f %10.2f %12.2f\n", input.name.c_str(),
                static_cast<double>(input.size) / 1e6, ours->second * 1e3, zlib->second * 1e3,
                libdeflate->second * 1e3, ours->second / zlib->second, ours->second / libdeflate->second,
                decoding / zlib->second, decoding / libdeflate->second);
  }
  benchmark::Shutdown();
  return 0;
}
