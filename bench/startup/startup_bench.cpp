// Start-up to finished report text on a full-size collection: an index of
// 45,000 records with its 13 lists, a 40 MB history.dat and a 10 MB
// mameinfo.dat, for a game near the end of the index.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "platform/regional_settings.h"
#include "startup/startup.h"
#include "window/report_filling.h"
#include "window/report_template.h"

#include "support/prose.h"

namespace {

namespace fs = std::filesystem;

constexpr int kGames = 45'000;

std::string RomName(int i) { return "game" + std::to_string(i); }

using zorv::bench::Prose;

class Collection {
 public:
  Collection() : folder_(fs::temp_directory_path() / ("zorv-bench-" + std::to_string(::getpid()))) {
    fs::create_directories(folder_ / "datafiles");
    std::mt19937 random(7);
    std::ofstream history(folder_ / "datafiles" / "history.dat", std::ios::binary);
    std::ofstream mameinfo(folder_ / "datafiles" / "mameinfo.dat", std::ios::binary);
    std::ofstream index(folder_ / "datafiles" / "index", std::ios::binary);
    std::size_t historyAt = 1;
    std::size_t mameinfoAt = 1;
    for (int i = 0; i < kGames; ++i) {
      const std::string h = "$info=" + RomName(i) + ",\r\n$bio\r\n\r\n" + Prose(random, 880) +
                            "\r\n\r\n- TRIVIA -\r\n\r\n" + Prose(random, 40) + "\r\n$end\r\n\r\n";
      const std::string m = "$info=" + RomName(i) + "\r\n$mame\r\n0." + std::to_string(i % 250) + "\r\n\r\n" +
                            Prose(random, 180) + "\r\n$end\r\n\r\n";
      history << h;
      mameinfo << m;
      index << RomName(i) << ";BGame number " << i << ";S;C" << 1 + i % 900 << ";D" << 1 + i % 45 << ";E1;F"
            << 1 + i % 8 << ";G" << 1 + i % 30 << ";H" << 1 + i % 3 << ";I" << 1 + i % 40 << ";J" << 1 + i % 200
            << ";K" << 1 + i % 250 << ";M" << 1 + i % 1500 << ";N" << 1 + i % 1500 << ";O" << 1 + i % 12 << ";V"
            << 1 + i % 2 << ";R0;L#;P1;Q" << historyAt << "," << h.size() << ";U" << mameinfoAt << ","
            << m.size() << "*\r\n";
      historyAt += h.size();
      mameinfoAt += m.size();
    }
    const int listSizes[] = {900, 45, 2, 8, 30, 3, 40, 200, 250, 1500, 1500, 12, 2};
    const char* const headers[] = {"[Manufacturer]", "[Year]",     "[Orientation]", "[Buttons]",  "[Controls]",
                                   "[Status]",       "[Genre]",    "[Category]",    "[Version]",  "[Source]",
                                   "[Driver]",       "[Players]",  "[Savestate]"};
    for (int list = 0; list < 13; ++list) {
      index << headers[list] << "\r\n";
      for (int line = 1; line <= listSizes[list]; ++line) index << headers[list] + 1 << ' ' << line << "\r\n";
    }
  }
  ~Collection() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  std::string Folder() const { return folder_.string(); }

 private:
  fs::path folder_;
};

void StartupToReportText(benchmark::State& run) {
  static const Collection collection;
  const std::string rom = RomName(kGames - 10);
  const zorv::RegionalSettings regional = zorv::UserRegionalSettings();
  std::size_t reportBytes = 0;
  for (auto _ : run) {
    zorv::SharedState state;
    state.ProgramFolder = collection.Folder();
    if (zorv::Main(state, rom) != zorv::StartupOutcome::GameSheet) run.SkipWithError("game not found");
    state.FontName = "Arial";
    state.FontSize = 20;
    const std::string report = zorv::FillReportText(zorv::GetReportTemplate(state), state, regional);
    reportBytes = report.size();
    benchmark::DoNotOptimize(report.data());
  }
  run.counters["report_bytes"] = static_cast<double>(reportBytes);
  const auto megabytes = [&](const char* name) {
    return static_cast<double>(fs::file_size(fs::path(collection.Folder()) / "datafiles" / name)) / 1e6;
  };
  run.counters["index_MB"] = megabytes("index");
  run.counters["history_MB"] = megabytes("history.dat");
  run.counters["mameinfo_MB"] = megabytes("mameinfo.dat");
}
BENCHMARK(StartupToReportText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
