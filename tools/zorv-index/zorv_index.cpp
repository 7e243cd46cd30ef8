// zorv-index: writes the viewer's game index from the collector's own files.
#include <cstdio>
#include <exception>
#include <string_view>
#include <vector>

#include "index_builder.h"
#include "index_options.h"
#include "program_version.h"
#include "platform/progress_bar.h"
#include "platform/staged_file.h"

int main(int argc, char** argv) {
  using namespace zorv::index;
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  CommandLine command;
  try {
    command = ParseCommandLine(arguments);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "zorv-index: %s\nTry \"zorv-index --help\".\n", failure.what());
    return 1;
  }
  try {
    if (command.showHelp) {
      std::fputs(HelpText().c_str(), stdout);
      return 0;
    }
    if (command.showVersion) {
      std::fputs(zorv::VersionText("zorv-index").c_str(), stdout);
      return 0;
    }
    command.options.showProgress = zorv::ProgressBar::StandardErrorIsTerminal();
    zorv::RemoveTemporariesOnInterrupt();
    const IndexSummary summary = BuildIndex(command.options);
    for (const auto& warning : summary.warnings) std::fprintf(stderr, "zorv-index: warning: %s\n", warning.c_str());
    for (const auto& written : summary.dataFilesWritten) std::fprintf(stderr, "zorv-index: wrote %s\n", written.c_str());
    std::fprintf(stderr, "zorv-index: %zu games written to %s (%zu with history, %zu with mameinfo, %zu ROM sets present; %zu other machines passed over)\n",
                 summary.games, command.options.output.c_str(), summary.withHistory, summary.withMameinfo,
                 summary.withRomSet, summary.machinesPassedOver);
    return 0;
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "zorv-index: %s\n", failure.what());
    return 1;
  }
}
