#include "export_all.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

#include "export_assets.h"
#include "export_interrupt.h"
#include "export_log.h"
#include "export_names.h"
#include "headless_sheet.h"
#include "index_page.h"
#include "memory_budget.h"
#include "platform/progress_bar.h"
#include "platform/regional_settings.h"
#include "platform/run_time_error.h"
#include "platform/staged_file.h"
#include "program_front.h"
#include "report_output.h"
#include "standalone_page.h"
#include "startup/collection_files.h"
#include "startup/command_line.h"
#include "startup/error_log.h"
#include "startup/game_index.h"
#include "startup/startup.h"

namespace zorv {
namespace {
namespace fs = std::filesystem;

// What the games of an export may take at once for their pictures: 2 GiB, or
// half the machine's memory when that is less.
std::uint64_t PictureMemoryBudget() {
  constexpr std::uint64_t kBudget = std::uint64_t{2} << 30;
  const long pages = ::sysconf(_SC_PHYS_PAGES);
  const long pageSize = ::sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || pageSize <= 0) return kBudget;
  return std::min(kBudget, static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize) / 2);
}

// More jobs than processors only wait for one another, and take memory.
unsigned JobCount(unsigned asked) {
  const unsigned processors = std::max(1u, std::thread::hardware_concurrency());
  return asked == 0 ? processors : std::min(asked, processors);
}

const char* ExtensionOf(ReportFormat format) {
  switch (format) {
    case ReportFormat::Text: return ".txt";
    case ReportFormat::Html: return ".html";
    case ReportFormat::Rtf: break;
  }
  return ".rtf";
}

// The output folder, made when missing, as other tools do; a message on
// standard error when it cannot be made or written into. Temporary files an
// earlier export left when it was killed are removed.
bool PrepareOutputFolder(std::string_view program, const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error || !fs::is_directory(folder, error)) {
    Failure(program, "cannot make the output folder '" + folder.string() + "'" + (error ? ": " + error.message() : ""));
    return false;
  }
  try {
    StagedFile probe(folder / "probe");  // removed unwritten: no file of the user's is touched
  } catch (const RunTimeError&) {
    Failure(program, "cannot write into the output folder '" + folder.string() + "'");
    return false;
  }
  RemoveStaleTemporaries(folder);
  return true;
}

// Every game's page name and clones, for the links between pages.
std::unordered_map<std::string, GameLinks> LinksOf(const CollectionFiles& files, const std::vector<std::string>& names) {
  const std::vector<std::string>& roms = files.RomNames();
  std::unordered_map<std::string, GameLinks> links;
  for (std::size_t i = 0; i < roms.size(); ++i) links[roms[i]].fileName = names[i];
  for (const std::string& rom : roms) {
    std::string parent;
    try {
      parent = CloneOfField(files.FindRecord(rom + ";"));
    } catch (const std::exception&) {
      continue;  // a broken record: the game's own run says so
    }
    if (parent.empty() || parent == rom) continue;
    if (const auto found = links.find(parent); found != links.end()) found->second.clones.push_back(rom);
  }
  return links;
}

class Export {
 public:
  Export(const SharedState& configured, const CollectionFiles& files, const ReportOptions& options,
         const std::vector<std::string>& names, PageAssets& assets, FontMetrics& metrics, ExportLog& log)
      : configured_(configured), files_(files), options_(options), names_(names), assets_(assets),
        metrics_(metrics), log_(log), memory_(PictureMemoryBudget()), rows_(files.RomNames().size()) {}

  // Runs the games on `jobs` threads; the bar shows how many are done.
  void Run(unsigned jobs) {
    ProgressBar bar("Exporting", ProgressBar::StandardErrorIsTerminal());
    std::vector<std::jthread> workers;
    for (unsigned i = 0; i < jobs; ++i) workers.emplace_back([this] { Work(); });
    const std::uint64_t total = rows_.size();
    while (finishedWorkers_ < jobs) {
      bar.Update(done_, total);
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    bar.Update(done_, total);
    bar.Finish();
  }

  const std::vector<IndexPageRow>& Rows() const { return rows_; }
  std::size_t Written() const { return written_; }

 private:
  void Work() {
    const auto loader = MakePictureLoader();
    const RegionalSettings regional = UserRegionalSettings();
    for (std::size_t game; !ExportInterrupts::Requested() && (game = next_++) < rows_.size(); ++done_) {
      if (ExportGame(game, *loader, regional)) ++written_;
    }
    ++finishedWorkers_;
  }

  // What a run of zorv-report for this game makes, written to its own file.
  bool ExportGame(std::size_t game, PictureLoader& loader, const RegionalSettings& regional) {
    const std::string& rom = files_.RomNames()[game];
    IndexPageRow& row = rows_[game];
    row.Game = GameListEntry({.RomName = rom});
    SharedState state = configured_;
    state.Files = &files_;
    state.HeldLog.emplace();
    bool written = false;
    if (MainForGame(state, rom) == StartupOutcome::GameSheet) {
      row.Game = ListEntryOf(rom, state);
      row.Players = state.Players;
      try {
        if (names_[game].empty()) throw RunTimeError(ErrorCode::BadFileNameOrNumber);
        const HeadlessSheet sheet(state, regional, loader, LinksPictures(options_.Format), &memory_);
        WriteWholeFile(options_.OutputDir / names_[game], SheetOutput(sheet, options_.Format, assets_, metrics_));
        row.FileName = names_[game];
        written = true;
      } catch (const std::exception& failure) {
        LogError(state, 'G', ErrorNumberOf(failure));
      }
    }
    log_.Write(*state.HeldLog);
    return written;
  }

  const SharedState& configured_;
  const CollectionFiles& files_;
  const ReportOptions& options_;
  const std::vector<std::string>& names_;
  PageAssets& assets_;
  FontMetrics& metrics_;
  ExportLog& log_;
  MemoryBudget memory_;
  std::vector<IndexPageRow> rows_;
  std::atomic<std::size_t> next_{0};
  std::atomic<std::size_t> done_{0};
  std::atomic<std::size_t> written_{0};
  std::atomic<unsigned> finishedWorkers_{0};
};

// index.js and games.js, then index.html, which needs them.
bool WriteIndex(std::string_view program, const fs::path& folder, const std::vector<IndexPageRow>& rows,
                std::int32_t language) {
  try {
    WriteWholeFile(folder / "index.js", IndexScript());
    WriteWholeFile(folder / "games.js", IndexData(rows));
    WriteWholeFile(folder / "index.html", IndexPage(rows, language));
    return true;
  } catch (const RunTimeError& failure) {
    Failure(program, failure.what());
    return false;
  }
}

}  // namespace

int ExportAll(const ReportOptions& options, std::string_view program, const std::string& programFolder,
              FontMetrics& metrics) {
  if (!PrepareOutputFolder(program, options.OutputDir)) return kExitFailure;

  // The configuration, the index and the data files are read once, under the
  // export's one log header. The switches and keys are read for what they
  // show: the export writes nothing but its own files and the log.
  ExportLog log(programFolder);
  SharedState configured;
  configured.ProgramFolder = programFolder;
  configured.HeldLog.emplace();
  configured.WritesOnlyItsOutput = true;
  std::optional<CollectionFiles> files;
  try {
    LoadConfiguration(configured);
    TakeSwitches(configured, options.CommandText);
    files.emplace(configured);
  } catch (const std::exception& failure) {
    LogError(configured, 'B', ErrorNumberOf(failure));
  }
  log.Write(*configured.HeldLog);
  configured.HeldLog.reset();
  if (!files) {
    return Failure(program, "the configuration or the index cannot be read (see Zorv.Log.txt)");
  }
  if (files->IndexFile().empty()) {
    log.Write("Can't find the index. file. Please use Quorbis to create it. [END]\r\n");
    return Failure(program, "no index file (see Zorv.Log.txt)");
  }

  const bool html = options.Format == ReportFormat::Html;
  constexpr std::string_view kIndexName[] = {"index"};
  const std::vector<std::string> names =
      PageFileNames(files->RomNames(), ExtensionOf(options.Format), html ? kIndexName : std::span<const std::string_view>());
  std::optional<ExportAssets> exportAssets;
  StandalonePage unusedAssets;  // formats other than html have no assets
  try {
    if (html) exportAssets.emplace(options.OutputDir, LinksOf(*files, names));
  } catch (const RunTimeError& failure) {
    return Failure(program, failure.what());
  }

  ExportInterrupts interrupts;
  Export run(configured, *files, options, names, html ? static_cast<PageAssets&>(*exportAssets) : unusedAssets,
             metrics, log);
  run.Run(JobCount(options.Jobs));

  const bool interrupted = ExportInterrupts::Requested();
  bool complete = run.Written() == run.Rows().size() && !interrupted;
  if (html) {
    // The pages written so far need the rules they name, also after Ctrl-C.
    try {
      exportAssets->WriteStyleSheet();
    } catch (const RunTimeError& failure) {
      Failure(program, failure.what());
      complete = false;
    }
    if (exportAssets->PicturesNotWritten() > 0) {
      Failure(program, std::to_string(exportAssets->PicturesNotWritten()) + " pictures could not be written");
      complete = false;
    }
    if (!interrupted && !WriteIndex(program, options.OutputDir, run.Rows(), configured.Language)) complete = false;
  }
  std::cerr << program << ": " << run.Written() << " of " << run.Rows().size() << " reports written to "
            << options.OutputDir.string() << (interrupted ? " (interrupted)" : "")
            << (run.Written() < run.Rows().size() && !interrupted ? "; see Zorv.Log.txt for the others" : "")
            << '\n';
  interrupts.EndBySignal();
  return complete ? 0 : kExitFailure;
}

void PrintExportHelp() {
  std::cout <<
      "\n"
      "Beyond the original viewer, which shows one game at a time:\n"
      "  zorv-report --all --output-dir DIR [--format rtf|text|html] [--jobs N] [/SWITCH]...\n"
      "writes the sheet of every game of the index into DIR (made when missing), each\n"
      "  as 'zorv-report [--format F] ROMNAME [/SWITCH]...' makes it, named after its\n"
      "  ROM name (.rtf, .txt or .html; names that differ only by case are told apart\n"
      "  with ~2, ~3). With html, the pages share DIR/zorv.css, their pictures are\n"
      "  copied once into DIR/pictures/, and DIR/index.html lists every game, to\n"
      "  search, sort and filter, from any browser, offline. The index and data files\n"
      "  are read once; --jobs games run at once (at most, and by default, one per\n"
      "  processor), their pictures within 2 GiB of memory. The export writes nothing\n"
      "  outside DIR but its lines in Zorv.Log.txt: /defaultrtf uses the built-in\n"
      "  template without writing it, and no report is saved to SavePath. Every file\n"
      "  is written under a temporary name and renamed, so Ctrl-C leaves no\n"
      "  half-written file: the first stops the export after the files being written\n"
      "  (the index is written only by an export that ran to its end), a second ends\n"
      "  it at once. A game that fails gets its line in Zorv.Log.txt and the export\n"
      "  goes on. Exit status 0 when every game was written, 1 otherwise; the count\n"
      "  is written to standard error.\n"
      "\n"
      "Also beyond the original, in every run: a picture that is not in its folder\n"
      "is looked for in the archive named like the folder (snap.zip or snap.7z beside\n"
      "snap, or the configured path itself when it names a .zip or .7z), at its root\n"
      "or one folder down (a .zip's list of pictures is kept between runs in\n"
      "$XDG_CACHE_HOME/zorvane/archives, else ~/.cache/zorvane/archives); and a clone\n"
      "with no picture of a category shows its parent's.\n";
}

}  // namespace zorv
