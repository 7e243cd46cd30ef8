// A report the size the window handles: a few hundred kilobytes of formatted
// text and six pictures of a few megabytes of hex each, read and written back.
// The copy of the same bytes is the floor the reader and writer are held to.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>

#include "richtext/plain_text.h"
#include "richtext/rich_text_box.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"

namespace {

using namespace zorv::richtext;

// A picture group as the platform's control writes one: hex in lines of 128 digits.
std::string PictureGroup(std::size_t bytes, std::mt19937& random) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string group = "{\\pict\\wmetafile8\\picw26458\\pich19844\\picwgoal15000\\pichgoal11250 ";
  group.reserve(group.size() + bytes * 2 + bytes / 32 + 8);
  for (std::size_t i = 0; i < bytes; ++i) {
    if (i % 64 == 0) group += "\r\n";
    const auto byte = static_cast<unsigned char>(random());
    group += kDigits[byte >> 4];
    group += kDigits[byte & 15];
  }
  return group + "\r\n}";
}

std::string MakeReport(std::size_t pictureBytes) {
  std::mt19937 random(1);
  std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"
      "{\\colortbl ;\\red0\\green255\\blue0;}\\viewkind4\\uc1\\pard\\cf1\\b\\f0\\fs28 Ghosts'n Goblins\\par \\b0\\fs20 ";
  while (rtf.size() < 300'000) {
    rtf += "\\b - TRIVIA -\\b0 \\par Le h\\'e9ros, Sir Arthur, doit sauver la princesse {\\i Prin-Prin} ";
    rtf += "des griffes du d\\'e9mon \\u8364? Astaroth.\\tab Score : 10000\\par ";
  }
  for (int picture = 0; picture < 6; ++picture) rtf += PictureGroup(pictureBytes, random) + "\\par ";
  return rtf + "}";
}

// Six pictures of 0.5 MB (1 MB of hex) or of 1.5 MB (3 MB of hex) each.
const std::string& Report(std::int64_t pictureBytes) {
  static const std::string small = MakeReport(500'000);
  static const std::string large = MakeReport(1'500'000);
  return pictureBytes <= 500'000 ? small : large;
}

void CopyInput(benchmark::State& state) {
  const std::string& report = Report(state.range(0));
  std::string copy(report.size(), '\0');
  for (auto _ : state) {
    std::memcpy(copy.data(), report.data(), report.size());
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * report.size()));
}

void ReadReport(benchmark::State& state) {
  const std::string& report = Report(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(ReadRtf(report));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * report.size()));
}

void WriteReport(benchmark::State& state) {
  const Document document = ReadRtf(Report(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(WriteRtf(document));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Report(state.range(0)).size()));
}

// What the window does on loading: text in, length counted, all recoloured.
void LoadAndColourReport(benchmark::State& state) {
  for (auto _ : state) {
    RichTextBox box;
    box.SetTextRTF(Report(state.range(0)));
    box.SetSelStart(0);
    box.SetSelLength(box.TextLength());
    box.SetSelColor(0x00FF00);
    benchmark::DoNotOptimize(box.TextRTF());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Report(state.range(0)).size()));
}

BENCHMARK(CopyInput)->Arg(500'000)->Arg(1'500'000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadReport)->Arg(500'000)->Arg(1'500'000)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteReport)->Arg(500'000)->Arg(1'500'000)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadAndColourReport)->Arg(500'000)->Arg(1'500'000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
