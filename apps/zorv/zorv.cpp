// zorv: the viewer. Start-up runs on the command text; when it stops silently
// (the failure is in the log) the program ends with status 1 and no window.
// Otherwise the one window shows the game's sheet, or the usage sheet, until
// Esc or "&" closes it.
#include <QApplication>
#include <chrono>
#include <optional>
#include <string>

#include "platform/program_folder.h"
#include "platform/qt/qt_screen_metrics.h"
#include "platform/regional_settings.h"
#include "startup/startup.h"
#include "startup_timing.h"
#include "window/qt/report_window.h"

namespace {

// The command text: the arguments after the program's name, joined by blanks.
std::string CommandText(int argc, char** argv) {
  std::string text;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) text += ' ';
    text += argv[i];
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  const auto started = std::chrono::steady_clock::now();
  zorv::SharedState state;
  state.ProgramFolder = zorv::ProgramFolderOf(argc > 0 ? argv[0] : "");
  if (zorv::Main(state, CommandText(argc, argv)) == zorv::StartupOutcome::SilentStop) return 1;

  // The command line is the user's: Qt sees none of it.
  char programName[] = "zorv";
  char* qtArgv[] = {argc > 0 ? argv[0] : programName, nullptr};
  int qtArgc = 1;
  QApplication app(qtArgc, qtArgv);
  zorv::ReportWindow window(state, zorv::PrimaryScreenMetrics(), zorv::UserRegionalSettings());
  window.Load();
  std::optional<zorv::StartupTiming> timing;
  if (zorv::StartupTiming::Wanted()) timing.emplace(window, started);
  window.show();
  return QApplication::exec();
}
