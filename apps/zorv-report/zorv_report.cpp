// zorv-report: the viewer's report without a window. It runs the same start-up
// on the same command text, loads and activates the report as the window does,
// and writes the result to standard output; or, with --all, the sheet of every
// game of the index into a folder.
#include <malloc.h>

#include <iostream>
#include <string>

#include "collection_check.h"
#include "export_all.h"
#include "headless_sheet.h"
#include "platform/local_time_zone.h"
#include "platform/regional_settings.h"
#include "program_front.h"
#include "program_version.h"
#include "report_options.h"
#include "report_output.h"
#include "rom_path_arguments.h"
#include "standalone_page.h"
#include "startup/startup.h"
#include "stop_message.h"

int main(int argc, char** argv) {
  zorv::KeepLocalTimeZone();
  // Picture after picture, game after game, the decoder asks for buffers of the
  // same sizes: freed ones are kept for the next rather than handed back and
  // faulted in again page by page (a third of an export's time otherwise).
  // Buffers of 32 MiB and more still go back at once.
  ::mallopt(M_MMAP_THRESHOLD, 32 << 20);
  ::mallopt(M_TRIM_THRESHOLD, 128 << 20);
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
  // Only a page needs the window's fonts.
  zorv::PlainFontMetrics plainMetrics;
  const auto windowMetrics =
      options->Format == zorv::ReportFormat::Html ? zorv::MakeFontMetrics(argc, argv) : nullptr;
  zorv::FontMetrics& metrics = windowMetrics ? *windowMetrics : plainMetrics;
  if (options->All) return zorv::ExportAll(*options, program, collection->Path, metrics);

  zorv::SharedState state;
  state.ProgramFolder = collection->Path;
  const zorv::StopMessage stop(program, state.ProgramFolder);
  if (zorv::Main(state, options->CommandText) == zorv::StartupOutcome::SilentStop) {
    std::cerr << stop.Text() << '\n';
    return zorv::kExitFailure;
  }
  const auto loader = zorv::MakePictureLoader();
  const zorv::HeadlessSheet sheet(state, zorv::UserRegionalSettings(), *loader, zorv::LinksPictures(options->Format));
  zorv::StandalonePage assets;
  std::cout << zorv::SheetOutput(sheet, options->Format, assets, metrics);
  std::cout.flush();
  return std::cout ? 0 : zorv::kExitFailure;
}
