// zorv-report: the viewer's report without a window. It runs the same start-up
// on the same command text, loads and activates the report as the window does,
// and writes the result to standard output.
#include <iostream>
#include <string>

#include "collection_check.h"
#include "export_all.h"
#include "platform/local_time_zone.h"
#include "platform/picture_object.h"
#include "platform/regional_settings.h"
#include "platform/screen_metrics.h"
#include "program_front.h"
#include "program_version.h"
#include "report_options.h"
#include "report_output.h"
#include "rom_path_arguments.h"
#include "startup/startup.h"
#include "stop_message.h"
#include "window/report_form.h"
#include "window/report_pictures.h"

int main(int argc, char** argv) {
  zorv::KeepLocalTimeZone();
  const char* invoked = argc > 0 ? argv[0] : nullptr;
  const std::string program = zorv::ProgramName(invoked, "zorv-report");
  auto options = zorv::ParseReportOptions(argc, argv, program);
  if (!options) return zorv::kExitUsage;
  if (options->Help) {
    zorv::PrintReportHelp();
    zorv::PrintExportHelp();
    return 0;
  }
  if (options->Version) {
    std::cout << zorv::VersionText("zorv-report");
    return 0;
  }
  if (options->Check) return zorv::CheckCollection(zorv::ChooseCollectionFolder(invoked ? invoked : ""), std::cout);
  try {
    options->CommandText = zorv::CommandTextOf(zorv::TakeRomPaths(options->Words));
  } catch (const std::exception& failure) {
    return zorv::Failure(program, failure.what());
  }

  const auto collection = zorv::UseCollectionFolder(invoked, program);
  if (!collection) return zorv::kExitFailure;
  if (options->All) return zorv::ExportAll(*options, collection->Path);

  zorv::SharedState state;
  state.ProgramFolder = collection->Path;
  const zorv::StopMessage stop(program, state.ProgramFolder);
  if (zorv::Main(state, options->CommandText) == zorv::StartupOutcome::SilentStop) {
    std::cerr << stop.Text() << '\n';
    return zorv::kExitFailure;
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
  return std::cout ? 0 : zorv::kExitFailure;
}
