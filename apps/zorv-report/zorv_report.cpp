// zorv-report: the viewer's report without a window. It runs the same start-up
// on the same command text, loads and activates the report as the window does,
// and writes the result to standard output.
#include <iostream>
#include <string>

#include "export_all.h"
#include "platform/local_time_zone.h"
#include "platform/picture_object.h"
#include "platform/program_folder.h"
#include "platform/regional_settings.h"
#include "platform/screen_metrics.h"
#include "program_version.h"
#include "report_options.h"
#include "report_output.h"
#include "startup/startup.h"
#include "stop_message.h"
#include "window/report_form.h"
#include "window/report_pictures.h"

int main(int argc, char** argv) {
  zorv::KeepLocalTimeZone();
  const auto options = zorv::ParseReportOptions(argc, argv);
  if (!options) return 2;
  if (options->Help) {
    zorv::PrintReportHelp();
    zorv::PrintExportHelp();
    return 0;
  }
  if (options->Version) {
    std::cout << zorv::VersionText("zorv-report");
    return 0;
  }

  const std::string programFolder = zorv::ProgramFolderOf(argc > 0 ? argv[0] : "");
  if (options->All) return zorv::ExportAll(*options, programFolder);

  zorv::SharedState state;
  state.ProgramFolder = programFolder;
  const zorv::StopMessage stop(state.ProgramFolder);
  if (zorv::Main(state, options->CommandText) == zorv::StartupOutcome::SilentStop) {
    std::cerr << stop.Text() << '\n';
    return 1;
  }

  const zorv::ScreenMetrics screen;
  zorv::ReportForm form(state, screen, zorv::UserRegionalSettings());
  form.Load();
  // Without a window, what lies behind transparent pixels is the report's
  // background colour over the window's area.
  zorv::PlainColourPicture window(state.BackColor, static_cast<std::int32_t>(form.Layout().Width),
                                  static_cast<std::int32_t>(form.Layout().Height));
  const auto loader = zorv::MakePictureLoader();
  zorv::ReportPictures pictures(state, screen, *loader, window);
  form.Activate(pictures);

  std::cout << zorv::FormatReport(form.Report(), options->Format);
  std::cout.flush();
  return std::cout ? 0 : 1;
}
