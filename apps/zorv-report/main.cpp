// zorv-report: the viewer's report without a window. It runs the same start-up
// on the same command text, loads and activates the report as the window does,
// and writes the result to standard output.
#include <iostream>
#include <string>

#include "platform/program_folder.h"
#include "platform/regional_settings.h"
#include "platform/screen_metrics.h"
#include "report_options.h"
#include "report_output.h"
#include "startup/startup.h"
#include "window/report_form.h"

int main(int argc, char** argv) {
  const auto options = zorv::ParseReportOptions(argc, argv);
  if (!options) return 2;
  if (options->Help) {
    zorv::PrintReportHelp();
    return 0;
  }

  zorv::SharedState state;
  state.ProgramFolder = zorv::ProgramFolderOf(argc > 0 ? argv[0] : "");
  if (zorv::Main(state, options->CommandText) == zorv::StartupOutcome::SilentStop) return 1;

  zorv::ReportForm form(state, zorv::ScreenMetrics{}, zorv::UserRegionalSettings());
  form.Load();
  zorv::TextOnlyPictures pictures;
  form.Activate(pictures);

  std::cout << zorv::FormatReport(form.Report(), options->Format);
  std::cout.flush();
  return std::cout ? 0 : 1;
}
