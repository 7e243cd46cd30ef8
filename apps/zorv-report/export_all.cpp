#include "export_all.h"

#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "export_index_page.h"
#include "platform/picture_object.h"
#include "platform/program_folder.h"
#include "platform/progress_bar.h"
#include "platform/regional_settings.h"
#include "platform/run_time_error.h"
#include "platform/screen_metrics.h"
#include "platform/staged_file.h"
#include "report_output.h"
#include "startup/collection_files.h"
#include "startup/configuration.h"
#include "startup/error_log.h"
#include "startup/startup.h"
#include "window/report_form.h"
#include "window/report_pictures.h"

namespace zorv {
namespace {
namespace fs = std::filesystem;

// Set by Ctrl-C: no game is started after it, and a file being written is
// either finished and renamed or removed.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnInterrupt(int signal) {
  interrupted = true;
  std::signal(signal, SIG_DFL);  // a second Ctrl-C ends the program at once
}

const char* ExtensionOf(ReportFormat format) {
  switch (format) {
    case ReportFormat::Text: return ".txt";
    case ReportFormat::Html: return ".html";
    case ReportFormat::Rtf: break;
  }
  return ".rtf";
}

// Writes under a temporary name in the same folder and renames, so a report is
// either whole or absent.
bool WriteReplacing(const fs::path& target, const std::string& bytes) {
  try {
    WriteWholeFile(target, bytes);
    return true;
  } catch (const RunTimeError&) {
    return false;
  }
}

// A ROM name that is a plain file name: nothing that would leave the folder.
bool IsPlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos &&
         name.find('\0') == std::string::npos;
}

// Every game's held lines go to the log as one block, under the one run header
// of the export.
class ExportLog {
 public:
  explicit ExportLog(SharedState& logState) : state_(logState) {}

  void Write(const std::string& held) {
    if (held.empty()) return;
    std::lock_guard lock(mutex_);
    for (std::size_t start = 0; start < held.size();) {
      const std::size_t end = held.find("\r\n", start);
      try {
        WriteLog(state_, std::string_view(held).substr(start, end - start));
      } catch (const std::exception&) {
        // A log that cannot be written is not reported anywhere else.
      }
      start = end + 2;
    }
  }

 private:
  std::mutex mutex_;
  SharedState& state_;
};

class Export {
 public:
  Export(const SharedState& configured, const CollectionFiles& files, const ReportOptions& options, ExportLog& log)
      : configured_(configured),
        files_(files),
        options_(options),
        switches_(options.CommandText.empty() ? "" : " " + options.CommandText),
        log_(log),
        rows_(files.RomNames().size()) {}

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
    for (std::size_t game; !interrupted && (game = next_++) < rows_.size(); ++done_) {
      if (ExportGame(files_.RomNames()[game], rows_[game], *loader, regional)) ++written_;
    }
    ++finishedWorkers_;
  }

  // What a run of zorv-report for this game does, written to its own file.
  bool ExportGame(const std::string& rom, IndexPageRow& row, PictureLoader& loader, const RegionalSettings& regional) {
    SharedState state = configured_;
    state.Files = &files_;
    state.HeldLog.emplace();
    row.RomName = rom;
    bool written = false;
    if (MainForGame(state, rom + switches_) == StartupOutcome::GameSheet) {
      row.Title = state.GameTitle;
      row.Year = state.Year;
      row.Manufacturer = state.Manufacturer;
      const ScreenMetrics screen;
      ReportForm form(state, screen, regional);
      form.Load();
      PlainColourPicture window(state.BackColor, static_cast<std::int32_t>(form.Layout().Width),
                                static_cast<std::int32_t>(form.Layout().Height));
      ReportPictures pictures(state, screen, loader, window);
      form.Activate(pictures);
      row.FileName = rom + ExtensionOf(options_.Format);
      written = IsPlainFileName(rom) &&
                WriteReplacing(options_.OutputDir / row.FileName, FormatReport(form.Report(), options_.Format));
      if (!written) {
        LogError(state, 'G', static_cast<int>(ErrorCode::PathFileAccess));
        row.FileName.clear();
      }
    }
    log_.Write(*state.HeldLog);
    return written;
  }

  const SharedState& configured_;
  const CollectionFiles& files_;
  const ReportOptions& options_;
  const std::string switches_;  // put after each ROM name
  ExportLog& log_;
  std::vector<IndexPageRow> rows_;
  std::atomic<std::size_t> next_{0};
  std::atomic<std::size_t> done_{0};
  std::atomic<std::size_t> written_{0};
  std::atomic<unsigned> finishedWorkers_{0};
};

// A folder the reports can be written into; a message on standard error when not.
bool CheckOutputDir(const fs::path& folder) {
  std::error_code error;
  if (!fs::is_directory(folder, error)) {
    std::cerr << "zorv-report: the output folder '" << folder.string() << "' does not exist\n";
    return false;
  }
  if (!WriteReplacing(folder / ".zorv-report-probe", {}) || !fs::remove(folder / ".zorv-report-probe", error)) {
    std::cerr << "zorv-report: cannot write into the output folder '" << folder.string() << "'\n";
    return false;
  }
  return true;
}

}  // namespace

int ExportAll(const ReportOptions& options, const std::string& programFolder) {
  if (!CheckOutputDir(options.OutputDir)) return 1;

  // The configuration, the index and the data files are read once, under the
  // export's one log header, as a single run reads them.
  SharedState configured;
  configured.ProgramFolder = programFolder;
  SharedState logState = configured;
  ExportLog log(logState);
  std::optional<CollectionFiles> files;
  configured.HeldLog.emplace();
  try {
    configured.Language = -1;
    LoadSiblingConfig(configured);
    LoadConfig(configured);
    if (configured.Language == -1) configured.Language = 1;
    files.emplace(configured);
  } catch (const std::exception& failure) {
    LogError(configured, 'B', ErrorNumberOf(failure));
  }
  log.Write(*configured.HeldLog);
  configured.HeldLog.reset();
  if (!files) {
    std::cerr << "zorv-report: the configuration or the index cannot be read (see Zorv.Log.txt)\n";
    return 1;
  }
  if (files->IndexFile().empty()) {
    log.Write("Can't find the index. file. Please use Quorbis to create it. [END]\r\n");
    std::cerr << "zorv-report: no index file (see Zorv.Log.txt)\n";
    return 1;
  }

  std::signal(SIGINT, OnInterrupt);
  std::signal(SIGTERM, OnInterrupt);
  Export run(configured, *files, options, log);
  run.Run(options.Jobs != 0 ? options.Jobs : std::max(1u, std::thread::hardware_concurrency()));
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);

  bool complete = run.Written() == run.Rows().size() && !interrupted;
  if (options.Format == ReportFormat::Html && !interrupted &&
      !WriteReplacing(options.OutputDir / "index.html", IndexPage(run.Rows()))) {
    std::cerr << "zorv-report: cannot write index.html\n";
    complete = false;
  }
  std::cerr << "zorv-report: " << run.Written() << " of " << run.Rows().size() << " reports written to "
            << options.OutputDir.string() << (interrupted ? " (interrupted)" : "")
            << (run.Written() < run.Rows().size() && !interrupted ? "; see Zorv.Log.txt for the others" : "")
            << '\n';
  return complete ? 0 : 1;
}

void PrintExportHelp() {
  std::cout <<
      "\n"
      "Beyond the original viewer, which shows one game at a time:\n"
      "  zorv-report --all --output-dir DIR [--format rtf|text|html] [--jobs N] [/SWITCH]...\n"
      "writes the report of every game of the index into DIR as ROMNAME.rtf, .txt or\n"
      "  .html, each the same as 'zorv-report [--format F] ROMNAME [/SWITCH]...' writes;\n"
      "  with html also index.html, a table of every game linking to its page. The\n"
      "  index and data files are read once; --jobs games run at once (default: one\n"
      "  per processor). Each file is written under a temporary name and renamed, so\n"
      "  Ctrl-C leaves no half-written report. A game that fails gets its line in\n"
      "  Zorv.Log.txt and the export goes on; the log gets one header for the export.\n"
      "  Exit status 0 when every game was written, 1 otherwise; the count is written\n"
      "  to standard error.\n"
      "\n"
      "Also beyond the original, in every run: a picture that is not in its folder\n"
      "is looked for in the archive named like the folder (snap.zip or snap.7z beside\n"
      "snap, or the configured path itself when it names a .zip or .7z), at its root\n"
      "or one folder down (a .zip's list of pictures is kept between runs in\n"
      "$XDG_CACHE_HOME/zorvane/archives, else ~/.cache/zorvane/archives); and a clone\n"
      "with no picture of a category shows its parent's.\n";
}

}  // namespace zorv
