// Inflates the same raw deflate streams with our inflater, zlib's inflate,
// libdeflate's whole-buffer decompressor and (when it was found at build time)
// wuffs' inflater, each step of a benchmark running them all in turn, each
// decoder timed on the calls after a first one of its own. Our call is timed as the decode
// pipeline makes it (a fresh output buffer each time); the references write
// into a buffer made once.
// Counters: our processor time over each reference's (below 1: ours is faster).
// ZORV_CPU=plain|sse2|sse4.1|avx2 measures ours at that kernel level.
#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zlib.h>
#include <time.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench_images.h"
#if defined(ZORV_BENCH_WUFFS)
#include "support/wuffs_reference.h"
#endif
#include "png/inflate/inflate.h"

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

// Image rows filtered and compressed as a PNG encoder at its default level does.
Input ImageInput(const std::string& name, const Picture& picture) {
  const Bytes rows = FilterRows(picture);
  return MakeInput(name + "-" + std::to_string(picture.width) + "x" + std::to_string(picture.height),
                   ZlibCompress(rows, 6, Z_FILTERED), rows.size());
}

std::vector<Input> MakeInputs() {
  const std::string dir = ZORV_TEST_DATA_DIR "/png-extra/valid/";
  std::vector<Input> inputs;
  inputs.push_back(ImageInput("game-screen-x4", ScaleUp(GameScreen(480, 270), 4)));
  inputs.push_back(ImageInput("game-screen-x2", ScaleUp(GameScreen(960, 540), 2)));
  inputs.push_back(ImageInput("noisy", NoisyPicture(1920, 1080)));
  inputs.push_back(ImageInput("photos", Tile({ReadPicture(dir + "kodim02.png"), ReadPicture(dir + "kodim23.png")},
                                             1920, 1080)));
  inputs.push_back(ImageInput("screenshot-rgba", Tile({ReadPicture(dir + "lorem_ipsum_screenshot.png")}, 2560, 1440)));
  // A real 3840 x 2160 image, as its encoder stored it.
  inputs.push_back(MakeInput("diagram-3840x2160-rgb", ReadIdatStream(dir + "exoplanet_phase_curve_rgb8.png"),
                             (3840 * 3 + 1) * 2160));
  const Bytes text = GenerateText(10 * 1000 * 1000);
  inputs.push_back(MakeInput("text-10MB", ZlibCompress(text, 6, Z_DEFAULT_STRATEGY), text.size()));
#if defined(ZORV_BENCH_REAL_TEXT)
  std::ifstream file(ZORV_BENCH_REAL_TEXT, std::ios::binary);
  const Bytes history{std::istreambuf_iterator<char>(file), {}};
  inputs.push_back(MakeInput("history-text", ZlibCompress(history, 6, Z_DEFAULT_STRATEGY), history.size()));
#endif
  return inputs;
}

void Check(bool condition, const char* what) {
  if (!condition) throw std::runtime_error(what);
}

double ProcessorSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// One whole call of a decoder on the input; false when it failed.
using Decode = std::function<bool(const Input&)>;

struct Decoder {
  std::string name;
  Decode decode;
};

// Our call as the decode pipeline makes it (a fresh output buffer each time);
// the references write into a buffer made once, as a caller that keeps one would.
std::vector<Decoder> MakeDecoders(std::size_t largestOutput) {
  auto out = std::make_shared<Bytes>(largestOutput);
  auto inflater = std::make_shared<png::Inflater>();
  std::shared_ptr<libdeflate_decompressor> decompressor(libdeflate_alloc_decompressor(), libdeflate_free_decompressor);
  std::vector<Decoder> decoders;
  decoders.push_back({"ours", [inflater](const Input& input) {
                        png::ByteBuffer data;
                        inflater->Inflate(input.stream, data, static_cast<std::int32_t>(input.size), false);
                        benchmark::DoNotOptimize(data.data());
                        return data.size() == input.size;
                      }});
  decoders.push_back({"zlib", [out](const Input& input) {
                        z_stream z{};
                        inflateInit2(&z, -15);
                        z.next_in = const_cast<Bytef*>(input.stream.data());
                        z.avail_in = static_cast<uInt>(input.stream.size());
                        z.next_out = out->data();
                        z.avail_out = static_cast<uInt>(input.size);
                        const int status = inflate(&z, Z_FINISH);
                        inflateEnd(&z);
                        benchmark::DoNotOptimize(out->data());
                        return status == Z_STREAM_END;
                      }});
  decoders.push_back({"libdeflate", [out, decompressor](const Input& input) {
                        std::size_t actual = 0;
                        const auto result = libdeflate_deflate_decompress(
                            decompressor.get(), input.stream.data(), input.stream.size(), out->data(), input.size, &actual);
                        benchmark::DoNotOptimize(out->data());
                        return result == LIBDEFLATE_SUCCESS && actual == input.size;
                      }});
#if defined(ZORV_BENCH_WUFFS)
  decoders.push_back({"wuffs", [out](const Input& input) {
                        const std::size_t actual =
                            zorv_bench_wuffs_inflate(input.stream.data(), input.stream.size(), out->data(), input.size);
                        benchmark::DoNotOptimize(out->data());
                        return actual == input.size;
                      }});
#endif
  return decoders;
}

// Timed calls after each untimed one.
constexpr int kTimedCalls = 3;

void BM_Inflate(benchmark::State& state, const Input* input, const std::vector<Decoder>* decoders) {
  std::vector<double> seconds(decoders->size(), 0.0);
  for (auto _ : state) {
    for (std::size_t d = 0; d < decoders->size(); ++d) {
      const Decoder& decoder = (*decoders)[d];
      // Each decoder is timed on calls that follow a call of its own, as a
      // program inflates one picture after another: none pays for the heap
      // pages the decoder before it left to be given back to the system.
      Check(decoder.decode(*input), decoder.name.c_str());
      bool decoded = true;
      const double start = ProcessorSeconds();
      for (int call = 0; call < kTimedCalls; ++call) decoded = decoder.decode(*input) && decoded;
      const double elapsed = (ProcessorSeconds() - start) / kTimedCalls;
      Check(decoded, decoder.name.c_str());
      seconds[d] += elapsed;
      if (d == 0) state.SetIterationTime(elapsed);
    }
  }
  state.counters["MB_out"] = static_cast<double>(input->size) / 1e6;
  state.counters["KB_in"] = static_cast<double>(input->stream.size()) / 1e3;
  for (std::size_t d = 1; d < decoders->size(); ++d) {
    state.counters["ours/" + (*decoders)[d].name] = seconds[0] / seconds[d];
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input->size));
}

}  // namespace
}  // namespace zorv::bench

int main(int argc, char** argv) {
  using namespace zorv::bench;
  benchmark::Initialize(&argc, argv);
  const std::vector<Input> inputs = MakeInputs();
  std::size_t largestOutput = 0;
  for (const Input& input : inputs) largestOutput = std::max(largestOutput, input.size);
  const std::vector<Decoder> decoders = MakeDecoders(largestOutput);
  for (const Input& input : inputs) {
    benchmark::RegisterBenchmark(("inflate/" + input.name).c_str(), BM_Inflate, &input, &decoders)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->MinTime(0.3);  // of our timed calls: a step calls each decoder 1 + kTimedCalls times
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
